#include <gtest/gtest.h>

#include "retrieval/PageCountProbe.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::PageCount;

TEST(PageCountProbe, StoresTheLastCountOfThePageOrKeepsThePreviousTotal) {
    const std::string unreadable = "No Contents Found between selected Text...";
    const struct {
        std::string page;
        std::int16_t pageTotal;  // after the probe; the previous value is 77
        std::string status;
    } cases[] = {
        {PageCount("12") + test::Block("row"), 12, "12 pages of listings found"},
        {"PAGE 1 OF <B>12</B></FONT>", 12, "12 pages of listings found"},
        {PageCount("4") + " x " + PageCount("9"), 9, "9 pages of listings found"},
        {PageCount(" 1.234,5 "), 1234,
         " 1.234,5  pages of listings found"},  // the user's separators
        {test::Block("row"), 0, " pages of listings found"},
        {"of <b>12</b>" + test::Block("row"), 77, unreadable},
        {PageCount("4") + " of <b>9", 77, unreadable},
        {PageCount("40000"), 77, unreadable},
        {PageCount("many"), 77, unreadable},
        {PageCount(""), 77, unreadable},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desk;
        desk.locale.value = {".", ","};
        desk.fetch.serve("http://first", c.page);
        SearchState state;
        state.pageTotal = 77;
        ProbePageCount("http://first", state, desk.fetch, desk.controls, desk.locale);
        EXPECT_EQ(state.pageTotal, c.pageTotal) << c.page;
        EXPECT_EQ(desk.controls.statusHistory, std::vector<std::string>{c.status}) << c.page;
    }
}

TEST(PageCountProbe, AFailedFetchReachesTheCaller) {
    test::FakeDesktop desk;
    SearchState state;
    EXPECT_THROW(ProbePageCount("http://first", state, desk.fetch, desk.controls, desk.locale),
                 FetchError);
    EXPECT_TRUE(desk.controls.statusHistory.empty());
}

}  // namespace
}  // namespace vendra
