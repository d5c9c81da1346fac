#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/Failure.h"
#include "app/MainWindow.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

const std::string kListingsCell = "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";
const std::string kResultsCell =
    "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>";
const std::string kResultsCellInCapitals =
    "</TD><TD ALIGN=\"CENTER\" VALIGN=\"TOP\" WIDTH=\"12%\"><FONT SIZE=3>";

std::string ListingsRow(const std::string& cell) {
    return "<TR><TD>Brass compass" + kListingsCell + cell + "<br></TD><TD>Mar-14</TD></TR>";
}

std::string ResultsRow(const std::string& cell) {
    return "<tr><td>Brass compass" + kResultsCell + cell + "</font></td><td>Mar-14</td></tr>";
}

struct BidCase {
    std::int16_t kind;
    std::string line;
    std::optional<std::int16_t> bids;  // nullopt: the line fails with `failure`
    Failure::Kind failure = Failure::Kind::TypeMismatch;
};

TEST(StripBid, ReadsTheBidCellOfTheSearchKind) {
    using K = Failure::Kind;
    const BidCase cases[] = {
        {1, ResultsRow(" 5 "), 5},
        {2, ListingsRow("17"), 17},
        {3, ListingsRow("17"), 17},
        {4, ResultsRow(" 5 "), 5},
        {2, ListingsRow("-"), 0},
        {1, ListingsRow("17"), 0},  // the other kind's cell is no cell
        {2, ResultsRow("17"), 0},
        {2, ListingsRow("1.234"), 1234},  // the user's digit grouping
        {2, "<TR><TD>Brass compass</TD></TR>", 0},
        {0, ListingsRow("17") + ResultsRow("17"), 0},
        {5, ListingsRow("17") + ResultsRow("17"), 0},
        {1, "<tr>" + kResultsCellInCapitals + "6</font></tr>", 6},
        {1, "<tr>" + kResultsCell + "4</FONT></tr>", 4},
        {2, "<TR>" + kListingsCell + "3<br>" + kListingsCell + "8<br></TR>", 8},
        // Only the first cell of a line is found in any letter case.
        {1, "<tr>" + kResultsCell + "3</font>" + kResultsCellInCapitals + "8</font></tr>", 3},
        {2, ListingsRow("40000"), std::nullopt, K::Overflow},
        {1, ResultsRow("many"), std::nullopt},
        {2, "<TR>" + kListingsCell + "x<br>" + kListingsCell + "8<br></TR>", std::nullopt},
        {2, "<TR>" + kListingsCell + "17</TD></TR>", std::nullopt, K::MissingEndMarker},
        {1, "<tr>" + kResultsCell + "5<br></tr>", std::nullopt, K::MissingEndMarker},
        {1, "<tr>" + kResultsCell, std::nullopt, K::MissingEndMarker},
    };
    test::FakeDesktop desktop;
    desktop.locale.value = {".", ","};  // the user's separators, not the usual ones
    MainWindow window(desktop.platform);
    for (const BidCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + ": " + c.line);
        window.SearchKind = c.kind;
        try {
            const std::int16_t bids = window.StripBid(c.line);
            EXPECT_EQ(std::optional(bids), c.bids);
        } catch (const Failure& failure) {
            EXPECT_FALSE(c.bids) << "failed instead of reading " << *c.bids;
            EXPECT_EQ(failure.kind(), c.failure);
        }
    }
}

}  // namespace
}  // namespace vendra
