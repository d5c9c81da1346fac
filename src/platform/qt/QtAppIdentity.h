#pragma once

#include <QString>
#include <functional>

#include "platform/AppIdentity.h"

namespace vendra {

// The program's title and version as built, and its application folder: the program's own
// folder when it is writable, otherwise one per-user folder that then holds all three files. An
// installed program always takes the per-user folder: run by root it could write its own folder
// (/usr/bin), whose files belong to the package system.
class QtAppIdentity : public AppIdentity {
  public:
    using WritableTest = std::function<bool(const QString& folder)>;

    // The executable's folder, and the standard per-user data folder of this application.
    QtAppIdentity();
    QtAppIdentity(QString programFolder, QString perUserFolder,
                  WritableTest writable = IsWritableFolder);

    std::string prepareFolder() override;
    std::string title() const override;
    Version version() const override;

    static bool IsWritableFolder(const QString& folder);

  private:
    // Where an installed program's help page lies, and whether this program is one: its help
    // page lies there and not beside it.
    QString InstalledHelpPage() const;
    bool Installed() const;
    // The help page that comes with the program: beside it, or in the installed data folder.
    QString HelpPage() const;
    // An application folder without the help page beside it (the per-user folder, or the folder
    // of an installed program) gets its own copy, renewed whenever the program's copy changes,
    // so that "Instructions" opens in every layout.
    void CopyInstructions(const QString& folder) const;

    QString programFolder_;
    QString perUserFolder_;
    WritableTest writable_;
};

}  // namespace vendra
