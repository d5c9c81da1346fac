#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "platform/Hosts.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

using test::FakeDesktop;

const Control kSearchControls[] = {Control::Command2, Control::Command3, Control::Command4,
                                   Control::Command5, Control::cmdSearch};

const std::string kListings = std::string("http://") + hosts::kListings;

std::string Block(const std::string& rows) {
    return "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#fff>" + rows +
           "</table>";
}

std::string CategoryPage(int page) {
    return kListings + "/aw/plistings/list/category7/" +
           (page == 1 ? std::string("index.html") : "page" + std::to_string(page) + ".html");
}

class SearchCommandsTest : public ::testing::Test {
  protected:
    SearchCommandsTest() {
        window.Load();
        desk.controls.setEnabled(Control::Command6, false);
        desk.controls.setCaption(Control::Command1, "Stop Search");
        desk.controls.type(Control::Text1, "7");
    }

    void ServeCategory(int pages) {
        desk.fetch.serve(CategoryPage(1),
                         "of <b>" + std::to_string(pages) + "</b></font>" + Block("page 1"));
        for (int page = 2; page <= pages; ++page)
            desk.fetch.serve(CategoryPage(page), Block("page " + std::to_string(page)));
    }

    // The first n status texts of the search.
    std::vector<std::string> statusStart(std::size_t n) const {
        const auto& seen = desk.controls.statusHistory;
        return {seen.begin(), seen.begin() + std::ptrdiff_t(std::min(n, seen.size()))};
    }

    void ExpectSearchControls(bool enabled) {
        for (Control control : kSearchControls)
            EXPECT_EQ(desk.controls.enabled(control), enabled) << static_cast<int>(control);
    }

    FakeDesktop desk;
    MainWindow window{desk.platform};
};

TEST_F(SearchCommandsTest, StartUpLoadsTheCategoriesAndClearsTheSearchFields) {
    const auto& categories = desk.controls.states[Control::cmbCategories].entries;
    ASSERT_EQ(categories.size(), 24u);
    EXPECT_EQ(categories.front(), "All Categories");
    EXPECT_FALSE(window.StopFlag);
    for (std::int32_t field :
         {std::int32_t{window.SearchKind}, std::int32_t{window.PageNumber},
          std::int32_t{window.PageTotal}, window.ResultOffset, window.ListingTotal})
        EXPECT_EQ(field, 0);
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_TRUE(desk.files.removed.empty());
}

TEST_F(SearchCommandsTest, RemoveTempFileDeletesBothFilesAndIgnoresFailures) {
    // Neither file there: nothing to report.
    window.RemoveTempFile();
    EXPECT_EQ(desk.controls.status(), "Deleting Temporary Files.......");
    EXPECT_EQ(desk.files.removed,
              (std::vector<std::string>{window.listingFilePath(), window.resultsPagePath()}));
    // Both there, then one that cannot be deleted (held open, no permission): the other still goes.
    for (bool heldOpen : {false, true}) {
        desk.write("Listinglist.txt", "old");
        desk.write("Finalsearch.htm", "old");
        if (heldOpen) desk.files.undeletable.insert(window.listingFilePath());
        window.RemoveTempFile();
        EXPECT_EQ(desk.read("Listinglist.txt"),
                  heldOpen ? std::optional<std::string>("old") : std::nullopt);
        EXPECT_FALSE(desk.read("Finalsearch.htm"));
    }
    // A folder standing where the results page should be cannot be deleted either.
    std::filesystem::create_directories(desk.identity.path("Finalsearch.htm") / "inside");
    EXPECT_NO_THROW(window.RemoveTempFile());
    EXPECT_TRUE(std::filesystem::is_directory(desk.identity.path("Finalsearch.htm")));
}

TEST_F(SearchCommandsTest, CategorySearchRunsTheSequenceOfItsKind) {
    ServeCategory(3);
    desk.write("Finalsearch.htm", "previous results");
    desk.events.at(1, [&] {
        // Walking pages: the search controls wait, the two control buttons work.
        ExpectSearchControls(false);
        EXPECT_TRUE(desk.controls.enabled(Control::Command6));
        EXPECT_TRUE(desk.controls.enabled(Control::Command1));
        EXPECT_EQ(desk.controls.caption(Control::Command1), "Stop Search");
        EXPECT_EQ(window.SearchKind, 2);
        EXPECT_FALSE(desk.read("Finalsearch.htm"));
    });
    window.Command3_Click(1);

    EXPECT_EQ(desk.fetch.requests, (std::vector<std::string>{CategoryPage(1), CategoryPage(1),
                                                             CategoryPage(2), CategoryPage(3)}));
    EXPECT_EQ(
        statusStart(5),
        (std::vector<std::string>{
            "Deleting Temporary Files.......", "Finding # of Auctions in Category.......",
            "3 pages of listings found", "2 of 3 pages searched.", "3 of 3 pages searched."}));
    EXPECT_EQ(window.PageNumber, 4);
}

TEST(SearchCommands, FirstPageUrlsOfTheListingSearches) {
    const std::string category = "Finding # of Auctions in Category.......";
    const struct {
        std::string text1;
        void (MainWindow::*start)(int);
        std::string url;
        std::string startText;
    } cases[] = {
        {"12345", &MainWindow::Command3_Click,
         kListings + "/aw/plistings/list/category12345/index.html", category},
        {"", &MainWindow::Command3_Click, kListings + "/aw/plistings/list/category/index.html",
         category},
        {" 12", &MainWindow::Command3_Click,
         kListings + "/aw/plistings/list/category 12/index.html", category},
        {"5", &MainWindow::Command4_Click, kListings + "/aw/plistings/list/featured/index.html",
         "Finding # of featured auctions......."},
    };
    for (const auto& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        window.Load();
        desk.controls.type(Control::Text1, c.text1);
        (window.*c.start)(1);  // nothing served: the first fetch fails after the start text
        ASSERT_FALSE(desk.fetch.requests.empty());
        EXPECT_EQ(desk.fetch.requests.front(), c.url);
        EXPECT_EQ(desk.controls.statusHistory.at(1), c.startText);
    }
}

TEST_F(SearchCommandsTest, CompletedSearchShowsItsStartTextAndKeywordSearchNone) {
    desk.fetch.onFetch = [&](const std::string& url) {
        desk.fetch.serve(url,
                         "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>0</b>");
    };
    window.PageNumber = 9;
    window.cmdSearch_Click();
    EXPECT_EQ(window.SearchKind, 1);
    EXPECT_EQ(window.PageNumber, 9);  // a keyword search leaves it alone
    EXPECT_EQ(statusStart(2),
              (std::vector<std::string>{"Deleting Temporary Files.......", "0 listings found"}));

    window.Command1_Click();
    desk.controls.statusHistory.clear();
    window.Command5_Click();
    EXPECT_EQ(window.SearchKind, 4);
    EXPECT_EQ(window.PageNumber, 2);
    EXPECT_EQ(statusStart(3), (std::vector<std::string>{"Deleting Temporary Files.......",
                                                        "Finding # of completed auctions.......",
                                                        "0 listings found"}));
}

TEST_F(SearchCommandsTest, EverySearchStartClearsIncompleteFlag) {
    // Left set by a search that ended with the too-many-listings message.
    window.IncompleteFlag = true;
    ServeCategory(2);
    window.Command3_Click(1);
    EXPECT_EQ(desk.fetch.requests.size(), 3u);
}

TEST_F(SearchCommandsTest, ClosingDuringASearchStopsItThenCloses) {
    ServeCategory(5);
    bool closeAllowed = true;
    desk.events.at(1, [&] { closeAllowed = window.QueryUnload(); });
    window.Command3_Click(1);

    EXPECT_FALSE(closeAllowed);
    EXPECT_EQ(desk.fetch.cancelCount, 1);
    EXPECT_EQ(desk.fetch.requests.size(), 2u);  // no page after the close
    EXPECT_EQ(desk.controls.closeCount, 1);
    EXPECT_FALSE(window.searchRunning());
    EXPECT_TRUE(window.QueryUnload());  // idle now: the close goes ahead at once
}

}  // namespace
}  // namespace vendra
