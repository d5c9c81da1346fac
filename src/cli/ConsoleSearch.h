#pragma once

#include <ostream>

#include "cli/CommandLine.h"
#include "cli/ConsoleOutput.h"
#include "cli/DataExport.h"
#include "platform/Shell.h"
#include "run/SearchRun.h"

namespace vendra {

// Exit statuses of a search run from the command line.
inline constexpr int kExitResultsWritten = 0;
inline constexpr int kExitNoResults = 1;
inline constexpr int kExitBadOptions = 2;
inline constexpr int kExitStopped = 130;

// What a search from the command line uses: the search's own ports, where it shows its
// progress, and the desktop that opens the results page (none: not opened).
struct ConsolePorts {
    RunPorts run;
    ConsoleOutput& output;
    Shell* desktop = nullptr;
};

// Runs searches the command line asks for, and turns how each ended into lines and an exit
// status. Ctrl+C reaches the running search through interrupt().
class ConsoleSearch {
  public:
    ConsoleSearch(const ConsolePorts& ports, std::ostream& out, std::ostream& err)
        : ports_(ports), out_(out), err_(err) {}

    // Prints the results page's path on `out`, or says on `err` why there is none; with `data`,
    // also how many listings are new, or why the data file could not be written. Returns the
    // exit status.
    int run(const SearchRequest& request, DataExport* data = nullptr);

    // How a search run in a folder of its own ended: its outcome, the exit status it gives, and
    // whether Ctrl+C cut its walk short.
    struct Ended {
        SearchOutcome outcome;
        int status = kExitNoResults;
        bool cutShort = false;
    };
    // Runs the search with its working files, lock and results page in `folder`, and says on
    // `err` how it ended, as run() does, without the results page's path.
    Ended runIn(const SearchRequest& request, const std::string& folder, bool keepRows);

    // Ctrl+C, counted afresh for every search: the first ends the walk after the listings in
    // hand (See Incomplete Results), the second stops the search. Returns the count so far.
    int interrupt();
    // Stops the search in flight at once, with no word of Ctrl+C: the watch ends with it.
    void stop();

  private:
    ConsolePorts ports_;
    std::ostream& out_;
    std::ostream& err_;
    SearchRun* running_ = nullptr;
    int interrupts_ = 0;
};

}  // namespace vendra
