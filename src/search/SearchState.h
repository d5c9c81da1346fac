#pragma once

#include <cstdint>

#include "search/SearchKind.h"

namespace vendra {

// What the stages of a running search share. All zero when a search starts: nothing of an
// earlier search carries over (a page-count probe that cannot read its count walks the first
// page alone, never the page total of another search).
struct SearchState {
    SearchKind kind = SearchKind::None;
    std::int16_t pageNumber = 0;    // the next category or featured page
    std::int16_t pageTotal = 0;     // the last category or featured page, from the probe
    std::int32_t resultOffset = 0;  // of the keyword or completed results page in hand
    std::int32_t listingTotal = 0;  // listings the site reported for a keyword or completed search
    bool stopRequested = false;     // Stop Search: every stage ends at its next look
    bool incompleteRequested = false;  // See Incomplete Results: the walk ends after its block
};

}  // namespace vendra
