#pragma once

#include <QString>
#include <functional>

#include "platform/MessageBox.h"

class QWidget;

namespace vendra {

// A modal box over the Main window: the text, one OK button, no icon, the program's title as
// caption.
class QtMessageBox : public MessageBox {
  public:
    // What the window adds to each box before it shows, such as a title bar of its own.
    using Dressing = std::function<void(QWidget& box)>;

    QtMessageBox(QWidget& owner, const std::string& title, Dressing dressing = {});
    void showMessage(const std::string& text) override;

  private:
    QWidget& owner_;
    QString title_;
    Dressing dressing_;
};

}  // namespace vendra
