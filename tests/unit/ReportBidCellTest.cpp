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

std::string ListingsRow(const std::string& cellText) {
    return "<TR><TD><A HREF=\"http://x/1\">Brass compass</A>" + kListingsCell + cellText +
           "<br></TD><TD>Mar-14</TD></TR>";
}

std::string ResultsRow(const std::string& cellText) {
    return "<tr><td><a href=\"http://x/1\">Brass compass</a>" + kResultsCell + cellText +
           "</font></td><td>Mar-14</td></tr>";
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

struct BidCase {
    const char* name;
    std::int16_t kind;
    std::string line;
    std::optional<std::int16_t> bids;  // nullopt: the line fails
    std::optional<Failure::Kind> failure = std::nullopt;
};

TEST(StripBid, ReadsTheLastBidCellOfALine) {
    using K = Failure::Kind;
    const BidCase cases[] = {
        {"category cell", 2, ListingsRow("17"), 17},
        {"featured cell", 3, ListingsRow("17"), 17},
        {"dash counts as no bids", 2, ListingsRow("-"), 0},
        {"keyword cell with blanks", 1, ResultsRow(" 5 "), 5},
        {"completed cell with blanks", 4, ResultsRow(" 5 "), 5},
        {"negative cell", 2, ListingsRow("-4"), -4},
        {"digit grouping of the locale", 1, ResultsRow("1,234"), 1234},
        {"fraction goes to the even neighbour", 1, ResultsRow("2.5"), 2},
        {"no cell", 2, "<TR><TD>Brass compass</TD></TR>", 0},
        {"empty line", 1, "", 0},
        {"other kind's cell is no cell", 1, ListingsRow("17"), 0},
        {"capital first marker is found", 1, "<tr>" + Upper(kResultsCell) + "6</font></td></tr>",
         6},
        {"lower-case first marker is found", 2, "<tr>" + Lower(kListingsCell) + "9<br></tr>", 9},
        {"closing marker in any case", 1, "<tr>" + kResultsCell + "4</FONT></td></tr>", 4},
        {"two cells: the last wins", 2,
         "<TR>" + kListingsCell + "3<br>" + kListingsCell + "8<br></TR>", 8},
        {"capital second marker is not found", 1,
         "<tr>" + kResultsCell + "3</font>" + Upper(kResultsCell) + "8</font></tr>", 3},
        {"capital second marker hides even a bad cell", 1,
         "<tr>" + kResultsCell + "3</font>" + Upper(kResultsCell) + "x</font></tr>", 3},
        {"bytes of any kind around the cell", 2,
         std::string("\0\n\xff", 3) + ListingsRow("12") + std::string("\n\0", 2), 12},
        {"kind 0 reads nothing", 0, ListingsRow("17"), 0},
        {"kind 5 reads nothing", 5, ResultsRow("17"), 0},
        {"kind 5 ignores a bad cell", 5, ListingsRow("abc"), 0},
        {"out of range", 2, ListingsRow("40000"), std::nullopt, K::Overflow},
        {"letters", 1, ResultsRow("many"), std::nullopt, K::TypeMismatch},
        {"empty cell", 2, ListingsRow(""), std::nullopt, K::TypeMismatch},
        {"bad first of two cells", 2,
         "<TR>" + kListingsCell + "x<br>" + kListingsCell + "8<br></TR>", std::nullopt,
         K::TypeMismatch},
        {"missing closing marker", 2, "<TR>" + kListingsCell + "17</TD></TR>", std::nullopt,
         K::MissingEndMarker},
        {"marker at the very end", 1, "<tr>" + kResultsCell, std::nullopt, K::MissingEndMarker},
        {"other kind's closing marker", 1, "<tr>" + kResultsCell + "5<br></tr>", std::nullopt,
         K::MissingEndMarker},
    };
    test::FakeDesktop desktop;
    MainWindow window(desktop.platform);
    for (const BidCase& c : cases) {
        SCOPED_TRACE(c.name);
        window.SearchKind = c.kind;
        if (c.bids) {
            EXPECT_EQ(window.StripBid(c.line), *c.bids);
            continue;
        }
        try {
            const std::int16_t bids = window.StripBid(c.line);
            ADD_FAILURE() << "read " << bids << " instead of failing";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.kind(), *c.failure);
        }
    }
}

TEST(StripBid, ReadsCellsWithTheUsersLocale) {
    test::FakeDesktop desktop;
    desktop.locale.value = {".", ","};
    MainWindow window(desktop.platform);
    window.SearchKind = 2;
    EXPECT_EQ(window.StripBid(ListingsRow("1.234")), 1234);
    EXPECT_EQ(window.StripBid(ListingsRow("3,5")), 4);
    EXPECT_THROW(window.StripBid(ListingsRow("1,2,3")), Failure);
}

}  // namespace
}  // namespace vendra
