#pragma once

#include <QString>
#include <functional>

#include "platform/AppIdentity.h"

namespace vendra {

// The program's title and version as built, and its application folder: the program's own
// folder when it is writable, otherwise one per-user folder that then holds all three files.
class QtAppIdentity : public AppIdentity {
  public:
    using WritableTest = std::function<bool(const QString& folder)>;

    // The executable's folder, and the standard per-user data folder of this application.
    QtAppIdentity();
    QtAppIdentity(QString programFolder, QString perUserFolder,
                  WritableTest writable = IsWritableFolder);

    std::string folder() const override;
    std::string title() const override;
    Version version() const override;

    static bool IsWritableFolder(const QString& folder);

  private:
    // The help page lies beside the program; a per-user folder gets its own copy, renewed
    // whenever the program's copy changes, so that "Instructions" opens in both layouts.
    void CopyInstructions() const;

    QString programFolder_;
    QString perUserFolder_;
    WritableTest writable_;
};

}  // namespace vendra
