#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/MainWindow.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

const std::string kCountCell = "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
const Control kSearchControls[] = {Control::Command2, Control::Command3, Control::Command4,
                                   Control::Command5, Control::cmdSearch};

class SearchResultWalkTest : public ::testing::Test {
  protected:
    // A fresh window after an earlier search, on the first results page given.
    void Run(const std::string& firstPage, const std::function<void()>& before = {}) {
        desk.emplace();
        window.emplace(desk->platform);
        window->SearchKind = 1;
        window->ListingTotal = 555;
        window->ResultOffset = 950;
        if (before) before();
        desk->fetch.serve("first", firstPage);
        for (const char* offset : {"50", "100", "150"})
            desk->fetch.serve(std::string("next&skip=") + offset, "");
        window->GetSearchListing("first", "next&skip=");
    }

    std::optional<test::FakeDesktop> desk;
    std::optional<MainWindow> window;
};

TEST_F(SearchResultWalkTest, ReadsTheCountShownExactlyAsCutAndWalksFromOffsetFifty) {
    struct Case {
        std::string page;
        std::int32_t total;
        std::string status;
        std::vector<std::string> requests;
    };
    const Case cases[] = {
        {"<table>" + kCountCell + "120</b> items found",
         120,
         "120 listings found",
         {"first", "first", "next&skip=50", "next&skip=100", "next&skip=150"}},
        {kCountCell + "1,234</b>", 1234, "1,234 listings found", {}},
        {"<TR><TD><FONT SIZE=\"2\" FACE=\"ARIAL, HELVETICA, SANS-SERIF\"><B>7</B>",
         7,
         "7 listings found",
         {"first", "first", "next&skip=50"}},
        {kCountCell + "0</b>", 0, "0 listings found", {"first", "first"}},
    };
    for (const Case& c : cases) {
        Run(c.page);
        EXPECT_EQ(window->ListingTotal, c.total) << c.page;
        EXPECT_EQ(desk->controls.statusHistory.front(), c.status) << c.page;
        EXPECT_EQ(window->ResultOffset, (c.total + 49) / 50 * 50) << c.page;
        if (!c.requests.empty()) {
            EXPECT_EQ(desk->fetch.requests, c.requests) << c.page;
        }
    }
}

TEST_F(SearchResultWalkTest, ACountThatIsNotANumberIsTooManyListings) {
    for (const std::string& page :
         {kCountCell + "many</b>", std::string(70, 'x') + "no count cell</b> at all"}) {
        Run(page, [&] {
            window->IncompleteFlag = true;
            for (Control c : kSearchControls) desk->controls.setEnabled(c, false);
            desk->controls.setCaption(Control::Command1, "Begin New Search");
            // What the user sees when the box opens: nothing reset yet.
            desk->messages.onShow = [&] { EXPECT_FALSE(window->StopFlag); };
        });

        EXPECT_EQ(desk->messages.messages,
                  std::vector<std::string>{"eBay says your search returned too many listings. "
                                           "Please narrow it and try again"});
        EXPECT_TRUE(window->StopFlag);
        for (Control c : kSearchControls) EXPECT_TRUE(desk->controls.enabled(c));
        EXPECT_EQ(desk->controls.caption(Control::Command1), "Stop Search");
        EXPECT_EQ(desk->controls.status(), "Ready for another search");
        EXPECT_EQ(window->ListingTotal, 555);
        // See Incomplete Results is left as it was (the fake's buttons start enabled).
        EXPECT_TRUE(window->IncompleteFlag);
        EXPECT_TRUE(desk->controls.enabled(Control::Command6));
        EXPECT_EQ(desk->fetch.requests.size(), 1u);
    }
}

TEST_F(SearchResultWalkTest, SilentEndsWithoutAWalk) {
    const std::string pages[] = {
        kCountCell + "120",              // no end to the count
        kCountCell + "99999999999</b>",  // beyond 32 bits
        "short page",                    // no count cell, no end marker
    };
    for (const std::string& page : pages) {
        Run(page);
        EXPECT_EQ(desk->fetch.requests, std::vector<std::string>{"first"}) << page;
        EXPECT_TRUE(desk->controls.statusHistory.empty()) << page;
        EXPECT_TRUE(desk->messages.messages.empty()) << page;
        EXPECT_FALSE(window->StopFlag) << page;
        EXPECT_EQ(window->ListingTotal, 555) << page;
        EXPECT_EQ(window->ResultOffset, 0) << page;
    }
}

TEST_F(SearchResultWalkTest, AStopDuringTheFirstFetchEndsWithoutReadingThePage) {
    Run(kCountCell + "120</b>",
        [&] { desk->fetch.onFetch = [&](const std::string&) { window->StopFlag = true; }; });
    EXPECT_EQ(window->ListingTotal, 555);
    EXPECT_TRUE(desk->controls.statusHistory.empty());
    EXPECT_EQ(desk->fetch.requests.size(), 1u);
}

}  // namespace
}  // namespace vendra
