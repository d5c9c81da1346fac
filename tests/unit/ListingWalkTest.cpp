#include <gtest/gtest.h>

#include <limits>

#include "app/MainWindow.h"
#include "platform/Hosts.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

using test::FakeDesktop;

const std::string kStart = "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";

std::string Block(const std::string& rows, const std::string& colour = "#ffffff") {
    return kStart + colour + ">\r\n" + rows + "\r\n</table>";
}

std::string CategoryUrl(const std::string& category, const std::string& page) {
    return std::string("http://") + hosts::kListings + "/aw/plistings/list/category" + category +
           "/" + page;
}

std::string FeaturedUrl(int page) {
    return std::string("http://") + hosts::kListings + "/aw/plistings/list/category0/page" +
           std::to_string(page) + ".html?featured";
}

class ListingWalkTest : public ::testing::Test {
  protected:
    // A category walk over pages that each hold one block naming their page.
    void ServeCategoryPages(const std::string& category, int last) {
        desk.fetch.serve(CategoryUrl(category, "index.html"),
                         "head" + Block("row page 1") + "foot");
        for (int page = 2; page <= last; ++page)
            desk.fetch.serve(CategoryUrl(category, "page" + std::to_string(page) + ".html"),
                             Block("row page " + std::to_string(page)));
    }

    void StartCategoryWalk(const std::string& category, std::int16_t pageTotal) {
        desk.controls.type(Control::Text1, category);
        window.SearchKind = 2;
        window.PageNumber = 2;
        window.PageTotal = pageTotal;
        window.GetListing(CategoryUrl(category, "index.html"), "");
    }

    std::string Listing() const { return desk.read("Listinglist.txt").value_or("<no file>"); }

    FakeDesktop desk;
    MainWindow window{desk.platform};
};

TEST_F(ListingWalkTest, CategoryWalkFetchesEveryPageUpToTheTotal) {
    struct Case {
        std::int16_t pageTotal;
        int pagesFetched;
        std::vector<std::string> progress;
        std::int16_t pageNumberAfter;
    };
    const Case cases[] = {
        {0, 1, {}, 2},
        {1, 1, {}, 2},
        {3, 3, {"2 of 3 pages searched.", "3 of 3 pages searched."}, 4},
    };
    for (const Case& c : cases) {
        desk.fetch.requests.clear();
        desk.controls.statusHistory.clear();
        ServeCategoryPages("267", 3);
        StartCategoryWalk("267", c.pageTotal);

        std::vector<std::string> expected{CategoryUrl("267", "index.html")};
        for (int page = 2; page <= c.pagesFetched; ++page)
            expected.push_back(CategoryUrl("267", "page" + std::to_string(page) + ".html"));
        EXPECT_EQ(desk.fetch.requests, expected) << "PageTotal " << c.pageTotal;
        EXPECT_EQ(desk.controls.statusHistory, c.progress) << "PageTotal " << c.pageTotal;
        EXPECT_EQ(window.PageNumber, c.pageNumberAfter) << "PageTotal " << c.pageTotal;
        EXPECT_TRUE(desk.controls.enabled(Control::Command6));
        std::filesystem::remove(desk.identity.path("Listinglist.txt"));
    }
}

TEST_F(ListingWalkTest, FeaturedWalkUsesTheFeaturedPages) {
    desk.fetch.serve("first", Block("one"));
    desk.fetch.serve(FeaturedUrl(2), Block("two"));
    window.SearchKind = 3;
    window.PageNumber = 2;
    window.PageTotal = 2;
    window.GetListing("first", "");
    EXPECT_EQ(desk.fetch.requests, (std::vector<std::string>{"first", FeaturedUrl(2)}));
    EXPECT_EQ(Listing(), Block("one") + "\r\n" + Block("two") + "\r\n");
}

TEST_F(ListingWalkTest, EachBlockOfAPageIsWrittenOnItsOwnLine) {
    // Lone LFs and CRs inside a block belong to the page and are kept as they are.
    const std::string a = Block("row a1\r\nrow a2", "#eeeeee"), b = Block("row b1\nrow b2\rrow b3");
    const std::string upper =
        "<TABLE WIDTH=\"100%\" CELLPADDING=4 BORDER=0 CELLSPACING=0 BGCOLOR=#FFFFFF>";
    const std::string nested = kStart + "#fff><tr><td><table><tr><td>inner</td></tr></table>";
    const struct {
        const char* name;
        std::string page;
        std::string listing;
    } cases[] = {
        {"page order", "<html>" + a + "<p>between</p>" + b + "\r\n" + Block("c") + "</html>",
         a + "\r\n" + b + "\r\n" + Block("c") + "\r\n"},
        // A capital start marker is found as the first block of a page, not as a later one; a
        // capital end marker is always found.
        {"capitals", upper + "row 1</TABLE>" + upper + "row 2</table>" + Block("row 3"),
         upper + "row 1</TABLE>\r\n" + Block("row 3") + "\r\n"},
        // A nested table ends the block, and the search goes on after it.
        {"nested", nested + "</td></tr>" + Block("next") + "</table>",
         nested + "\r\n" + Block("next") + "\r\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(desk.identity.path("Listinglist.txt"));
        desk.fetch.serve("first", c.page);
        window.SearchKind = 2;
        window.GetListing("first", "");
        EXPECT_EQ(Listing(), c.listing) << c.name;
    }
}

TEST_F(ListingWalkTest, ATableWithoutItsEndWritesNothingAndTheWalkGoesOn) {
    ServeCategoryPages("5", 3);
    desk.fetch.serve(CategoryUrl("5", "page2.html"), Block("kept") + kStart + "#fff>cut short");
    StartCategoryWalk("5", 3);
    EXPECT_EQ(Listing(),
              Block("row page 1") + "\r\n" + Block("kept") + "\r\n" + Block("row page 3") + "\r\n");
    EXPECT_EQ(desk.fetch.requests.size(), 3u);
}

TEST_F(ListingWalkTest, AFailedFetchSkipsOnlyThatPage) {
    ServeCategoryPages("9", 6);
    desk.fetch.pages.erase(CategoryUrl("9", "page4.html"));
    StartCategoryWalk("9", 6);
    EXPECT_EQ(desk.fetch.requests.size(), 6u);
    EXPECT_EQ(Listing(), Block("row page 1") + "\r\n" + Block("row page 2") + "\r\n" +
                             Block("row page 3") + "\r\n" + Block("row page 5") + "\r\n" +
                             Block("row page 6") + "\r\n");
    EXPECT_EQ(desk.controls.status(), "6 of 6 pages searched.");
}

TEST_F(ListingWalkTest, AListingFileThatCannotBeWrittenLosesTheBlockNotTheWalk) {
    ServeCategoryPages("9", 2);
    desk.files.unwritable.insert(window.listingFilePath());
    StartCategoryWalk("9", 2);
    EXPECT_EQ(desk.fetch.requests.size(), 2u);
    EXPECT_FALSE(desk.read("Listinglist.txt"));
}

TEST_F(ListingWalkTest, SeeIncompleteResultsEndsTheWalkAfterTheBlockInHand) {
    desk.fetch.serve(CategoryUrl("7", "index.html"), Block("a") + Block("b"));
    desk.fetch.serve(CategoryUrl("7", "page2.html"), Block("c"));
    desk.events.at(1, [&] { window.Command6_Click(); });
    StartCategoryWalk("7", 2);
    EXPECT_EQ(Listing(), Block("a") + "\r\n");
    EXPECT_EQ(desk.fetch.requests.size(), 1u);
    EXPECT_FALSE(desk.controls.enabled(Control::Command6));
    EXPECT_TRUE(window.IncompleteFlag);
}

TEST_F(ListingWalkTest, StopSearchFinishesThePageStepThenFetchesNothingMore) {
    // The stopped step still moves on and shows its progress over "Ready for another search",
    // unless it was the last page.
    const struct {
        std::int16_t pages;
        std::int16_t pageNumber;
        std::string status;
    } cases[] = {{5, 4, "3 of 5 pages searched."}, {2, 3, "Ready for another search"}};
    desk.events.at(2, [&] { window.Command1_Click(); });  // the first block of page 2
    for (const auto& c : cases) {
        desk.fetch.requests.clear();
        desk.events.count = 0;
        window.StopFlag = false;
        std::filesystem::remove(desk.identity.path("Listinglist.txt"));
        ServeCategoryPages("7", c.pages);
        desk.fetch.serve(CategoryUrl("7", "page2.html"), Block("2a") + Block("2b"));
        StartCategoryWalk("7", c.pages);

        EXPECT_EQ(desk.fetch.requests.size(), 2u) << c.pages;
        EXPECT_EQ(Listing(), Block("row page 1") + "\r\n" + Block("2a") + "\r\n") << c.pages;
        EXPECT_EQ(window.PageNumber, c.pageNumber) << c.pages;
        EXPECT_EQ(desk.controls.status(), c.status) << c.pages;
        EXPECT_TRUE(window.StopFlag) << c.pages;
    }
}

TEST_F(ListingWalkTest, TheCategoryIsReadAgainForEveryPage) {
    ServeCategoryPages("1", 2);
    ServeCategoryPages("12", 3);
    desk.fetch.onFetch = [&](const std::string& url) {
        if (url == CategoryUrl("1", "page2.html")) desk.controls.type(Control::Text1, "12");
    };
    StartCategoryWalk("1", 3);
    EXPECT_EQ(desk.fetch.requests, (std::vector<std::string>{CategoryUrl("1", "index.html"),
                                                             CategoryUrl("1", "page2.html"),
                                                             CategoryUrl("12", "page3.html")}));
}

TEST_F(ListingWalkTest, SearchResultWalkStepsFiftyWhileBelowTheCount) {
    struct Case {
        std::int32_t count;
        std::vector<std::string> offsets;
    };
    const Case cases[] = {{0, {}}, {100, {"50", "100"}}, {120, {"50", "100", "150"}}};
    for (std::int16_t kind : {1, 4}) {
        for (const Case& c : cases) {
            desk.fetch.requests.clear();
            desk.controls.statusHistory.clear();
            desk.fetch.serve("first", Block("first"));
            for (const std::string& offset : c.offsets) desk.fetch.serve("next&skip=" + offset, "");
            window.SearchKind = kind;
            window.ResultOffset = 0;
            window.ListingTotal = c.count;
            window.GetListing("first", "next&skip=");

            std::vector<std::string> expected{"first"};
            std::vector<std::string> progress;
            for (const std::string& offset : c.offsets) {
                expected.push_back("next&skip=" + offset);
                progress.push_back(offset + " of " + std::to_string(c.count) + " searched.");
            }
            EXPECT_EQ(desk.fetch.requests, expected) << "count " << c.count;
            EXPECT_EQ(desk.controls.statusHistory, progress) << "count " << c.count;
        }
    }
}

TEST_F(ListingWalkTest, OtherSearchKindsWalkTheFirstPageOnly) {
    for (std::int16_t kind : {0, 5, -1}) {
        desk.fetch.requests.clear();
        desk.fetch.serve("first", Block("x"));
        window.SearchKind = kind;
        window.PageTotal = 9;
        window.ListingTotal = 500;
        window.GetListing("first", "next");
        EXPECT_EQ(desk.fetch.requests, std::vector<std::string>{"first"}) << "kind " << kind;
    }
}

TEST_F(ListingWalkTest, StopFlagSetBeforehandMeansNoFetch) {
    window.StopFlag = true;
    window.SearchKind = 2;
    window.GetListing("first", "");
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_TRUE(desk.controls.enabled(Control::Command6));  // untouched from its fake default
    EXPECT_TRUE(desk.controls.statusHistory.empty());
}

TEST_F(ListingWalkTest, TheWalkEndsAtTheLargestPageNumber) {
    // 32767 pages: a loop, not a chain of calls, so the stack does not grow with the pages; and
    // the page number never wraps around.
    window.SearchKind = 3;
    window.PageNumber = 2;
    window.PageTotal = std::numeric_limits<std::int16_t>::max();
    window.GetListing("first", "");
    ASSERT_EQ(desk.fetch.requests.size(), 32767u);
    EXPECT_EQ(desk.fetch.requests.back(), FeaturedUrl(32767));
    EXPECT_EQ(window.PageNumber, 32767);
    EXPECT_EQ(desk.controls.status(), "32767 of 32767 pages searched.");
}

TEST_F(ListingWalkTest, TheResultOffsetNeverOverflows) {
    window.SearchKind = 1;
    window.ResultOffset = std::numeric_limits<std::int32_t>::max() - 60;
    window.ListingTotal = std::numeric_limits<std::int32_t>::max();
    window.GetListing("first", "next=");
    EXPECT_EQ(desk.fetch.requests,
              (std::vector<std::string>{"first", "next=" + std::to_string(window.ResultOffset)}));
    EXPECT_EQ(window.ResultOffset, std::numeric_limits<std::int32_t>::max() - 10);
}

}  // namespace
}  // namespace vendra
