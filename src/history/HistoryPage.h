#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ListingStates.h"
#include "platform/HistoryStore.h"

namespace vendra {

// A listing's bid count in one run: `run` indexes HistoryPageData::runs.
struct BidsAt {
    std::size_t run = 0;
    int bids = 0;
};

// What the history page shows of a saved search.
struct HistoryPageData {
    std::string search;
    std::vector<std::int64_t> runs;  // the starts of the runs with a results page, oldest first
    std::vector<ListingHistory> listings;   // the hottest and newest first
    std::vector<std::vector<BidsAt>> bids;  // for each listing, the runs that kept it, oldest first
};

// Reads every listing the saved search has kept, and its bids in each run. Throws HistoryError.
HistoryPageData ReadHistoryPage(HistoryStore& store, const std::string& search);

// The history page: one self-contained HTML document, with no script and nothing fetched from
// elsewhere. Everything from the site is text; a link is a link only when it is http or https.
// `minimumBids`, when known, is marked on each listing's line of bids.
std::string HistoryPageHtml(const HistoryPageData& data, std::optional<int> minimumBids);

// Text for HTML, in an element or in a quoted attribute; control characters become blanks.
std::string EscapeHtml(std::string_view text);
// The link when it is an absolute http or https address with nothing a browser would trim or
// read otherwise; nullopt for javascript:, data:, relative and every other link.
std::optional<std::string> WebLink(std::string_view link);

// A time in UTC, as strftime writes it with `format`.
std::string UtcTime(std::int64_t secondsSinceEpoch, const char* format);

}  // namespace vendra
