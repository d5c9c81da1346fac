#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

using test::FakeDesktop;

const std::string kCountCell = "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
const std::string kTooMany =
    "eBay says your search returned too many listings. Please narrow it and try again";

class SearchResultWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.SearchKind = 1;
        window.ListingTotal = 555;
        window.ResultOffset = 950;  // left by an earlier search
    }

    void Run(const std::string& firstPage) {
        desk.fetch.serve("first", firstPage);
        window.GetSearchListing("first", "next&skip=");
    }

    std::vector<std::string> Requests() const { return desk.fetch.requests; }

    FakeDesktop desk;
    MainWindow window{desk.platform};
};

TEST_F(SearchResultWalkTest, ReadsTheCountAndWalksFromOffsetFifty) {
    desk.fetch.serve("next&skip=50", "");
    desk.fetch.serve("next&skip=100", "");
    desk.fetch.serve("next&skip=150", "");
    Run("<table>" + kCountCell + "120</b> items found");
    EXPECT_EQ(window.ListingTotal, 120);
    EXPECT_EQ(desk.controls.statusHistory.front(), "120 listings found");
    // The walk fetches the first page again, then the offsets.
    EXPECT_EQ(Requests(), (std::vector<std::string>{"first", "first", "next&skip=50",
                                                    "next&skip=100", "next&skip=150"}));
}

TEST_F(SearchResultWalkTest, CountTextIsShownExactlyAsCut) {
    struct Case {
        std::string page;
        std::int32_t total;
        std::string status;
    };
    const Case cases[] = {
        {kCountCell + "1,234</b>", 1234, "1,234 listings found"},
        {"<TR><TD><FONT SIZE=\"2\" FACE=\"ARIAL, HELVETICA, SANS-SERIF\"><B>7</B>", 7,
         "7 listings found"},
        {kCountCell + "0</b>", 0, "0 listings found"},
        {kCountCell + " 2.5 </b>", 2, " 2.5  listings found"},
    };
    for (const Case& c : cases) {
        desk.fetch.requests.clear();
        desk.controls.statusHistory.clear();
        Run(c.page);
        EXPECT_EQ(window.ListingTotal, c.total) << c.page;
        EXPECT_EQ(desk.controls.statusHistory.front(), c.status) << c.page;
        EXPECT_EQ(window.ResultOffset, (c.total + 49) / 50 * 50) << c.page;
    }
}

TEST(GetSearchListing, ACountThatIsNotANumberIsTooManyListings) {
    for (const std::string& page :
         {kCountCell + "many</b>", std::string(70, 'x') + "no count cell</b> at all"}) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        window.ListingTotal = 555;
        window.IncompleteFlag = true;
        desk.controls.setEnabled(Control::Command6, true);
        for (Control c : {Control::Command2, Control::Command3, Control::Command4,
                          Control::Command5, Control::cmdSearch})
            desk.controls.setEnabled(c, false);
        desk.controls.setCaption(Control::Command1, "Begin New Search");
        // What the user sees when the box opens: nothing reset yet.
        desk.messages.onShow = [&] { EXPECT_FALSE(window.StopFlag); };
        desk.fetch.serve("first", page);
        window.GetSearchListing("first", "next&skip=");

        EXPECT_EQ(desk.messages.messages, std::vector<std::string>{kTooMany});
        EXPECT_TRUE(window.StopFlag);
        for (Control c : {Control::Command2, Control::Command3, Control::Command4,
                          Control::Command5, Control::cmdSearch})
            EXPECT_TRUE(desk.controls.enabled(c));
        EXPECT_EQ(desk.controls.caption(Control::Command1), "Stop Search");
        EXPECT_EQ(desk.controls.status(), "Ready for another search");
        EXPECT_EQ(window.ListingTotal, 555);
        // See Incomplete Results is left as it was.
        EXPECT_TRUE(window.IncompleteFlag);
        EXPECT_TRUE(desk.controls.enabled(Control::Command6));
        EXPECT_EQ(desk.fetch.requests.size(), 1u);
    }
}

TEST_F(SearchResultWalkTest, SilentEndsWithoutAWalk) {
    const std::string pages[] = {
        kCountCell + "120",                // no end to the count
        kCountCell + "99999999999</b>",    // beyond 32 bits
        "short page",                      // no count cell, no end marker
    };
    for (const std::string& page : pages) {
        desk.fetch.requests.clear();
        desk.controls.statusHistory.clear();
        Run(page);
        EXPECT_EQ(Requests(), std::vector<std::string>{"first"}) << page;
        EXPECT_TRUE(desk.controls.statusHistory.empty()) << page;
        EXPECT_TRUE(desk.messages.messages.empty()) << page;
        EXPECT_FALSE(window.StopFlag) << page;
        EXPECT_EQ(window.ListingTotal, 555) << page;
        EXPECT_EQ(window.ResultOffset, 0) << page;
    }
}

TEST_F(SearchResultWalkTest, AStopDuringTheFirstFetchEndsWithoutReadingThePage) {
    desk.fetch.onFetch = [&](const std::string&) { window.StopFlag = true; };
    Run(kCountCell + "120</b>");
    EXPECT_EQ(window.ListingTotal, 555);
    EXPECT_TRUE(desk.controls.statusHistory.empty());
    EXPECT_EQ(Requests().size(), 1u);
}

}  // namespace
}  // namespace vendra
