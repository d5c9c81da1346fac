// The page walk with scripted pages: which pages it asks for and in what order, the progress it
// reports, the blocks and pages it keeps and loses, and the clicks that end it. The same walk with
// the real fetch against the sample site is in the end-to-end tests; walks of up to 32,767 pages
// and offsets up to the 32-bit limit are the page walk fuzz target's.

#include <gtest/gtest.h>

#include <filesystem>

#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;

// The listing file of these blocks, each followed by CR LF.
std::string Lines(std::initializer_list<std::string> blocks) {
    std::string file;
    for (const std::string& block : blocks) file += block + "\r\n";
    return file;
}

struct Walker {
    test::FakeDesktop desk;
    test::ProgressLog progress;
    SearchState state;
    std::string category;  // as the category box holds it

    // Serves a category search whose pages each hold one block naming their page.
    void serveCategory(const std::string& number, int last) {
        desk.fetch.serve(CategoryFirstPageUrl(number), "head" + Block("page 1") + "foot");
        for (int page = 2; page <= last; ++page)
            desk.fetch.serve(CategoryPageUrl(number, page), Block("page " + std::to_string(page)));
    }
    void walkCategory(const std::string& number, std::int16_t pageTotal) {
        category = number;
        state = {SearchKind::Category, 2, pageTotal};
        walk(CategoryFirstPageUrl(number));
    }
    void walk(const std::string& first, const std::string& prefix = "",
              const std::string& listingFile = "Listinglist.txt") {
        WalkPages(first, prefix, desk.identity.path(listingFile), state,
                  {desk.fetch, desk.events, desk.files, progress, [this] { return category; }});
    }
    progress::PagesSearched lastPage() const {
        const auto pages = progress.all<progress::PagesSearched>();
        return pages.empty() ? progress::PagesSearched{} : pages.back();
    }
    std::string listing() const { return desk.read("Listinglist.txt").value_or("<no file>"); }
};

TEST(PageWalk, APageThatCannotBeFetchedOrWrittenIsLostAndTheWalkGoesOn) {
    Walker w;
    w.serveCategory("9", 4);
    w.desk.fetch.pages.erase(CategoryPageUrl("9", 2));
    const std::string listingFile = w.desk.identity.path("Listinglist.txt");
    w.desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryPageUrl("9", 3)) w.desk.files.unwritable.insert(listingFile);
        if (url == CategoryPageUrl("9", 4)) w.desk.files.unwritable.clear();
    };
    w.walkCategory("9", 4);
    EXPECT_EQ(w.desk.fetch.requests.size(), 4u);
    EXPECT_EQ(w.listing(), Lines({Block("page 1"), Block("page 4")}));
    EXPECT_EQ(w.lastPage(), (progress::PagesSearched{4, 4}));
    EXPECT_EQ(w.progress.all<progress::PageLost>(),
              std::vector<progress::PageLost>{{"no scripted page for " + CategoryPageUrl("9", 2)}});
    EXPECT_EQ(w.progress.all<progress::BlockLost>(),
              std::vector<progress::BlockLost>{{test::FakeFiles::kUnwritableReason}});

    // A folder that is gone: every block is lost, with the system's reason.
    w.progress.events.clear();
    w.desk.fetch.serve("first", Block("a") + Block("b"));
    w.state = {SearchKind::Featured, 2, 1};
    w.walk("first", "", "gone/Listinglist.txt");
    EXPECT_EQ(w.progress.all<progress::BlockLost>(),
              std::vector<progress::BlockLost>(2, {"No such file or directory"}));

    // A write the system refuses only at the close: every block is closed, and so lost.
    w.progress.events.clear();
    w.desk.files.unclosable.insert(listingFile);
    w.walk("first");
    EXPECT_EQ(w.progress.all<progress::BlockLost>(),
              std::vector<progress::BlockLost>(2, {test::FakeFiles::kLateReason}));
}

TEST(PageWalk, AListingFileRemovedDuringTheWalkIsMadeAgainByTheNextBlock) {
    Walker w;
    w.serveCategory("9", 3);
    w.desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryPageUrl("9", 3))
            std::filesystem::remove(w.desk.identity.path("Listinglist.txt"));
    };
    w.walkCategory("9", 3);
    EXPECT_EQ(w.listing(), Lines({Block("page 3")}));
    EXPECT_TRUE(w.progress.all<progress::BlockLost>().empty());
}

TEST(PageWalk, StopAndSeeIncompleteResultsEndTheWalk) {
    // Clicked at the first block of page 2, either ends the walk after that block. Stop Search
    // finishes the page step, which still moves on and shows its progress unless it was the last.
    const struct {
        bool stop;
        std::int16_t pages;
        int lastProgress;  // the page the walk last moved on to
        std::int16_t pageNumber;
    } cases[] = {{false, 5, 2, 3}, {true, 5, 3, 4}, {true, 2, 2, 3}};
    for (const auto& c : cases) {
        Walker w;
        w.serveCategory("7", c.pages);
        w.desk.fetch.serve(CategoryPageUrl("7", 2), Block("2a") + Block("2b"));
        w.desk.events.at(
            2, [&] { (c.stop ? w.state.stopRequested : w.state.incompleteRequested) = true; });
        w.walkCategory("7", c.pages);
        EXPECT_EQ(w.desk.fetch.requests.size(), 2u) << c.pages;
        EXPECT_EQ(w.listing(), Lines({Block("page 1"), Block("2a")})) << c.pages;
        EXPECT_EQ(w.state.pageNumber, c.pageNumber) << c.pages;
        EXPECT_EQ(w.lastPage(), (progress::PagesSearched{c.lastProgress, c.pages})) << c.pages;
    }
    // Stopped before it began: nothing at all, not even a page step to report.
    Walker w;
    w.state.stopRequested = true;
    w.walk("first");
    EXPECT_TRUE(w.desk.fetch.requests.empty());
    EXPECT_TRUE(w.progress.events.empty());
}

TEST(PageWalk, TheCategoryIsReadAgainForEveryPage) {
    Walker w;
    w.serveCategory("1", 2);
    w.serveCategory("12", 3);
    w.desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryPageUrl("1", 2)) w.category = "12";
    };
    w.walkCategory("1", 3);
    EXPECT_EQ(w.desk.fetch.requests,
              (std::vector{CategoryFirstPageUrl("1"), CategoryPageUrl("1", 2),
                           CategoryPageUrl("12", 3)}));
}

TEST(PageWalk, SearchResultWalkStepsFiftyWhileBelowTheCount) {
    for (SearchKind kind : {SearchKind::Keyword, SearchKind::Completed}) {
        for (std::int32_t count : {0, 100, 120}) {
            Walker w;
            w.desk.fetch.serve("first", Block("first"));
            std::vector<std::string> requests{"first"};
            std::vector<progress::ListingsSearched> progress;
            for (int offset = 50; offset < count + 50; offset += 50) {
                w.desk.fetch.serve("next&skip=" + std::to_string(offset), "");
                requests.push_back("next&skip=" + std::to_string(offset));
                progress.push_back({offset, count});
            }
            w.state = {kind, 0, 0, 0, count};
            w.walk("first", "next&skip=");
            EXPECT_EQ(w.desk.fetch.requests, requests) << count;
            EXPECT_EQ(w.progress.all<progress::ListingsSearched>(), progress) << count;
        }
    }
}

}  // namespace
}  // namespace vendra
