#include <QApplication>
#include <QStyleFactory>

#include "app/WindowLogic.h"
#include "gui/MainWindow.h"
#include "platform/StdTextFiles.h"
#include "platform/qt/QtAppIdentity.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtUrlFetch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Names the per-user folder that stands in when the program's folder is not writable.
    QApplication::setApplicationName("Vendra");
    QApplication::setDesktopFileName("vendra");
    // One style on every desktop, so that the window's colours are drawn as set.
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    vendra::QtAppIdentity identity;
    vendra::MainWindow window(identity);
    vendra::QtEventYield yield;
    vendra::QtMessageBox messages(window, identity.title());
    vendra::QtUrlFetch fetch;
    vendra::StdTextFiles files;
    vendra::QtShell shell;
    vendra::QtLocaleInfo locale;
    vendra::Platform platform{window, yield, messages, fetch, files, shell, identity, locale};

    vendra::WindowLogic logic(platform);
    window.attach(logic);
    logic.load();
    window.show();
    return QApplication::exec();
}
