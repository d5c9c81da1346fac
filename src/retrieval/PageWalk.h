#pragma once

#include <cstdint>
#include <string>

#include "search/SearchState.h"
#include "platform/EventYield.h"
#include "platform/TextFiles.h"
#include "platform/UrlFetch.h"
#include "platform/WindowControls.h"

namespace vendra {

// What the page walk uses of the desktop.
struct WalkPorts {
    UrlFetch& fetch;
    EventYield& events;
    TextFiles& files;
    WindowControls& controls;
};

// The listing blocks that the listing file would not take (disk full, folder gone): the results
// page lacks their listings.
struct LostBlocks {
    std::uint64_t count = 0;
    std::string firstReason;  // why the first of them failed, in the system's words
};

// Walks the listing pages of the running search from `firstPage`, appending every listing block
// to the listing file, each followed by CR LF. After each page it moves on by the search kind:
// numbered category or featured pages up to the page total, or result offsets in steps of 50
// (`followingPrefix` + offset) while below the listing total. The walk yields once per block,
// where clicks run, and ends at the last page, on Stop Search, or after the block in hand on
// See Incomplete Results. A page that cannot be fetched, or a block that cannot be written, is
// lost, and the walk goes on; the blocks that could not be written are counted in what it returns.
LostBlocks WalkPages(const std::string& firstPage, const std::string& followingPrefix,
                     const std::string& listingFile, SearchState& state, const WalkPorts& ports);

}  // namespace vendra
