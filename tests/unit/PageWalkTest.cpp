#include <gtest/gtest.h>

#include <limits>

#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;

class PageWalkTest : public ::testing::Test {
  protected:
    // A category search whose pages each hold one block naming their page.
    void ServeCategory(const std::string& category, int last) {
        desk.fetch.serve(CategoryFirstPageUrl(category), "head" + Block("page 1") + "foot");
        for (int page = 2; page <= last; ++page)
            desk.fetch.serve(CategoryPageUrl(category, page),
                             Block("page " + std::to_string(page)));
    }

    LostBlocks WalkCategory(const std::string& category, std::int16_t pageTotal) {
        desk.controls.type(Control::CategoryNumber, category);
        state.kind = SearchKind::Category;
        state.pageNumber = 2;
        state.pageTotal = pageTotal;
        return Walk(CategoryFirstPageUrl(category));
    }

    LostBlocks Walk(const std::string& first, const std::string& prefix = "",
                    const std::string& listing = "") {
        return WalkPages(first, prefix, listing.empty() ? listingFile() : listing, state,
                         {desk.fetch, desk.events, desk.files, desk.controls});
    }

    std::string listingFile() const { return desk.identity.path("Listinglist.txt").string(); }
    std::string listing() const { return desk.read("Listinglist.txt").value_or("<no file>"); }
    static std::string Lines(std::initializer_list<std::string> blocks) {
        std::string file;
        for (const std::string& block : blocks) file += block + "\r\n";
        return file;
    }

    test::FakeDesktop desk;
    SearchState state;
};

TEST_F(PageWalkTest, CategoryWalkFetchesEveryPageUpToTheTotal) {
    const struct {
        std::int16_t pageTotal;
        int pages;
        std::vector<std::string> progress;
    } cases[] = {
        {0, 1, {}},
        {1, 1, {}},
        {3, 3, {"2 of 3 pages searched.", "3 of 3 pages searched."}},
    };
    for (const auto& c : cases) {
        desk.fetch.requests.clear();
        desk.controls.statusHistory.clear();
        std::filesystem::remove(listingFile());
        ServeCategory("267", 3);
        WalkCategory("267", c.pageTotal);

        std::vector<std::string> expected{CategoryFirstPageUrl("267")};
        for (int page = 2; page <= c.pages; ++page)
            expected.push_back(CategoryPageUrl("267", page));
        EXPECT_EQ(desk.fetch.requests, expected) << c.pageTotal;
        EXPECT_EQ(desk.controls.statusHistory, c.progress) << c.pageTotal;
        EXPECT_EQ(state.pageNumber, c.pages == 1 ? 2 : 4) << c.pageTotal;
        EXPECT_TRUE(desk.controls.enabled(Control::IncompleteButton));
        EXPECT_EQ(listing(), c.pages == 1
                                 ? Lines({Block("page 1")})
                                 : Lines({Block("page 1"), Block("page 2"), Block("page 3")}));
    }
}

TEST_F(PageWalkTest, FeaturedWalkUsesTheFeaturedPages) {
    desk.fetch.serve("first", Block("one"));
    desk.fetch.serve(FeaturedPageUrl(2), Block("two"));
    state = {SearchKind::Featured, 2, 2};
    Walk("first");
    EXPECT_EQ(desk.fetch.requests, (std::vector<std::string>{"first", FeaturedPageUrl(2)}));
    EXPECT_EQ(listing(), Lines({Block("one"), Block("two")}));
}

TEST_F(PageWalkTest, APageThatCannotBeFetchedOrWrittenIsLostAndTheWalkGoesOn) {
    ServeCategory("9", 4);
    desk.fetch.pages.erase(CategoryPageUrl("9", 2));
    desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryPageUrl("9", 3)) desk.files.unwritable.insert(listingFile());
        if (url == CategoryPageUrl("9", 4)) desk.files.unwritable.clear();
    };
    const LostBlocks lost = WalkCategory("9", 4);
    EXPECT_EQ(desk.fetch.requests.size(), 4u);
    EXPECT_EQ(listing(), Lines({Block("page 1"), Block("page 4")}));
    EXPECT_EQ(desk.controls.status(), "4 of 4 pages searched.");
    EXPECT_EQ(lost.count, 1u);
    EXPECT_EQ(lost.firstReason, test::FakeFiles::kUnwritableReason);

    // A folder that is gone: every block is lost, with the system's reason for the first.
    desk.fetch.serve("first", Block("a") + Block("b"));
    state = {SearchKind::Featured, 2, 1};
    const LostBlocks gone = Walk("first", "", desk.identity.path("gone/Listinglist.txt"));
    EXPECT_EQ(gone.count, 2u);
    EXPECT_EQ(gone.firstReason, "No such file or directory");
}

TEST_F(PageWalkTest, SeeIncompleteResultsEndsTheWalkAfterTheBlockInHand) {
    desk.fetch.serve(CategoryFirstPageUrl("7"), Block("a") + Block("b"));
    desk.fetch.serve(CategoryPageUrl("7", 2), Block("c"));
    desk.events.at(1, [&] { state.incompleteRequested = true; });
    WalkCategory("7", 2);
    EXPECT_EQ(listing(), Lines({Block("a")}));
    EXPECT_EQ(desk.fetch.requests.size(), 1u);
    EXPECT_TRUE(desk.controls.statusHistory.empty());
}

TEST_F(PageWalkTest, StopFinishesThePageStepThenFetchesNothingMore) {
    // The stopped step still moves on and shows its progress, unless it was the last page.
    const struct {
        std::int16_t pages;
        std::int16_t pageNumber;
        std::string status;
    } cases[] = {{5, 4, "3 of 5 pages searched."}, {2, 3, "2 of 2 pages searched."}};
    for (const auto& c : cases) {
        desk.fetch.requests.clear();
        desk.events.count = 0;
        state.stopRequested = false;
        std::filesystem::remove(listingFile());
        ServeCategory("7", c.pages);
        desk.fetch.serve(CategoryPageUrl("7", 2), Block("2a") + Block("2b"));
        desk.events.at(2, [&] { state.stopRequested = true; });  // at the first block of page 2
        WalkCategory("7", c.pages);

        EXPECT_EQ(desk.fetch.requests.size(), 2u) << c.pages;
        EXPECT_EQ(listing(), Lines({Block("page 1"), Block("2a")})) << c.pages;
        EXPECT_EQ(state.pageNumber, c.pageNumber) << c.pages;
        EXPECT_EQ(desk.controls.status(), c.status) << c.pages;
    }
    // Stopped before it began: nothing at all.
    desk.fetch.requests.clear();
    desk.controls.statusHistory.clear();
    desk.controls.setEnabled(Control::IncompleteButton, false);
    Walk("first");
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_FALSE(desk.controls.enabled(Control::IncompleteButton));
}

TEST_F(PageWalkTest, TheCategoryIsReadAgainForEveryPage) {
    ServeCategory("1", 2);
    ServeCategory("12", 3);
    desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryPageUrl("1", 2)) desk.controls.type(Control::CategoryNumber, "12");
    };
    WalkCategory("1", 3);
    EXPECT_EQ(desk.fetch.requests,
              (std::vector<std::string>{CategoryFirstPageUrl("1"), CategoryPageUrl("1", 2),
                                        CategoryPageUrl("12", 3)}));
}

TEST_F(PageWalkTest, SearchResultWalkStepsFiftyWhileBelowTheCount) {
    const struct {
        std::int32_t count;
        std::vector<std::string> offsets;
    } cases[] = {{0, {}}, {100, {"50", "100"}}, {120, {"50", "100", "150"}}};
    for (SearchKind kind : {SearchKind::Keyword, SearchKind::Completed}) {
        for (const auto& c : cases) {
            desk.fetch.requests.clear();
            desk.controls.statusHistory.clear();
            desk.fetch.serve("first", Block("first"));
            for (const std::string& offset : c.offsets) desk.fetch.serve("next&skip=" + offset, "");
            state = {kind, 0, 0, 0, c.count};
            Walk("first", "next&skip=");

            std::vector<std::string> requests{"first"}, progress;
            for (const std::string& offset : c.offsets) {
                requests.push_back("next&skip=" + offset);
                progress.push_back(offset + " of " + std::to_string(c.count) + " searched.");
            }
            EXPECT_EQ(desk.fetch.requests, requests) << c.count;
            EXPECT_EQ(desk.controls.statusHistory, progress) << c.count;
        }
    }
}

TEST_F(PageWalkTest, TheWalkEndsAtTheLargestNumbersTheFieldsHold) {
    // 32767 pages: a loop, not a chain of calls, so the stack does not grow with the pages; and
    // the page number never wraps around.
    state = {SearchKind::Featured, 2, std::numeric_limits<std::int16_t>::max()};
    Walk("first");
    ASSERT_EQ(desk.fetch.requests.size(), 32767u);
    EXPECT_EQ(desk.fetch.requests.back(), FeaturedPageUrl(32767));
    EXPECT_EQ(state.pageNumber, 32767);
    EXPECT_EQ(desk.controls.status(), "32767 of 32767 pages searched.");

    desk.fetch.requests.clear();
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    state = {SearchKind::Keyword, 0, 0, most - 60, most};
    Walk("first", "next=");
    EXPECT_EQ(desk.fetch.requests,
              (std::vector<std::string>{"first", "next=" + std::to_string(most - 10)}));

    // A search without a kind walks its first page only.
    desk.fetch.requests.clear();
    state = {SearchKind::None, 2, 9, 0, 500};
    Walk("first", "next=");
    EXPECT_EQ(desk.fetch.requests, std::vector<std::string>{"first"});
}

}  // namespace
}  // namespace vendra
