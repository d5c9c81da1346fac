#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/HistoryStore.h"

namespace vendra {

// What a listing did in a saved search's latest run that wrote a results page.
enum class ListingState {
    New,        // first kept in that run
    HeatingUp,  // more bids than in the run that kept it before
    Steady,     // kept before, no more bids
    Gone,       // kept before, not in that run
};

const char* StateName(ListingState state);  // "new", "heating up", "steady", "gone"

// One listing a saved search has ever kept, as the history tells it.
struct ListingHistory {
    std::int64_t id = 0;  // the history's number for it
    std::string link;
    std::string title;
    std::string price;  // as last kept
    std::string ends;
    int bids = 0;
    std::optional<int> bidsBefore;  // in the run that kept it before that
    std::int64_t firstSeen = 0;     // the start times of the first and the latest run that kept it
    std::int64_t lastSeen = 0;
    ListingState state = ListingState::New;
    bool inLatestRun = false;
};

struct SearchHistory {
    bool anyResults = false;               // a run of the search wrote a results page
    std::vector<ListingHistory> listings;  // most bids first, then by link
};

// Every listing a saved search has kept, relative to its latest run with a results page. A
// listing that run did not keep is gone only when a run that saw every page missed it: after a
// run that lost pages, or that was cut short, it keeps the state it had when last kept.
// Throws HistoryError.
SearchHistory TellHistory(HistoryStore& store, const std::string& search);

// Records a run and tells how many of its listings are new and heating up, as TellHistory
// would tell them after it.
struct RunCounts {
    std::uint64_t listings = 0;
    std::uint64_t fresh = 0;
    std::uint64_t heatingUp = 0;
    // The first few new and heating up, most bids first, as the run kept them (the history's
    // number and first sighting of one heating up are not read for them).
    std::vector<ListingHistory> news;
};
RunCounts RecordRun(HistoryStore& store, const RunRecord& run, std::size_t newsKept = 5);

}  // namespace vendra
