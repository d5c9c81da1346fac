#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ConsoleSearch.h"
#include "history/ListingStates.h"
#include "platform/HistoryStore.h"
#include "platform/Notifier.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"

namespace vendra {

// The saved searches of a searches file, or what is wrong with it: one line a fault,
// "FILE:LINE:COLUMN: what is wrong", in the file's order.
struct SavedSearches {
    std::vector<NamedSearch> searches;
    std::vector<std::string> faults;
};
SavedSearches ReadSavedSearches(std::string_view text, const std::string& path);
// The same from the file itself; a file that cannot be read is one fault.
SavedSearches ReadSavedSearchesFile(const std::string& path);

// The searches named, in the order named; all of them, in the file's order, when none is. An
// unknown name is a fault.
SavedSearches Chosen(const SavedSearches& saved, const std::vector<std::string>& names);

// vendra watch --once: runs each saved search once in a folder of its own, as the command line
// runs a search, records each run in the history, and prints one line for each on `out`.
class SavedWatch {
  public:
    using Clock = std::function<std::int64_t()>;  // seconds since the epoch, UTC
    // `folderOf` makes a saved search's folder ready and returns it.
    SavedWatch(ConsoleSearch& search, HistoryStore& history, std::ostream& out, std::ostream& err,
               std::function<std::string(const std::string&)> folderOf, Clock now);

    // Returns the exit status: 0 when every search wrote its results page and was recorded, 1
    // when one did not, 130 when Ctrl+C stopped one (the watch ends there).
    int runOnce(const std::vector<NamedSearch>& searches);

    // After a run with new or heating-up listings, one notification on `notifier`, in place of
    // the one before of the same search; its actions open the run's results page on `shell`.
    void notifyThrough(Notifier& notifier, Shell& shell);
    // Whether a run the user stopped goes into the history (it does unless told otherwise).
    void recordStopped(bool record) { recordStopped_ = record; }

  private:
    void tell(const NamedSearch& saved, const RunCounts& counts, const std::string& page);

    ConsoleSearch& search_;
    HistoryStore& history_;
    std::ostream& out_;
    std::ostream& err_;
    std::function<std::string(const std::string&)> folderOf_;
    Clock now_;
    Notifier* notifier_ = nullptr;
    Shell* shell_ = nullptr;
    bool saidNoNotifier_ = false;
    bool recordStopped_ = true;
    std::map<std::string, std::uint32_t> shown_;   // a search's notification
    std::map<std::uint32_t, std::string> pageOf_;  // a notification's results page
};

// A notification's summary and body: "books: 2 new, 1 heating up", and a line for each listing
// of `news`, with "and N more" after them when there are more.
struct NewsNotice {
    std::string summary;
    std::string body;
};
NewsNotice NoticeOf(const std::string& name, const RunCounts& counts);

// vendra history NAME: every listing the saved search has kept and its state, as a table on
// `out` that fits 80 columns, or with `dataFile` as a data file. Returns the exit status.
int ShowHistory(HistoryStore& history, const std::string& name, const std::string& dataFile,
                TextFiles& files, std::ostream& out, std::ostream& err);

// vendra history NAME --html FILE: the history page of the saved search, with `minimumBids`
// marked when known; opened through `shell` when there is one. Returns the exit status.
int WriteHistoryPage(HistoryStore& history, const std::string& name, std::optional<int> minimumBids,
                     const std::string& htmlFile, TextFiles& files, Shell* shell,
                     std::ostream& err);

// The minimum number of bids of the saved search of that name, when it is among `saved`.
std::optional<int> MinimumBidsOf(const SavedSearches& saved, const std::string& name);

// An instant as ISO 8601 in UTC: "2026-12-07T20:15:00Z".
std::string IsoTime(std::int64_t secondsSinceEpoch);

}  // namespace vendra
