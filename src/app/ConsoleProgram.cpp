#include "app/ConsoleProgram.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <iostream>

#include "app/ProgramName.h"
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
    : output(StandardErrorOutput()),
      data(files, request.dataFile, std::move(earlier)),
      search({{fetch, yield, files, locale, lock, identity},
              *output,
              request.open ? &desktop : nullptr},
             std::cout, std::cerr) {}

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
    const Interrupts interrupts([&](int) {
        if (program.search.interrupt() >= 2) std::signal(SIGINT, SIG_DFL);
    });
    return program.search.run(request, &program.data);
}

}  // namespace vendra
