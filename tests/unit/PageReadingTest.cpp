// What the program reads from a fetched page: its listing blocks, its page count, its listing
// count.

#include <gtest/gtest.h>

#include <vector>

#include "retrieval/ListingBlocks.h"
#include "retrieval/ListingCount.h"
#include "retrieval/PageCountProbe.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;
using test::kBlockStart;

std::vector<std::string> Cut(const std::string& page) {
    std::vector<std::string> blocks;
    ListingBlocks cutter(page);
    while (auto block = cutter.next()) blocks.emplace_back(*block);
    return blocks;
}

// The page walk fuzz target holds the cutter to a plain one on any page; these are the rules.
TEST(ListingBlocks, CutsEveryBlockInPageOrderWithItsBytes) {
    // Line breaks of every kind inside a block belong to the page and are kept.
    const std::string a = Block("row a1\r\nrow a2", "#eeeeee"), b = Block("row b1\nrow b2\rrow b3");
    const std::string upper =
        "<TABLE WIDTH=\"100%\" CELLPADDING=4 BORDER=0 CELLSPACING=0 BGCOLOR=#FFFFFF>";
    const struct {
        const char* name;
        std::string page;
        std::vector<std::string> blocks;
    } cases[] = {
        {"page order",
         "<html>" + a + "<p>between</p>" + b + "\r\n" + Block("c") + "</html>",
         {a, b, Block("c")}},
        // A start marker in capitals is found as the first block of a page only; an end marker
        // in capitals always.
        {"capitals",
         upper + "row 1</TABLE>" + upper + "row 2</table>" + Block("row 3"),
         {upper + "row 1</TABLE>", Block("row 3")}},
        {"cut short", Block("kept") + kBlockStart + "#fff>cut short", {Block("kept")}},
        {"no block", "<html>no listings</html>", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Cut(c.page), c.blocks) << c.name;
}

using test::PageCount;

TEST(PageCountProbe, StoresTheLastCountOfThePageOrKeepsThePreviousTotal) {
    using progress::PagesAnnounced;
    const Progress unreadable = progress::PagesUnreadable{};
    const struct {
        std::string page;
        std::int16_t pageTotal;  // after the probe; the previous value is 77
        Progress reported;
    } cases[] = {
        {PageCount("12") + test::Block("row"), 12, PagesAnnounced{"12", 12}},
        {"PAGE 1 OF <B>12</B></FONT>", 12, PagesAnnounced{"12", 12}},
        {PageCount("4") + " x " + PageCount("9"), 9, PagesAnnounced{"9", 9}},
        {PageCount(" 1.234,5 "), 1234, PagesAnnounced{" 1.234,5 ", 1234}},  // the user's separators
        {test::Block("row"), 0, PagesAnnounced{"", 0}},
        {"of <b>12</b>" + test::Block("row"), 77, unreadable},
        {PageCount("4") + " of <b>9", 77, unreadable},
        {PageCount("40000"), 77, unreadable},
        {PageCount("many"), 77, unreadable},
        {PageCount(""), 77, unreadable},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desk;
        test::ProgressLog progress;
        desk.locale.value = {".", ","};
        desk.fetch.serve("http://first", c.page);
        SearchState state;
        state.pageTotal = 77;
        ProbePageCount("http://first", state, desk.fetch, desk.locale, progress);
        EXPECT_EQ(state.pageTotal, c.pageTotal) << c.page;
        EXPECT_EQ(progress.events, std::vector<Progress>{c.reported}) << c.page;
    }
}

TEST(ListingCount, ReadsTheCountCellAsWritten) {
    using S = ListingCount::Status;
    const struct {
        std::string page;
        S status;
        std::string text;
        std::int32_t listings;
    } cases[] = {
        {"<table>" + test::CountCell("120"), S::Found, "120", 120},
        {test::CountCell("1,234"), S::Found, "1,234", 1234},
        {"<TR><TD><FONT SIZE=\"2\" FACE=\"ARIAL, HELVETICA, SANS-SERIF\"><B>7</B>", S::Found, "7",
         7},
        {test::CountCell("many"), S::NotANumber, "many", 0},
        // Without the cell the count is cut from where the cell's text would have begun.
        {std::string(70, 'x') + "no count cell</b> at all", S::NotANumber,
         std::string(9, 'x') + "no count cell", 0},
        {test::CountCell("99999999999"), S::Overflow, "99999999999", 0},
        {"<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>120", S::NoEnd, "", 0},
        {"short page", S::NoEnd, "", 0},
    };
    for (const auto& c : cases) {
        const ListingCount count = ReadListingCount(c.page, {",", "."});
        EXPECT_EQ(count.status, c.status) << c.page;
        EXPECT_EQ(count.text, c.text) << c.page;
        EXPECT_EQ(count.listings, c.listings) << c.page;
    }
}

}  // namespace
}  // namespace vendra
