// A page walk over pages taken from the input, for any page total or listing span: the walk asks
// for exactly the URLs of its search, in order, up to the last page (or up to a Stop Search or See
// Incomplete Results clicked at a chosen yield), and the listing file holds exactly the blocks a
// plain cutter finds in the pages served, up to the click, each followed by CR LF: the pages are
// asked for again after transient failures, and every page is either walked once (an error
// status's body never) or reported lost once.
// Input: numbers from the end give the search kind, See Incomplete Results or Stop Search, the
// yield that clicks it (0: none), how often a page is asked again, the listing span (the page
// total is a 50th of it) and the first result offset; then pages from the start, each after a
// count of empty pages, with how many transient failures come before it and whether it then fails
// for good. Pages the input does not hold are served empty. Only an input whose length is
// a multiple of 64 may span more than 256 pages, so that most runs stay quick; the others still
// reach offsets near the 32-bit limit.
#include <map>
#include <numeric>

#include "FuzzInput.h"
#include "platform/RetryingFetch.h"
#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"
#include "support/Pages.h"

using vendra::SearchKind;

static const vendra::fuzz::ScratchFile listing("listing");

// A page as the input scripts it: transient failures (error statuses, whose bodies hold the page
// too, or refused requests) before its answer, which may be a failure for good.
struct ScriptedPage {
    int transientFailures = 0;
    bool failsForGood = false;
    std::string text;
};

// Serves the input's pages by request number, each URL checked against the next one expected,
// through the fetch that asks again, and cuts the blocks of every page served the plain way.
struct Site : vendra::UrlFetch, vendra::HttpFetch, vendra::RetryPause {
    explicit Site(int retries)
        : asking(
              *this, *this, retries, [] { return Clock(); },
              [] { return std::chrono::milliseconds(0); }) {}

    std::string fetch(const std::string& url) override {
        FUZZ_CHECK(requests < urls.size() && url == urls[requests]);
        page = requests++;
        tries = 0;
        try {
            return asking.fetch(url);
        } catch (const vendra::FetchError&) {
            ++failed;
            throw;
        }
    }
    vendra::HttpAnswer get(const std::string& url) override {
        FUZZ_CHECK(url == urls[page]);
        const auto served = pages.find(page);
        if (served == pages.end()) return {200, "", ""};
        const ScriptedPage& scripted = served->second;
        if (tries++ < scripted.transientFailures) {
            static constexpr int kTransientStatuses[] = {408, 429, 500, 502, 503, 504};
            if (tries % 2 == 0) throw vendra::FetchError("reset", true);
            return {kTransientStatuses[(tries + page) % 6], "", scripted.text};
        }
        if (scripted.failsForGood) throw vendra::FetchError("refused");
        for (const std::string& block : vendra::test::PlainBlocks(scripted.text))
            blocks.push_back(block + "\r\n");
        return {200, "", scripted.text};
    }
    bool wait(std::chrono::milliseconds) override { return true; }
    void end() override {}

    using Clock = std::chrono::system_clock::time_point;
    vendra::RetryingFetch asking;
    std::vector<std::string> urls{"http://first/"}, blocks;
    std::map<std::size_t, ScriptedPage> pages;  // by request
    std::size_t requests = 0, page = 0;
    int tries = 0;
    std::size_t failed = 0;
};

FUZZ_TARGET(in) {
    const std::int64_t most = in.remaining_bytes() % 64 == 0 ? 1700000 : 256 * 50;
    vendra::SearchState state;
    state.kind = static_cast<SearchKind>(in.ConsumeIntegralInRange(0, 4));
    const bool incomplete = in.ConsumeBool();
    const int clickAt = in.ConsumeIntegral<std::uint16_t>();
    const int retries = in.ConsumeIntegralInRange(0, 2);
    const std::int64_t span = in.ConsumeIntegralInRange(-most, most);
    state.pageNumber = 2;
    state.resultOffset = in.ConsumeIntegral<std::int32_t>();
    state.pageTotal = static_cast<std::int16_t>(std::clamp<std::int64_t>(span / 50, -32768, 32767));
    state.listingTotal = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(state.resultOffset + span, INT32_MIN, INT32_MAX));
    Site site(retries);
    for (int page = 2; page <= state.pageTotal && state.kind == SearchKind::Category; ++page)
        site.urls.push_back(vendra::CategoryPageUrl("", page));
    for (int page = 2; page <= state.pageTotal && state.kind == SearchKind::Featured; ++page)
        site.urls.push_back(vendra::FeaturedPageUrl(page));
    const bool results = state.kind == SearchKind::Keyword || state.kind == SearchKind::Completed;
    for (std::int64_t offset = std::int64_t{state.resultOffset} + 50;
         results && offset - 50 < state.listingTotal && offset <= INT32_MAX; offset += 50)
        site.urls.push_back("http://next/?skip=" + std::to_string(offset));
    for (std::size_t request = in.ConsumeIntegral<std::uint16_t>(); in.remaining_bytes() > 0;
         request += 1 + in.ConsumeIntegral<std::uint16_t>())
        site.pages[request] = {in.ConsumeIntegralInRange(0, 3), in.ConsumeBool(),
                               in.ConsumeRandomLengthString()};

    std::size_t requestsAtClick = 0;
    vendra::test::FakeYield events;
    events.at(clickAt, [&] {
        (incomplete ? state.incompleteRequested : state.stopRequested) = true;
        requestsAtClick = site.requests;
    });
    vendra::test::ProgressLog progress;
    vendra::StdTextFiles files;
    std::remove(listing.path.c_str());
    vendra::WalkPages(site.urls[0], "http://next/?skip=", listing.path, state,
                      {site, events, files, progress, [] { return std::string(); }});

    if (requestsAtClick > 0) site.blocks.resize(std::min<std::size_t>(clickAt, site.blocks.size()));
    FUZZ_CHECK(listing.read() ==
               std::accumulate(site.blocks.begin(), site.blocks.end(), std::string()));
    FUZZ_CHECK(site.requests == (requestsAtClick > 0 ? requestsAtClick : site.urls.size()));
    // Every page that could not be fetched after its tries is reported lost, once.
    FUZZ_CHECK(progress.all<vendra::progress::PageLost>().size() == site.failed);
}
