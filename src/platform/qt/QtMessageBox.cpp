#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>
#include <utility>

namespace vendra {

QtMessageBox::QtMessageBox(QWidget& owner, const std::string& title, Dressing dressing)
    : owner_(owner), title_(QString::fromStdString(title)), dressing_(std::move(dressing)) {}

void QtMessageBox::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, QString::fromStdString(text), QMessageBox::Ok,
                    &owner_);
    box.setObjectName("messageBox");
    // A reason passed on from the network may hold "<"; it is shown as it is.
    box.setTextFormat(Qt::PlainText);
    if (dressing_) dressing_(box);
    box.exec();
}

}  // namespace vendra
