#pragma once

#include <ostream>

#include "cli/CommandLine.h"
#include "cli/ConsolePorts.h"
#include "cli/DataExport.h"
#include "controller/SearchController.h"

namespace vendra {

// Exit statuses of a search run from the command line.
inline constexpr int kExitResultsWritten = 0;
inline constexpr int kExitNoResults = 1;
inline constexpr int kExitBadOptions = 2;
inline constexpr int kExitStopped = 130;

// Runs the search through the window's own controller, as if the request had been typed into the
// window and its search button clicked. Prints the results page's path on `out`, or says on
// `err` why there is none; with `data`, also how many listings are new, or why the data file
// could not be written. Returns the exit status.
int RunConsoleSearch(const SearchRequest& request, SearchController& controller,
                     ConsolePorts& console, const DataExport* data, std::ostream& out,
                     std::ostream& err);

}  // namespace vendra
