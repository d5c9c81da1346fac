#include "history/ListingStates.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vendra {

const char* StateName(ListingState state) {
    switch (state) {
        case ListingState::New:
            return "new";
        case ListingState::HeatingUp:
            return "heating up";
        case ListingState::Steady:
            return "steady";
        case ListingState::Gone:
            return "gone";
    }
    return "";
}

SearchHistory TellHistory(HistoryStore& store, const std::string& search) {
    SearchHistory history;
    std::unordered_map<std::int64_t, std::int64_t> startOf;
    std::int64_t latest = 0, latestComplete = 0;
    for (const RunSummary& run : store.runs(search)) {
        if (!WroteResults(run.end)) continue;
        startOf[run.id] = run.started;
        latest = run.id;
        if (run.end == RunEnd::Finished) latestComplete = run.id;
    }
    history.anyResults = latest != 0;
    if (!history.anyResults) return history;

    // The runs come latest first: a listing's first observation is its latest, its second
    // the one before, its last its first.
    struct Seen {
        std::size_t index;
        std::int64_t lastRun;
    };
    std::unordered_map<std::int64_t, Seen> seen;
    std::vector<std::int64_t> listingIds;
    store.observations(search, [&](const Observation& observation) {
        if (!startOf.count(observation.run)) return;
        const auto [at, first] =
            seen.try_emplace(observation.listing, Seen{history.listings.size(), observation.run});
        if (first) {
            ListingHistory listing;
            listing.price = observation.price;
            listing.bids = observation.bids;
            listing.lastSeen = startOf[observation.run];
            listing.firstSeen = listing.lastSeen;
            history.listings.push_back(std::move(listing));
            listingIds.push_back(observation.listing);
            return;
        }
        ListingHistory& listing = history.listings[at->second.index];
        if (!listing.bidsBefore) listing.bidsBefore = observation.bids;
        listing.firstSeen = startOf[observation.run];
    });

    for (std::size_t i = 0; i < history.listings.size(); ++i) {
        ListingHistory& listing = history.listings[i];
        listing.id = listingIds[i];
        ListingIdentity identity = store.identify(listingIds[i]);
        listing.link = std::move(identity.link);
        listing.title = std::move(identity.title);
        listing.ends = std::move(identity.ends);
        const std::int64_t lastRun = seen.at(listingIds[i]).lastRun;
        listing.inLatestRun = lastRun == latest;
        if (!listing.bidsBefore)
            listing.state = ListingState::New;
        else if (listing.bids > *listing.bidsBefore)
            listing.state = ListingState::HeatingUp;
        else
            listing.state = ListingState::Steady;
        if (lastRun < latestComplete) listing.state = ListingState::Gone;
    }
    std::stable_sort(history.listings.begin(), history.listings.end(),
                     [](const ListingHistory& a, const ListingHistory& b) {
                         if (a.bids != b.bids) return a.bids > b.bids;
                         return a.link < b.link;
                     });
    return history;
}

RunCounts RecordRun(HistoryStore& store, const RunRecord& run, std::size_t newsKept) {
    // Told from the run and what the store says of each of its listings: the work grows with
    // the run, never with the history, however many runs and listings it holds.
    const HistoryStore::BidsBefore before = store.record(run);
    RunCounts counts;
    counts.listings = run.listings.size();
    if (!WroteResults(run.end)) return counts;
    std::unordered_set<std::string_view> seen;
    std::vector<ListingHistory> news;
    for (std::size_t i = 0; i < run.listings.size(); ++i) {
        const KeptListing& kept = run.listings[i];
        if (!seen.insert(kept.link).second) continue;  // a link kept twice counts once
        const std::optional<int> bidsBefore = i < before.size() ? before[i] : std::nullopt;
        const bool fresh = !bidsBefore;
        const bool heatingUp = bidsBefore && kept.bids > *bidsBefore;
        counts.fresh += fresh;
        counts.heatingUp += heatingUp;
        if (!fresh && !heatingUp) continue;
        ListingHistory listing;
        listing.link = kept.link;
        listing.title = kept.title;
        listing.price = kept.price;
        listing.ends = kept.ends;
        listing.bids = kept.bids;
        listing.bidsBefore = bidsBefore;
        if (fresh) listing.firstSeen = run.started;
        listing.lastSeen = run.started;
        listing.state = fresh ? ListingState::New : ListingState::HeatingUp;
        listing.inLatestRun = true;
        news.push_back(std::move(listing));
    }
    // The news as the history tells them: most bids first, then by link.
    const auto first = [](const ListingHistory& a, const ListingHistory& b) {
        if (a.bids != b.bids) return a.bids > b.bids;
        return a.link < b.link;
    };
    const std::size_t kept = std::min(newsKept, news.size());
    std::partial_sort(news.begin(), news.begin() + static_cast<std::ptrdiff_t>(kept), news.end(),
                      first);
    news.resize(kept);
    counts.news = std::move(news);
    return counts;
}

}  // namespace vendra
