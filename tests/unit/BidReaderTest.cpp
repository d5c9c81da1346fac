#include <gtest/gtest.h>

#include "report/BidReader.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::ListingsCell;
using test::ListingsRow;
using test::ResultsCell;
using test::ResultsRow;

// The rules by example; the bid reader fuzz target holds the reader to a plain reading of them on
// any line.
TEST(BidReader, ReadsTheBidCellOfTheSearchKind) {
    using S = BidReading::Status;
    const SearchKind keyword = SearchKind::Keyword, category = SearchKind::Category;
    const std::string capitals =
        "</TD><TD ALIGN=\"CENTER\" VALIGN=\"TOP\" WIDTH=\"12%\"><FONT SIZE=3>";
    const struct {
        SearchKind kind;
        std::string line;
        S status;
        std::int16_t bids;
    } cases[] = {
        {keyword, ResultsRow("a", " 5 "), S::Ok, 5},
        {SearchKind::Completed, ResultsRow("a", "5"), S::Ok, 5},
        {category, ListingsRow("a", "17"), S::Ok, 17},
        {category, ListingsRow("a", "1.234"), S::Ok, 1234},  // the user's digit grouping
        {category, ListingsRow("a"), S::Ok, 0},
        {keyword, "<tr>" + capitals + "6</font></tr>", S::Ok, 6},
        // The last cell counts; only the first is found in any letter case.
        {category, "<TR>" + ListingsCell("3") + ListingsCell("8") + "</TR>", S::Ok, 8},
        {keyword, "<tr>" + ResultsCell("3") + capitals + "8</font></tr>", S::Ok, 3},
        {category, ListingsRow("a", "40000"), S::Overflow, 0},
        {category, "<TR></TD><TD ALIGN=CENTER WIDTH=\"12%\">17</TD></TR>", S::CellNotClosed, 0},
    };
    for (const auto& c : cases) {
        const BidReading reading = ReadBids(c.line, c.kind, {".", ","});
        EXPECT_EQ(reading.status, c.status) << c.line;
        EXPECT_EQ(reading.bids, c.bids) << c.line;
    }
}

}  // namespace
}  // namespace vendra
