#include "app/DesktopProgram.h"

#include <QApplication>

#include "Version.h"
#include "app/ProgramName.h"
#include "gui/TitleBar.h"
#include "gui/WindowStyle.h"
#include "platform/qt/QtAppIdentity.h"

namespace vendra {

DesktopProgram::DesktopProgram(AppIdentity& identity)
    : window(identity),
      messages(window, identity.title(), [](QWidget& box) { AddOwnTitleBar(box, false); }),
      platform{window, yield, messages, fetch, files, shell, identity, locale, lock},
      controller(platform) {
    // While a page loads, every click waits for the walk's yield but the stop button's, which
    // abandons the page at once, and those on a title bar of the program's own, as the desktop's
    // frame would take them at once. While a page waits to be asked for again, See Incomplete
    // Results ends the wait at once too.
    networkWait.letThrough(
        [this](const QObject* object) {
            return window.isStopButton(object) || IsOnTitleBar(object);
        },
        [this](const QObject* object) {
            return window.isStopButton(object) || window.isIncompleteButton(object) ||
                   IsOnTitleBar(object);
        });
    window.attach(controller);
    controller.load();
}

int RunDesktop(int argc, char** argv) {
    QApplication app(argc, argv);
    NameTheProgram();
    QApplication::setDesktopFileName(build::kAppId);
    QApplication::setStyle(CreateWindowStyle());

    QtAppIdentity identity;
    DesktopProgram program(identity);
    program.window.show();
    return QApplication::exec();
}

}  // namespace vendra
