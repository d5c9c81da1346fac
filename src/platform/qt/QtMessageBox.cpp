#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>

namespace vendra {

QtMessageBox::QtMessageBox(QWidget& owner, const std::string& title)
    : owner_(owner), title_(QString::fromStdString(title)) {}

void QtMessageBox::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, QString::fromStdString(text), QMessageBox::Ok,
                    &owner_);
    box.setObjectName("messageBox");
    // A reason passed on from the network may hold "<"; it is shown as it is.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vendra
