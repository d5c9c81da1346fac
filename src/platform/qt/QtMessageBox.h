#pragma once

#include <QString>

#include "platform/MessageBox.h"

class QWidget;

namespace vendra {

// A modal box over the Main window: the text, one OK button, no icon, the program's title as
// caption.
class QtMessageBox : public MessageBox {
  public:
    QtMessageBox(QWidget& owner, const std::string& title);
    void showMessage(const std::string& text) override;

  private:
    QWidget& owner_;
    QString title_;
};

}  // namespace vendra
