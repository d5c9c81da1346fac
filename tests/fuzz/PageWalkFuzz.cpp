// A page walk over pages taken from the input, for any page total or listing span: every URL is
// the next one of its search, the walk ends at the last page (or right after a Stop Search or See
// Incomplete Results clicked at a chosen yield), and the listing file holds exactly the blocks a
// plain cutter finds in the pages served, each followed by CR LF.
// Input: a byte whose value mod 5 is the search kind and whose top bit picks See Incomplete
// Results over Stop Search; the yield that clicks it (16 bits, 0 for none); the page total (low
// 16 bits) or first result offset (32 bits); the listing total's distance from that offset; then
// pages split by 0xFF, each led by 16 bits: how many empty pages come before it, and, in the top
// bit, a fetch that fails. Pages the input does not hold are served empty. Only an input whose
// length is a multiple of 64 takes the page total and the listing span whole; any other walks at
// most 256 pages after the first, so that most runs stay quick.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"

namespace {

using vendra::SearchKind;

constexpr std::string_view kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
const std::string kFirstPage = "http://first/", kPrefix = "http://next/?skip=";
std::string listingPath;

void Check(bool holds, const std::string& what, long long got, long long want) {
    if (holds) return;
    std::fprintf(stderr, "%s: got %lld, want %lld\n", what.c_str(), got, want);
    std::abort();
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Serves the input's pages by request number, checks each URL, and cuts the blocks of each page
// served: the first in any letter case, later ones only as written, up to a block without its end.
struct Site : vendra::UrlFetch {
    SearchKind kind = SearchKind::None;
    std::map<long long, std::pair<bool, std::string_view>> pages;  // true: the fetch fails
    long long lastRequest = 0, firstOffset = 0, requests = 0;
    std::vector<std::string> blocks;

    std::string ExpectedUrl(long long request) const {
        const int page = static_cast<int>(request + 1);
        if (request == 0) return kFirstPage;
        if (kind == SearchKind::Category) return vendra::CategoryPageUrl("", page);
        if (kind == SearchKind::Featured) return vendra::FeaturedPageUrl(page);
        return kPrefix + std::to_string(firstOffset + 50 * request);
    }
    std::string fetch(const std::string& url) override {
        const long long request = requests++;
        Check(request <= lastRequest, "a request past the last page", request, lastRequest);
        Check(url == ExpectedUrl(request), "unexpected URL " + url, request, -1);
        const auto page = pages.find(request);
        if (page == pages.end()) return {};
        if (page->second.first) throw vendra::FetchError("refused");
        const std::string_view text = page->second.second;
        const std::string lower = Lower(text);
        for (std::size_t at = lower.find(Lower(kBlockStart)); at != std::string::npos;) {
            const std::size_t end = lower.find("</table>", at + kBlockStart.size());
            if (end == std::string::npos) break;
            blocks.emplace_back(text.substr(at, end + 8 - at));
            at = text.find(kBlockStart, end + 1);
        }
        return std::string(text);
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    listingPath = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                  "/vendra-walk-fuzz-" + std::to_string(::getpid());
    std::atexit([] { std::remove(listingPath.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 11) return 0;
    const auto word = [&](std::size_t at) {
        return static_cast<std::int32_t>(std::uint32_t{data[at]} << 24 | data[at + 1] << 16 |
                                         data[at + 2] << 8 | data[at + 3]);
    };
    constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();
    vendra::SearchState state;
    state.kind = static_cast<SearchKind>((data[0] & 0x7f) % 5);
    const int most = size % 64 == 0 ? 1700000 : 256 * 50;
    state.pageNumber = 2;
    state.pageTotal = static_cast<std::int16_t>(static_cast<std::int16_t>(word(3)) % (most / 50));
    state.resultOffset = word(3);
    state.listingTotal = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{word(3)} + word(7) % 1700000 % most, -kMost - 1, kMost));
    Site site;
    site.kind = state.kind;
    site.firstOffset = state.resultOffset;
    const bool listingKind =
        state.kind == SearchKind::Category || state.kind == SearchKind::Featured;
    if (listingKind) site.lastRequest = std::max(state.pageTotal - 1, 0);
    if (state.kind == SearchKind::Keyword || state.kind == SearchKind::Completed)
        for (std::int64_t offset = state.resultOffset;
             offset < state.listingTotal && offset + 50 <= kMost; offset += 50)
            ++site.lastRequest;
    std::string_view rest(reinterpret_cast<const char*>(data) + 11, size - 11);
    for (long long request = -1; !rest.empty();) {
        const std::string_view piece = rest.substr(0, rest.find('\xff'));
        rest.remove_prefix(std::min(rest.size(), piece.size() + 1));
        const unsigned lead =
            piece.size() < 2 ? 0 : std::uint8_t(piece[0]) << 8 | std::uint8_t(piece[1]);
        request += 1 + (lead & 0x7fff);
        site.pages[request] = {lead >= 0x8000,
                               piece.substr(std::min<std::size_t>(piece.size(), 2))};
    }
    const bool incomplete = data[0] >= 0x80;
    const int clickAt = data[1] << 8 | data[2];
    long long clickedOn = -1;  // the request whose page held the block of the click
    vendra::test::FakeYield events;
    events.at(clickAt, [&] {
        (incomplete ? state.incompleteRequested : state.stopRequested) = true;
        clickedOn = site.requests - 1;
    });
    vendra::test::FakeControls controls;
    vendra::StdTextFiles files;
    std::remove(listingPath.c_str());
    vendra::WalkPages(kFirstPage, kPrefix, listingPath, state, {site, events, files, controls});

    const std::size_t kept =
        clickedOn >= 0 ? static_cast<std::size_t>(clickAt) : site.blocks.size();
    Check(events.count == static_cast<int>(kept), "yields, one per block", events.count, kept);
    std::string want;
    for (std::size_t block = 0; block < kept; ++block) want += site.blocks[block] + "\r\n";
    std::ifstream listing(listingPath, std::ios::binary);
    const std::string got{std::istreambuf_iterator<char>(listing), {}};
    Check(got == want, "listing file bytes", got.size(), want.size());
    const long long requests = clickedOn >= 0 ? clickedOn + 1 : site.lastRequest + 1;
    Check(site.requests == requests, "requests", site.requests, requests);
    // The next-page step still runs after a stop, not after See Incomplete Results.
    const long long steps = std::min(site.lastRequest, requests - (incomplete && clickedOn >= 0));
    const long long pageNumber = listingKind ? std::min(2 + steps, 32767LL) : 2;
    Check(state.pageNumber == pageNumber, "page number", state.pageNumber, pageNumber);
    const long long offset = site.firstOffset + (listingKind ? 0 : 50 * steps);
    Check(state.resultOffset == offset, "result offset", state.resultOffset, offset);
    return 0;
}
