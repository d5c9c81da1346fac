#include "platform/qt/XdgOpenShell.h"

#include <QProcess>

#include "platform/qt/QtShell.h"

namespace vendra {

void XdgOpenShell::open(const std::string& target) {
    QProcess::startDetached("xdg-open", {QtShell::UrlFor(target).toString()});
}

}  // namespace vendra
