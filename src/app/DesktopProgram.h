#pragma once

#include "controller/SearchController.h"
#include "gui/MainWindow.h"
#include "platform/PosixSearchLock.h"
#include "platform/RetryingFetch.h"
#include "platform/StdTextFiles.h"
#include "platform/curl/CurlFetch.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtNetworkWait.h"
#include "platform/qt/QtShell.h"

namespace vendra {

// The desktop program, wired once: the main window and the Qt implementation of every other
// port, with the search's controller over them, loaded and attached to the window. Needs a
// QApplication.
struct DesktopProgram {
    explicit DesktopProgram(AppIdentity& identity);

    MainWindow window;
    QtEventYield yield;
    QtMessageBox messages;
    QtNetworkWait networkWait;
    CurlFetch http{networkWait};
    RetryingFetch fetch{http, http};
    StdTextFiles files;
    QtShell shell;
    QtLocaleInfo locale;
    PosixSearchLock lock;
    Platform platform;
    SearchController controller;
};

// Runs the window until it is closed; returns the program's exit status.
int RunDesktop(int argc, char** argv);

}  // namespace vendra
