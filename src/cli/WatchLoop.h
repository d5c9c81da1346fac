#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/SavedWatch.h"

namespace vendra {

// When each saved search of a watch is due: `every` after its last run in the history, plus a
// random delay of up to a tenth of it so that runs do not fall on the same second day after day.
// What is overdue (after a restart, a suspended laptop) is due at once.
class WatchSchedule {
  public:
    // A random delay from 0 to `most` seconds.
    using Jitter = std::function<std::int64_t(std::int64_t most)>;
    explicit WatchSchedule(Jitter jitter);

    // Takes the searches to watch, at `now`. A search already watched with the same interval
    // keeps its time; any other is timed from its last run in `history`. Throws HistoryError.
    void watch(const std::vector<NamedSearch>& searches, HistoryStore& history, std::int64_t now);
    // The search due first (the file's order among those due together), and when.
    struct Due {
        NamedSearch search;
        std::int64_t at = 0;
    };
    std::optional<Due> next() const;
    // The search ran until `endedAt`.
    void ran(const std::string& name, std::int64_t endedAt);

  private:
    std::int64_t dueAfter(std::int64_t last, const NamedSearch& search, std::int64_t now);

    struct Entry {
        NamedSearch search;
        std::int64_t due = 0;
    };
    std::vector<Entry> entries_;
    Jitter jitter_;
};

// vendra watch: runs each saved search when it is due until it is stopped, reading the
// searches file again whenever it changes.
class WatchLoop {
  public:
    struct Seams {
        std::function<std::int64_t()> now;  // seconds since the epoch
        // Waits until the instant, or less; false once the watch is stopped.
        std::function<bool(std::int64_t until)> waitUntil;
        // The searches file, when it changed since the last call; nullopt when it did not.
        std::function<std::optional<SavedSearches>()> reread;
    };
    WatchLoop(SavedWatch& watch, HistoryStore& history, WatchSchedule& schedule, Seams seams,
              std::ostream& err);

    // Watches `saved` (the names chosen among them, all when none is) until stop(); returns
    // the status stop() gave.
    int run(SavedSearches saved, const std::vector<std::string>& names);
    // Ends the watch with `status`: the wait ends, a run in flight is the caller's to stop.
    void stop(int status);
    bool stopped() const { return status_.has_value(); }

    // How long a wait lasts at most before the searches file is looked at again, in seconds.
    static constexpr std::int64_t kLookEvery = 5;

  private:
    void take(const SavedSearches& saved, const std::vector<std::string>& names);

    SavedWatch& watch_;
    HistoryStore& history_;
    WatchSchedule& schedule_;
    Seams seams_;
    std::ostream& err_;
    std::optional<int> status_;
    std::vector<std::string> lastFaults_;
    std::optional<SavedSearches> untimed_;  // the searches the history could not time
};

}  // namespace vendra
