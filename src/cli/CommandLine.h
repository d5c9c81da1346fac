#pragma once

#include <span>
#include <string>
#include <string_view>

#include "search/SearchKind.h"

namespace vendra {

// A search as the command line asks for it: what the user would have typed and chosen in the
// window, as typed.
struct SearchRequest {
    SearchKind kind = SearchKind::None;
    std::string category{};  // --category
    std::string words{};     // --keywords, --completed
    int modeIndex = 0;       // --mode: the search mode list's index
    std::string excluded{};
    int categoryIndex = 0;  // --in: the category list's index
    std::string priceFrom{};
    std::string priceTo{};
    bool descriptions = false;
    std::string minimumBids = "0";
    bool open = false;        // hand the results page to the desktop
    std::string dataFile{};   // --data: the kept listings as CSV or JSON
    std::string sinceFile{};  // --since: an earlier run's data file
    int retries = 2;          // --retries: how often a page that failed for a while is asked again
};

struct CommandLine {
    enum class Action { OpenWindow, Search, ShowHelp, ShowVersion, Refuse };
    Action action = Action::OpenWindow;
    SearchRequest search;
    std::string error;  // for Refuse: one line that names the option
};

// True when the arguments ask for anything but the window (Qt's own single-dash options, such as
// -platform, are the window's).
bool WantsCommandLine(std::span<const std::string> arguments);

// Checks every option before anything runs.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

// The options; with the names of the categories, or a pointer to --help for them.
std::string Usage(bool withCategories);

}  // namespace vendra
