#include <QApplication>
#include <QCoreApplication>
#include <csignal>
#include <iostream>

#include "Version.h"
#include "controller/SearchController.h"
#include "cli/ConsoleSearch.h"
#include "gui/MainWindow.h"
#include "gui/WindowStyle.h"
#include "platform/StdTextFiles.h"
#include "platform/qt/Interrupts.h"
#include "platform/qt/QtAppIdentity.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtSearchLock.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtUrlFetch.h"
#include "platform/qt/XdgOpenShell.h"

namespace {

void NameTheApplication() {
    // Names the per-user folder that stands in when the program's folder is not writable.
    QCoreApplication::setApplicationName("Vendra");
}

int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    NameTheApplication();
    QApplication::setDesktopFileName("vendra");
    QApplication::setStyle(vendra::CreateWindowStyle());

    vendra::QtAppIdentity identity;
    vendra::MainWindow window(identity);
    vendra::QtEventYield yield;
    vendra::QtMessageBox messages(window, identity.title());
    vendra::QtUrlFetch fetch;
    fetch.letThrough([&window](const QObject* object) { return window.isStopButton(object); });
    vendra::StdTextFiles files;
    vendra::QtShell shell;
    vendra::QtLocaleInfo locale;
    vendra::QtSearchLock lock;
    vendra::Platform platform{window, yield, messages, fetch, files, shell, identity, locale, lock};

    vendra::SearchController logic(platform);
    window.attach(logic);
    logic.load();
    window.show();
    return QApplication::exec();
}

// A search from the command line: the window's logic over console ports, with no window system.
int RunConsole(int argc, char** argv, const vendra::SearchRequest& request) {
    QCoreApplication app(argc, argv);
    NameTheApplication();

    vendra::QtAppIdentity identity;
    vendra::ConsoleControls controls(std::cerr);
    vendra::QtEventYield yield;
    vendra::ConsoleMessages messages(std::cerr);
    vendra::QtUrlFetch fetch;
    vendra::StdTextFiles files;
    vendra::XdgOpenShell desktop;
    vendra::ConsoleShell shell(request.open ? &desktop : nullptr);
    vendra::QtLocaleInfo locale;
    vendra::QtSearchLock lock;
    vendra::Platform platform{controls, yield,    messages, fetch, files,
                              shell,    identity, locale,   lock};
    vendra::SearchController logic(platform);

    // Ctrl+C once is See Incomplete Results, twice is Stop Search, which also abandons the page
    // in flight; a third one ends the program at once.
    const vendra::Interrupts interrupts([&](int count) {
        if (count == 1) {
            std::cerr
                << "Ending the walk after the listings in hand; Ctrl+C again stops the search."
                << std::endl;
            logic.seeIncompleteResults();
        }
        if (count < 2) return;
        std::signal(SIGINT, SIG_DFL);
        logic.stopSearch();
    });
    return vendra::RunConsoleSearch(request, logic, controls, shell, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!vendra::WantsCommandLine(arguments)) return RunWindow(argc, argv);

    const vendra::CommandLine line = vendra::ParseCommandLine(arguments);
    switch (line.action) {
        case vendra::CommandLine::Action::Search:
            return RunConsole(argc, argv, line.search);
        case vendra::CommandLine::Action::ShowHelp:
            std::cout << vendra::Usage(true);
            return 0;
        case vendra::CommandLine::Action::ShowVersion:
            std::cout << "vendra " << vendra::build::kVersionMajor << "."
                      << vendra::build::kVersionMinor << "." << vendra::build::kVersionRevision
                      << "\n";
            return 0;
        case vendra::CommandLine::Action::Refuse:
            std::cerr << "vendra: " << line.error << "\n" << vendra::Usage(false);
            return vendra::kExitBadOptions;
        case vendra::CommandLine::Action::OpenWindow:
            break;
    }
    return RunWindow(argc, argv);
}
