#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "saved/SearchesFile.h"
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
    // The verbs' options: watch --once, and the searches file and history other than the usual.
    bool once = false;
    std::string searchesFile{};
    std::string historyFile{};
    std::string htmlFile{};  // history --html: the history page
    bool notify = true;      // watch --no-notify: no desktop notifications
};

struct CommandLine {
    enum class Action { OpenWindow, Search, Watch, History, ShowHelp, ShowVersion, Refuse };
    Action action = Action::OpenWindow;
    SearchRequest search;
    std::string error;               // for Refuse: one line that names the option
    std::vector<std::string> names;  // for Watch and History: the saved searches named
};

// A saved search as the command line would run it.
struct NamedSearch {
    std::string name;
    SearchRequest search;
    std::uint32_t everyMinutes = 60;
    bool notify = true;
};

// True when the arguments ask for anything but the window: an option with two dashes, or a verb
// (watch, history) first (Qt's own single-dash options, such as -platform, are the window's).
bool WantsCommandLine(std::span<const std::string> arguments);

// Checks every option before anything runs.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

// The saved searches of a searches file as the command line's requests: each key is read and
// checked as its option is (category as --category, min-bids as --min-bids, ...), and each search
// is one search with the options that go with it. Adds a fault for each key that is not so.
std::vector<NamedSearch> SavedSearchRequests(const SearchesFile& file,
                                             std::vector<FileFault>& faults);

// The options; with the names of the categories, or a pointer to --help for them.
std::string Usage(bool withCategories);

}  // namespace vendra
