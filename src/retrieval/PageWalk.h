#pragma once

#include <functional>
#include <string>

#include "platform/EventYield.h"
#include "platform/TextFiles.h"
#include "platform/UrlFetch.h"
#include "search/SearchProgress.h"
#include "search/SearchState.h"

namespace vendra {

// What the page walk uses: the desktop's ports, where it reports, and the category number of a
// category search, which it asks for again at every page (a change typed during the walk changes
// the pages that follow).
struct WalkPorts {
    UrlFetch& fetch;
    EventYield& events;
    TextFiles& files;
    ProgressReport& progress;
    std::function<std::string()> categoryNumber;
};

// Walks the listing pages of the running search from `firstPage`, appending every listing block
// to the listing file, each followed by CR LF, the file opened and closed for each block. After
// each page it moves on by the search kind: numbered category or featured pages up to the page
// total, or result offsets in steps of 50 (`followingPrefix` + offset) while below the listing
// total. The walk yields once per block, where clicks run, and ends at the last page, on Stop
// Search, or after the block in hand on See Incomplete Results. A page that cannot be fetched,
// or a block that cannot be written, is lost and reported, and the walk goes on.
void WalkPages(const std::string& firstPage, const std::string& followingPrefix,
               const std::string& listingFile, SearchState& state, const WalkPorts& ports);

}  // namespace vendra
