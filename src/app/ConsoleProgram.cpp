#include "app/ConsoleProgram.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <iostream>

#include "app/ProgramName.h"
#include "cli/ConsoleSearch.h"
#include "cli/TerminalProgress.h"
#include "platform/qt/Interrupts.h"
#include "platform/qt/QtAppIdentity.h"

namespace vendra {
namespace {

// Standard error as the search shows itself there: a progress line on a terminal, else lines.
std::unique_ptr<ConsoleOutput> StandardErrorOutput() {
    const TerminalTraits terminal = DescribeTerminal(STDERR_FILENO);
    if (!terminal.redraws) return std::make_unique<LineOutput>(std::cerr);
    return std::make_unique<TerminalProgress>(
        std::cerr, [] { return TerminalColumns(STDERR_FILENO); }, terminal.colour,
        [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
        });
}

}  // namespace

ConsoleProgram::ConsoleProgram(AppIdentity& identity, const SearchRequest& request,
                               std::optional<EarlierLinks> earlier)
    : console(StandardErrorOutput(), request.open ? &desktop : nullptr),
      data(files, request.dataFile, std::move(earlier)),
      platform{console.controls, yield,    console.messages, fetch, files,
               console.shell,    identity, locale,           lock},
      controller(platform,
                 {console.output->progressView(),
                  request.dataFile.empty() && request.sinceFile.empty() ? nullptr : &data}) {
    // A page asked for again says so, with what it waits for.
    fetch.observe(&retryNotices);
}

int RunConsole(int argc, char** argv, const SearchRequest& request) {
    // An earlier run's file that cannot be read is a bad option: nothing is fetched or deleted.
    std::optional<EarlierLinks> earlier;
    if (!request.sinceFile.empty()) {
        StdTextFiles files;
        earlier = ReadEarlierLinks(files, request.sinceFile);
        if (!earlier->ok()) {
            std::cerr << "vendra: --since: " << earlier->error << "\n";
            return kExitBadOptions;
        }
    }
    QCoreApplication app(argc, argv);
    NameTheProgram();

    QtAppIdentity identity;
    ConsoleProgram program(identity, request, std::move(earlier));
    // Ctrl+C once is See Incomplete Results, twice is Stop Search, which also abandons the page
    // in flight; a third one ends the program at once.
    const Interrupts interrupts([&](int count) {
        if (count == 1) {
            program.console.messages.showMessage(
                "Ending the walk after the listings in hand; Ctrl+C again stops the search.");
            program.controller.seeIncompleteResults();
        }
        if (count < 2) return;
        std::signal(SIGINT, SIG_DFL);
        program.controller.stopSearch();
    });
    const bool exported = !request.dataFile.empty() || !request.sinceFile.empty();
    return RunConsoleSearch(request, program.controller, program.console,
                            exported ? &program.data : nullptr, std::cout, std::cerr);
}

}  // namespace vendra
