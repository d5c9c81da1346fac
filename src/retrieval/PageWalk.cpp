#include "retrieval/PageWalk.h"

#include <limits>
#include <memory>
#include <optional>

#include "query/SearchUrls.h"
#include "retrieval/ListingBlocks.h"

namespace vendra {
namespace {

constexpr int kResultsPerPage = 50;

enum class PageEnd { Done, Incomplete };

// Appends one block and CR LF to the listing file: opens it for appending (creating it, also
// when it was removed since the last block), writes and closes it; the file is never held open
// between blocks. A failure at any of the three loses the block, reported once.
void AppendBlock(std::string_view block, const std::string& listingFile, const WalkPorts& ports) {
    try {
        const std::unique_ptr<LineAppender> file = ports.files.openForAppending(listingFile);
        file->appendLine(block);
        // Some file systems report a failed write only at the close.
        file->close();
    } catch (const FileError& error) {
        ports.progress.report(progress::BlockLost{error.reason()});
    }
}

// Fetches one page and appends its blocks. Ends early on a stop, or after the block in hand
// when the incomplete results are asked for.
PageEnd WalkPage(const std::string& url, const std::string& listingFile, const SearchState& state,
                 const WalkPorts& ports) {
    std::string page;
    try {
        page = ports.fetch.fetch(url);
    } catch (const FetchError& error) {
        // A page abandoned by Stop Search is not lost: the search ends without results.
        if (!state.stopRequested) ports.progress.report(progress::PageLost{error.what()});
        return PageEnd::Done;
    }
    ListingBlocks blocks(page);
    while (!state.stopRequested) {
        const std::optional<std::string_view> block = blocks.next();
        if (!block) break;
        ports.events.yield();
        AppendBlock(*block, listingFile, ports);
        if (state.incompleteRequested) return PageEnd::Incomplete;
    }
    return PageEnd::Done;
}

// The next category or featured page; nullopt after the last page. A page total of 32767 ends on
// page 32767, the largest number the page field holds.
std::optional<std::string> NextListingPage(SearchState& state, const WalkPorts& ports,
                                           bool& pageNumbersUsedUp) {
    const std::string url = state.kind == SearchKind::Category
                                ? CategoryPageUrl(ports.categoryNumber(), state.pageNumber)
                                : FeaturedPageUrl(state.pageNumber);
    if (pageNumbersUsedUp || state.pageNumber >= state.pageTotal + 1) return std::nullopt;
    if (state.pageNumber == std::numeric_limits<std::int16_t>::max())
        pageNumbersUsedUp = true;
    else
        ++state.pageNumber;
    return url;
}

progress::PagesSearched ListingProgress(const SearchState& state, bool pageNumbersUsedUp) {
    return {pageNumbersUsedUp ? state.pageNumber : state.pageNumber - 1, state.pageTotal};
}

// The next results page, 50 listings on; nullopt once the offset has reached the listing total
// or the largest offset the field holds.
std::optional<std::string> NextResultsPage(SearchState& state, const std::string& followingPrefix) {
    if (state.resultOffset >= state.listingTotal) return std::nullopt;
    const std::int64_t next = std::int64_t{state.resultOffset} + kResultsPerPage;
    if (next > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    state.resultOffset = static_cast<std::int32_t>(next);
    return followingPrefix + std::to_string(state.resultOffset);
}

}  // namespace

void WalkPages(const std::string& firstPage, const std::string& followingPrefix,
               const std::string& listingFile, SearchState& state, const WalkPorts& ports) {
    std::optional<std::string> url = firstPage;
    bool pageNumbersUsedUp = false;
    while (url && !state.stopRequested) {
        ports.progress.report(progress::PageStepBegun{});
        if (WalkPage(*url, listingFile, state, ports) == PageEnd::Incomplete) break;

        std::optional<Progress> next;
        switch (state.kind) {
            case SearchKind::Category:
            case SearchKind::Featured:
                url = NextListingPage(state, ports, pageNumbersUsedUp);
                next = ListingProgress(state, pageNumbersUsedUp);
                break;
            case SearchKind::Keyword:
            case SearchKind::Completed:
                url = NextResultsPage(state, followingPrefix);
                next = progress::ListingsSearched{state.resultOffset, state.listingTotal};
                break;
            case SearchKind::None:
                url.reset();
                break;
        }
        if (url) ports.progress.report(*next);
    }
}

}  // namespace vendra
