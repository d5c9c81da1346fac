#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vendra {

// A listing as a run kept it, known by its link.
struct KeptListing {
    std::string link;
    std::string title;
    std::string price;
    std::string ends;
    int bids = 0;
};

// How a run of a saved search ended, as the history keeps it.
enum class RunEnd {
    Finished,    // every page seen, results page written
    Incomplete,  // results page written, but pages or blocks were lost or the walk cut short
    NoResults,   // no results page: the site refused or could not be reached, ...
    Stopped,     // stopped by the user
};

// Whether a run that ended so wrote a results page, and so tells what its listings did.
inline bool WroteResults(RunEnd end) {
    return end == RunEnd::Finished || end == RunEnd::Incomplete;
}

// One run of a saved search, recorded whole when it has ended. Times are seconds since the
// epoch, UTC.
struct RunRecord {
    std::string search;
    std::int64_t started = 0;
    std::int64_t ended = 0;
    RunEnd end = RunEnd::Finished;
    std::uint64_t lostPages = 0;
    std::vector<KeptListing> listings;  // for a run with a results page
};

// A recorded run, as the history hands it back.
struct RunSummary {
    std::int64_t id = 0;  // increases with every run recorded
    std::int64_t started = 0;
    RunEnd end = RunEnd::Finished;
    std::int64_t ended = 0;
};

// One listing kept by one run, handed back during a read; the views hold until the next.
struct Observation {
    std::int64_t run = 0;
    std::int64_t listing = 0;  // the same number for the same link of the same saved search
    int bids = 0;
    std::string_view price;
};

// A listing of a saved search: its link, and its title and end time as last kept.
struct ListingIdentity {
    std::string link;
    std::string title;
    std::string ends;
};

// Why the history cannot be read or recorded into, in words (it names the file).
class HistoryError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The lasting record of every run of the saved searches and of every listing each kept.
class HistoryStore {
  public:
    virtual ~HistoryStore() = default;
    // Records the run whole, or nothing of it, and tells for each of its listings, in its
    // order, the bids of the latest earlier run with a results page that kept it, or nothing
    // when none did. A link the run kept twice is recorded as first kept; its later rows are
    // told as nothing. Throws HistoryError.
    using BidsBefore = std::vector<std::optional<int>>;
    virtual BidsBefore record(const RunRecord& run) = 0;
    // The runs of a saved search, oldest first. Throws HistoryError.
    virtual std::vector<RunSummary> runs(const std::string& search) = 0;
    // Every listing kept by the saved search's runs, run by run, the latest run first. Throws
    // HistoryError.
    virtual void observations(const std::string& search,
                              const std::function<void(const Observation&)>& each) = 0;
    // What the listing is; throws HistoryError.
    virtual ListingIdentity identify(std::int64_t listing) = 0;
};

}  // namespace vendra
