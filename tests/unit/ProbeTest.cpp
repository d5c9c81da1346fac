#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

using test::FakeDesktop;

const std::string kBlock =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#fff>row</table>";

struct ProbeCase {
    const char* name;
    std::string page;
    std::int16_t pageTotal;  // after the probe; the previous value is 77
    std::string status;
};

TEST(GetData, ReadsThePageCountAndWalksFromTheSameUrl) {
    const ProbeCase cases[] = {
        {"count 12", "Page 1 of <b>12</b></font>" + kBlock, 12, "12 pages of listings found"},
        {"capitals", "PAGE 1 OF <B>12</B></FONT>" + kBlock, 12, "12 pages of listings found"},
        {"two pairs give the last", "of <b>4</b></font> x of <b>9</b></font>" + kBlock, 9,
         "9 pages of listings found"},
        {"blanks and a group separator", "of <b> 1,234 </b></font>", 1234,
         " 1,234  pages of listings found"},
        {"no marker", kBlock, 0, " pages of listings found"},
        {"no end marker", "of <b>12</b>" + kBlock, 77, "No Contents Found between selected Text..."},
        {"second pair without end", "of <b>4</b></font> of <b>9", 77,
         "No Contents Found between selected Text..."},
        {"out of range", "of <b>40000</b></font>", 77, "No Contents Found between selected Text..."},
        {"a word", "of <b>many</b></font>", 77, "No Contents Found between selected Text..."},
        {"nothing between", "of <b></b></font>", 77, "No Contents Found between selected Text..."},
    };
    for (const ProbeCase& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        window.SearchKind = 2;
        window.PageTotal = 77;
        desk.fetch.serve("http://first", c.page);
        window.GetData("http://first", "prefix");

        EXPECT_EQ(window.PageTotal, c.pageTotal) << c.name;
        ASSERT_FALSE(desk.controls.statusHistory.empty()) << c.name;
        // One status text from the probe, whatever the walk shows after it.
        EXPECT_EQ(desk.controls.statusHistory.front(), c.status) << c.name;
        // The walk fetches the same first page again.
        ASSERT_GE(desk.fetch.requests.size(), 2u) << c.name;
        EXPECT_EQ(desk.fetch.requests[0], "http://first") << c.name;
        EXPECT_EQ(desk.fetch.requests[1], "http://first") << c.name;
    }
}

TEST(GetData, TheFirstPageIsFetchedTwiceButWrittenOnce) {
    FakeDesktop desk;
    MainWindow window(desk.platform);
    window.SearchKind = 3;
    window.PageNumber = 2;
    desk.fetch.serve("http://first", "of <b>1</b></font>" + kBlock);
    window.GetData("http://first", "");
    EXPECT_EQ(desk.fetch.requests.size(), 2u);
    EXPECT_EQ(desk.read("Listinglist.txt"), kBlock + "\r\n");
}

TEST(GetData, AFailedFirstFetchReachesTheCaller) {
    FakeDesktop desk;
    MainWindow window(desk.platform);
    desk.fetch.fail("http://first");
    EXPECT_THROW(window.GetData("http://first", ""), FetchError);
    EXPECT_TRUE(desk.controls.statusHistory.empty());
}

}  // namespace
}  // namespace vendra
