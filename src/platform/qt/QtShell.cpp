#include "platform/qt/QtShell.h"

#include <QDesktopServices>

namespace vendra {

QUrl QtShell::UrlFor(const std::string& target) {
    const QString text = QString::fromStdString(target);
    if (text.startsWith("http://") || text.startsWith("mailto:")) return QUrl(text);
    return QUrl::fromLocalFile(text);
}

void QtShell::open(const std::string& target) {
    // Nothing is reported when no application can open the target.
    QDesktopServices::openUrl(UrlFor(target));
}

}  // namespace vendra
