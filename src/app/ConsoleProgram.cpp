#include "app/ConsoleProgram.h"

#include <csignal>
#include <iostream>

#include "app/ProgramName.h"
#include "cli/ConsoleSearch.h"
#include "platform/qt/Interrupts.h"
#include "platform/qt/QtAppIdentity.h"

namespace vendra {

ConsoleProgram::ConsoleProgram(AppIdentity& identity, const SearchRequest& request)
    : console(std::cerr, request.open ? &desktop : nullptr),
      platform{console.controls, yield,    console.messages, fetch, files,
               console.shell,    identity, locale,           lock},
      controller(platform) {}

int RunConsole(int argc, char** argv, const SearchRequest& request) {
    QCoreApplication app(argc, argv);
    NameTheProgram();

    QtAppIdentity identity;
    ConsoleProgram program(identity, request);
    // Ctrl+C once is See Incomplete Results, twice is Stop Search, which also abandons the page
    // in flight; a third one ends the program at once.
    const Interrupts interrupts([&](int count) {
        if (count == 1) {
            std::cerr
                << "Ending the walk after the listings in hand; Ctrl+C again stops the search."
                << std::endl;
            program.controller.seeIncompleteResults();
        }
        if (count < 2) return;
        std::signal(SIGINT, SIG_DFL);
        program.controller.stopSearch();
    });
    return RunConsoleSearch(request, program.controller, program.console, std::cout, std::cerr);
}

}  // namespace vendra
