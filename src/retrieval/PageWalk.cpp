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

// The listing file, opened at the first block and kept open for the walk. A file that could not
// be opened is tried again at the next block.
class ListingFile {
  public:
    explicit ListingFile(const std::string& path) : path_(path) {}
    void append(std::string_view block, TextFiles& files) {
        if (!file_) file_ = files.openForAppending(path_);
        file_->appendLine(block);
    }

  private:
    const std::string& path_;
    std::unique_ptr<LineAppender> file_;
};

// Fetches one page and appends its blocks. Ends early on a stop, or after the block in hand
// when the incomplete results are asked for.
PageEnd WalkPage(const std::string& url, ListingFile& listing, const SearchState& state,
                 const WalkPorts& ports, LostBlocks& lost) {
    std::string page;
    try {
        page = ports.fetch.fetch(url);
    } catch (const FetchError&) {
        return PageEnd::Done;
    }
    ListingBlocks blocks(page);
    while (!state.stopRequested) {
        const std::optional<std::string_view> block = blocks.next();
        if (!block) break;
        ports.events.yield();
        try {
            listing.append(*block, ports.files);
        } catch (const FileError& error) {
            if (lost.count++ == 0) lost.firstReason = error.reason();
        }
        if (state.incompleteRequested) return PageEnd::Incomplete;
    }
    return PageEnd::Done;
}

// The next category or featured page, with its progress on the status line; nullopt after the
// last page. A page total of 32767 ends on page 32767, the largest number the page field holds.
std::optional<std::string> NextListingPage(SearchState& state, const WindowControls& controls,
                                           bool& pageNumbersUsedUp) {
    // The category is read again for every page.
    const std::string url =
        state.kind == SearchKind::Category
            ? CategoryPageUrl(controls.text(Control::CategoryNumber), state.pageNumber)
            : FeaturedPageUrl(state.pageNumber);
    if (pageNumbersUsedUp || state.pageNumber >= state.pageTotal + 1) return std::nullopt;
    if (state.pageNumber == std::numeric_limits<std::int16_t>::max())
        pageNumbersUsedUp = true;
    else
        ++state.pageNumber;
    return url;
}

std::string ListingProgress(const SearchState& state, bool pageNumbersUsedUp) {
    const int shown = pageNumbersUsedUp ? state.pageNumber : state.pageNumber - 1;
    return std::to_string(shown) + " of " + std::to_string(state.pageTotal) + " pages searched.";
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

LostBlocks WalkPages(const std::string& firstPage, const std::string& followingPrefix,
                     const std::string& listingFile, SearchState& state, const WalkPorts& ports) {
    LostBlocks lost;
    ListingFile listing(listingFile);
    std::optional<std::string> url = firstPage;
    bool pageNumbersUsedUp = false;
    while (url && !state.stopRequested) {
        ports.controls.setEnabled(Control::IncompleteButton, true);
        if (WalkPage(*url, listing, state, ports, lost) == PageEnd::Incomplete) return lost;

        std::string progress;
        switch (state.kind) {
            case SearchKind::Category:
            case SearchKind::Featured:
                url = NextListingPage(state, ports.controls, pageNumbersUsedUp);
                progress = ListingProgress(state, pageNumbersUsedUp);
                break;
            case SearchKind::Keyword:
            case SearchKind::Completed:
                url = NextResultsPage(state, followingPrefix);
                progress = std::to_string(state.resultOffset) + " of " +
                           std::to_string(state.listingTotal) + " searched.";
                break;
            case SearchKind::None:
                url.reset();
                break;
        }
        if (url) ports.controls.setCaption(Control::StatusLine, progress);
    }
    return lost;
}

}  // namespace vendra
