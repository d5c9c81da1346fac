// Listing lines read as data: the sample site's own pages, and row shapes by example. The row
// reader fuzz target holds the reader to a plain reading of the same rules on generated rows.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "SitePages.h"
#include "SiteRules.h"
#include "report/ListingRow.h"
#include "retrieval/ListingBlocks.h"

namespace vendra {
namespace {

// The cells as the category and featured pages write them...
std::string CategoryRow(const std::string& title, const std::string& bids,
                        const std::string& anchor = "href=\"http://x/1\"") {
    return "<tr bgcolor=#eeeeee><td width=\"12%\" align=center><a " + anchor +
           "><img src=\"p.gif\" alt=\"[Picture!]\"></a></td><td width=\"50%\"><font size=3><a "
           "href=\"http://x/1\">" +
           title +
           "</a></font></td><TD ALIGN=RIGHT WIDTH=\"12%\"><b>$4.00</b></TD><TD ALIGN=CENTER "
           "WIDTH=\"12%\">" +
           bids +
           "<br></TD><TD ALIGN=RIGHT WIDTH=\"16%\"><font size=2>03/14 18:22</font></TD></tr>";
}
// ...and as the keyword and completed-auction results do.
std::string ResultsRow(const std::string& title, const std::string& bids) {
    return "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#ffffff><tr><td "
           "valign=\"top\" width=\"12%\"><a href=\"http://x/2?a=1&amp;b=2\"><img></a></td><td "
           "valign=\"top\" width=\"50%\"><font size=3><a href=\"http://x/2\">" +
           title +
           "</a></font></td><td align=\"right\" valign=\"top\" width=\"12%\"><font "
           "size=3><b>$1,250.00</b></font></td><td align=\"center\" valign=\"top\" "
           "width=\"12%\"><font size=3>" +
           bids +
           "</font></td><td align=\"right\" valign=\"top\" width=\"16%\"><font "
           "size=2>Ended 01/02 03:04</font></td></tr></table>";
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(ListingRow, ReadsTheCellsOfEveryRowShape) {
    const SearchKind category = SearchKind::Category, keyword = SearchKind::Keyword;
    const std::string cat = "$4.00|03/14 18:22", res = "$1,250.00|Ended 01/02 03:04";
    const struct {
        const char* name;
        SearchKind kind;
        std::string line;
        std::int16_t bids;
        std::string title, link, priceAndEnds;  // "" for cells not told apart
        bool listing = true;
    } cases[] = {
        {"category row", category, CategoryRow("Vintage lamp", "17"), 17, "Vintage lamp",
         "http://x/1", cat},
        {"results row, link as written", keyword, ResultsRow("Rare atlas", " - "), 0, "Rare atlas",
         "http://x/2?a=1&amp;b=2", res},
        {"upper-case markup", keyword, Upper(ResultsRow("Rare atlas", "3")), 3, "RARE ATLAS",
         "HTTP://X/2?A=1&AMP;B=2", Upper(res)},
        {"tags, blanks, '<' as text", category,
         CategoryRow(" <b>Mint</b>\t<img src=new.gif>\n 5 &lt;b&gt; < 6  ", "2"), 2,
         "Mint 5 <b> < 6", "http://x/1", cat},
        {"named and numeric references", category,
         CategoryRow("Caf&eacute;&nbsp;&nbsp;&#147;A&#148; &#xE9;&#233; &bogus; &#0;&#157;&#xD800;"
                     "&#99999999999;&#x110000; &#x41 &amp",
                     "1"),
         1,
         "Caf\u00e9 \u201cA\u201d \u00e9\u00e9 &bogus; \ufffd\ufffd\ufffd\ufffd\ufffd &#x41 &amp",
         "http://x/1", cat},
        {"windows-1252 bytes", category,
         CategoryRow("\x93"
                     "Caf\xe9\x94 \x81",
                     "1", "href=\"http://x/\xe9\""),
         1, "\u201cCaf\u00e9\u201d \ufffd", "http://x/\u00e9", cat},
        {"no end time cell", category,
         CategoryRow("a", "4").substr(0, CategoryRow("a", "4").find("<TD ALIGN=RIGHT WIDTH=\"16")),
         4, "", "http://x/1", ""},
        {"no bid cell, no href", category, "<tr><td>a</td><td>$1</td><td>b</td></tr>", 0, "", "",
         ""},
        {"a table's opening line", category,
         "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#ffffff>", 0, "", "",
         "", false},
    };
    for (const auto& c : cases) {
        const ListingRow row = ReadListingRow(c.line, c.kind, {",", "."});
        EXPECT_EQ(row.bids, c.bids) << c.name;
        EXPECT_EQ(row.title, c.title) << c.name;
        EXPECT_EQ(row.link, c.link) << c.name;
        EXPECT_EQ(c.priceAndEnds.empty() ? row.price + row.ends : row.price + "|" + row.ends,
                  c.priceAndEnds)
            << c.name;
        EXPECT_EQ(row.isListing(), c.listing) << c.name;
    }
}

// Every line of the sample site's listing blocks, in both page layouts and both markups: each
// listing is told apart whole, and every other line is no listing. The pages a newcomer's searches
// walk give each listing a block of its own on one line, so that a results page of such lines
// reads as a table, each with its own picture inside the page; the classic layout, a block of a
// row per line, stays on other categories' pages 2, 7, ... and where a twist asks for it.
TEST(ListingRow, ReadsEveryListingOfTheSampleSite) {
    using site::SearchHost;
    site::PageTwist classic;
    classic.classic = true;
    struct Page {
        SearchKind kind;
        std::string page;
        bool classic;
    };
    std::vector<Page> pages{
        {SearchKind::Category, site::CategoryListingPage("12345", 2), true},
        {SearchKind::Category, site::CategoryListingPage("pages12", 7), true},
        {SearchKind::Category, site::CategoryListingPage("12345", 3), false},
        {SearchKind::Category, site::CategoryListingPage("267", 1, classic), true},
        {SearchKind::Featured, site::FeaturedPage(2), false},
        {SearchKind::Keyword, site::SearchResultsPage(SearchHost::Keyword, "lamp", 50), false},
        {SearchKind::Keyword, site::SearchResultsPage(SearchHost::Keyword, "lamp", 0, classic),
         true},
        {SearchKind::Completed, site::SearchResultsPage(SearchHost::Completed, "lamp", 50), false},
    };
    for (const site::TopCategory& category : site::TopCategories())
        for (std::uint64_t page = 1; page <= site::CategoryPageCount(category.number); ++page)
            pages.push_back(
                {SearchKind::Category, site::CategoryListingPage(category.number, page), false});
    const std::regex title(R"(.+ \((category \w+ page \d+|featured page 2|query lamp listing) )"
                           R"(r?o?w? ?\d+\))"),
        link(R"(http://cgi\.ebay\.com/aw-cgi/eBayISAPI\.dll\?ViewItem&item=\d{9})"),
        price(R"(\$\d+\.\d\d)"), ends(R"((Ended )?\d\d/\d\d \d\d:\d\d)");
    for (const auto& p : pages) {
        int listings = 0, rows = 0;
        std::set<std::string> pictures;
        ListingBlocks blocks(p.page);
        while (const auto block = blocks.next()) {
            EXPECT_EQ(block->find("\r\n") == std::string_view::npos, !p.classic) << *block;
            for (std::size_t at = 0; at <= block->size();) {
                const std::size_t end = std::min(block->find("\r\n", at), block->size());
                const std::string line(block->substr(at, end - at));
                at = end + 2;
                const ListingRow row = ReadListingRow(line, p.kind, {",", "."});
                rows += line.find("ViewItem") != std::string::npos;
                if (!row.isListing()) continue;
                ++listings;
                EXPECT_TRUE(std::regex_match(row.title, title)) << row.title;
                EXPECT_TRUE(std::regex_match(row.link, link)) << row.link;
                EXPECT_TRUE(std::regex_match(row.price, price)) << row.price;
                EXPECT_TRUE(std::regex_match(row.ends, ends)) << row.ends;
                const std::size_t from =
                    std::min(line.find(" src=\"data:image/svg+xml;base64,"), line.size());
                const std::string picture = line.substr(from, line.find('"', from + 6) - from);
                EXPECT_TRUE(picture.size() > 300 && picture.size() < 800) << line;
                pictures.insert(picture);
            }
        }
        EXPECT_GT(listings, 0);
        EXPECT_EQ(listings, rows);
        EXPECT_EQ(pictures.size(), static_cast<std::size_t>(listings));
    }
}

}  // namespace
}  // namespace vendra
