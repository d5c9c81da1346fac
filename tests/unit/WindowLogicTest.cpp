// The order of a search as the window's logic runs it, with fakes: the status texts of each kind
// from the start to the results page, and what the logic reads from the controls. The button
// states of every step are checked on the real window.

#include <gtest/gtest.h>

#include "app/WindowLogic.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;

class WindowLogicTest : public ::testing::Test {
  protected:
    WindowLogicTest() {
        logic.load();
        desk.controls.type(Control::MinimumBids, "0");
    }

    // The first n status texts of the search.
    std::vector<std::string> statuses(std::size_t n) const {
        const auto& seen = desk.controls.statusHistory;
        return {seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(std::min(n, seen.size()))};
    }

    test::FakeDesktop desk;
    WindowLogic logic{desk.platform};
};

TEST_F(WindowLogicTest, StartUpFillsTheListsAndTouchesNothing) {
    const auto& categories = desk.controls.states[Control::CategoryList].entries;
    ASSERT_EQ(categories.size(), 24u);
    EXPECT_EQ(categories.front(), "All Categories");
    EXPECT_EQ(desk.controls.listIndex(Control::CategoryList), 0);
    EXPECT_EQ(desk.controls.listIndex(Control::SearchMode), 0);
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_TRUE(desk.files.removed.empty());
}

TEST_F(WindowLogicTest, CategorySearchShowsEveryStepToTheResultsPage) {
    desk.controls.type(Control::CategoryNumber, "7");
    desk.controls.type(Control::MinimumBids, "2");
    desk.fetch.serve(CategoryFirstPageUrl("7"), test::PageCount("3") + Block(test::ListingsRow("a", "1")));
    desk.fetch.serve(CategoryPageUrl("7", 2), Block(test::ListingsRow("b", "5")));
    desk.fetch.serve(CategoryPageUrl("7", 3), Block(test::ListingsRow("c", "2")));
    desk.write("Finalsearch.htm", "previous results");
    logic.startCategorySearch();

    EXPECT_EQ(statuses(99), (std::vector<std::string>{
                              "Deleting Temporary Files.......", "Finding # of Auctions in Category.......",
                              "3 pages of listings found", "2 of 3 pages searched.", "3 of 3 pages searched.",
                              "Finding Bid amounts.......", "Creating Output.......", "Finished!!!"}));
    EXPECT_EQ(desk.fetch.requests.size(), 4u);  // the first page twice: the probe's and the walk's
    EXPECT_EQ(desk.shell.opened, std::vector<std::string>{desk.identity.path("Finalsearch.htm").string()});
    const std::string page = desk.read("Finalsearch.htm").value_or("");
    EXPECT_LT(page.find("http://x/b"), page.find("http://x/c"));
    EXPECT_EQ(page.find("http://x/a"), std::string::npos);
    EXPECT_FALSE(desk.read("Listinglist.txt"));
    EXPECT_EQ(logic.state().pageNumber, 4);
}

TEST_F(WindowLogicTest, SearchResultKindsReadTheirControlsAndShowTheirStartTexts) {
    desk.fetch.onFetch = [&](const std::string& url) { desk.fetch.serve(url, test::CountCell("0")); };
    desk.controls.type(Control::TitleWords, "red shoe");
    desk.controls.type(Control::ExcludedWords, "used");
    desk.controls.type(Control::PriceFrom, "5");
    desk.controls.type(Control::PriceTo, "20");
    desk.controls.setListIndex(Control::SearchMode, 2);
    desk.controls.setListIndex(Control::CategoryList, 3);
    desk.controls.check(Control::DescriptionsBox, true);
    desk.controls.type(Control::CompletedWords, "teddy bear");

    logic.startKeywordSearch();
    EXPECT_EQ(desk.fetch.requests.front(),
              KeywordSearchPages({"red shoe", "used", 2, true, "267", "5", "20"}).firstPage);
    EXPECT_EQ(logic.state().pageNumber, 0);  // a keyword search leaves it alone
    EXPECT_EQ(statuses(2),
              (std::vector<std::string>{"Deleting Temporary Files.......", "0 listings found"}));

    logic.stopSearch();
    desk.controls.statusHistory.clear();
    desk.fetch.requests.clear();
    logic.startCompletedSearch();
    EXPECT_EQ(desk.fetch.requests.front(), CompletedSearchPages("teddy bear").firstPage);
    EXPECT_EQ(logic.state().pageNumber, 2);
    EXPECT_EQ(statuses(3),
              (std::vector<std::string>{"Deleting Temporary Files.......",
                                        "Finding # of completed auctions.......", "0 listings found"}));
}

TEST_F(WindowLogicTest, EverySearchStartClearsTheIncompleteRequest) {
    // See Incomplete Results in a search that then ends with the too-many-listings message
    // leaves the request set; the next search must still walk all its pages.
    desk.controls.type(Control::CompletedWords, "lamp");
    desk.fetch.onFetch = [&](const std::string& url) {
        desk.fetch.serve(url, test::CountCell("many"));
        logic.seeIncompleteResults();
    };
    logic.startCompletedSearch();
    ASSERT_TRUE(logic.state().incompleteRequested);
    ASSERT_EQ(desk.messages.messages.size(), 1u);

    desk.fetch.onFetch = nullptr;
    desk.fetch.serve(FeaturedFirstPageUrl(), test::PageCount("2") + Block("a"));
    desk.fetch.serve(FeaturedPageUrl(2), Block("b"));
    logic.startFeaturedSearch();
    EXPECT_EQ(desk.fetch.requests.back(), FeaturedPageUrl(2));
    EXPECT_EQ(desk.controls.status(), "Finished!!!");
}

TEST_F(WindowLogicTest, AStartWhileAnotherProgramSearchesTheFolderChangesNothing) {
    desk.searchLock.heldElsewhere = true;
    desk.write("Listinglist.txt", "their blocks");
    logic.startFeaturedSearch();

    EXPECT_EQ(desk.searchLock.folders, std::vector<std::string>{desk.identity.folder()});
    EXPECT_TRUE(desk.files.removed.empty());
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_EQ(desk.read("Listinglist.txt"), "their blocks");
    EXPECT_EQ(desk.messages.messages,
              std::vector<std::string>{"Another Vendra window is searching from this folder. Wait "
                                       "for it to finish, then search again."});
    EXPECT_EQ(statuses(99), std::vector<std::string>{"Ready for another search"});
    EXPECT_EQ(desk.controls.caption(Control::StopButton), "Stop Search");
    EXPECT_FALSE(desk.controls.enabled(Control::IncompleteButton));
    EXPECT_TRUE(desk.controls.enabled(Control::FeaturedSearchButton));
    EXPECT_EQ(logic.lastSearchEnd(), SearchEnd::FolderInUse);
}

TEST(SearchLockTest, TheFolderIsHeldFromTheStartUntilTheSearchHasReturned) {
    // Each way a search ends: the first page served, not served, or without listings; a stop
    // or a close at the first block.
    const SearchEnd ends[] = {SearchEnd::Finished, SearchEnd::SiteUnreachable,
                              SearchEnd::TooManyListings, SearchEnd::Stopped, SearchEnd::Stopped};
    for (int c = 0; c < 5; ++c) {
        test::FakeDesktop desk;
        WindowLogic logic{desk.platform};
        desk.controls.type(Control::MinimumBids, "0");
        const std::string listings = c == 2 ? "" : Block(test::ListingsRow("a", "1"));
        if (c != 1) desk.fetch.serve(FeaturedFirstPageUrl(), test::PageCount("1") + listings);
        desk.events.at(1, [&, c] {
            if (c == 3) logic.stopSearch();
            if (c == 4) logic.mayClose();
        });
        std::vector<int> heldAtFetch;
        desk.fetch.onFetch = [&](const std::string&) {
            heldAtFetch.push_back(desk.searchLock.holds);
        };
        logic.startFeaturedSearch();
        EXPECT_EQ(logic.lastSearchEnd(), ends[c]);
        EXPECT_EQ(heldAtFetch, std::vector<int>(c == 1 ? 1 : 2, 1)) << c;
        EXPECT_EQ(desk.searchLock.holds, 0) << c;
    }
}

TEST_F(WindowLogicTest, BlocksTheListingFileWouldNotTakeAreReportedAfterTheResultsPageOpens) {
    const std::string reason = test::FakeFiles::kUnwritableReason;
    const struct {
        int firstUnwritablePage;  // 0: every block is written
        std::vector<std::string> messages;
    } cases[] = {
        {0, {}},
        {3,
         {"1 listing block could not be written to the listing file (" + reason +
          "); the results page lacks its listings."}},
        {2,
         {"3 listing blocks could not be written to the listing file (" + reason +
          "); the results page lacks their listings."}},
    };
    const std::string listing = desk.identity.path("Listinglist.txt").string();
    desk.fetch.serve(FeaturedFirstPageUrl(),
                     test::PageCount("3") + Block(test::ListingsRow("a", "1")));
    desk.fetch.serve(FeaturedPageUrl(2), Block("b") + Block("c"));
    desk.fetch.serve(FeaturedPageUrl(3), Block("d"));
    for (const auto& c : cases) {
        desk.messages.messages.clear();
        desk.shell.opened.clear();
        desk.files.unwritable.clear();
        desk.fetch.onFetch = [&](const std::string& url) {
            if (url == FeaturedPageUrl(c.firstUnwritablePage))
                desk.files.unwritable.insert(listing);
        };
        std::string seenAtMessage;
        desk.messages.onShow = [&] {
            seenAtMessage =
                desk.controls.status() + ", opened " + std::to_string(desk.shell.opened.size());
        };
        logic.startFeaturedSearch();

        EXPECT_EQ(desk.messages.messages, c.messages);
        EXPECT_EQ(seenAtMessage, c.messages.empty() ? "" : "Finished!!!, opened 1");
        EXPECT_EQ(desk.shell.opened.size(), 1u);
        EXPECT_NE(desk.read("Finalsearch.htm").value_or("").find("http://x/a"), std::string::npos);
    }
}

}  // namespace
}  // namespace vendra
