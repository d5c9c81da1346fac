#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

using test::FakeDesktop;

const std::string kBlock =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#fff>row</table>";
const std::string kNoEnd = "No Contents Found between selected Text...";

TEST(GetData, ReadsThePageCountAndWalksFromTheSameUrl) {
    struct Case {
        const char* name;
        std::string page;
        std::int16_t pageTotal;  // after the probe; the previous value is 77
        std::string status;
    };
    const Case cases[] = {
        {"count 12", "Page 1 of <b>12</b></font>" + kBlock, 12, "12 pages of listings found"},
        {"capitals", "PAGE 1 OF <B>12</B></FONT>" + kBlock, 12, "12 pages of listings found"},
        {"two pairs give the last", "of <b>4</b></font> x of <b>9</b></font>", 9,
         "9 pages of listings found"},
        {"no marker", kBlock, 0, " pages of listings found"},
        {"no end marker", "of <b>12</b>" + kBlock, 77, kNoEnd},
        {"second pair without end", "of <b>4</b></font> of <b>9", 77, kNoEnd},
        {"out of range", "of <b>40000</b></font>", 77, kNoEnd},
        {"a word", "of <b>many</b></font>", 77, kNoEnd},
    };
    for (const Case& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        window.SearchKind = 2;
        window.PageNumber = 2;
        window.PageTotal = 77;
        desk.fetch.serve("http://first", c.page);
        window.GetData("http://first", "prefix");

        EXPECT_EQ(window.PageTotal, c.pageTotal) << c.name;
        // One status text from the probe, whatever the walk shows after it.
        ASSERT_FALSE(desk.controls.statusHistory.empty()) << c.name;
        EXPECT_EQ(desk.controls.statusHistory.front(), c.status) << c.name;
        // The walk fetches the same first page again, then the pages after it (unserved here).
        ASSERT_EQ(desk.fetch.requests.size(), std::max<std::size_t>(c.pageTotal, 1) + 1) << c.name;
        EXPECT_EQ(desk.fetch.requests[1], "http://first") << c.name;
    }
}

TEST(GetData, AFailedFirstFetchReachesTheCaller) {
    FakeDesktop desk;
    MainWindow window(desk.platform);
    EXPECT_THROW(window.GetData("http://first", ""), FetchError);  // nothing served
    EXPECT_TRUE(desk.controls.statusHistory.empty());
}

}  // namespace
}  // namespace vendra
