#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "SitePages.h"
#include "SiteRules.h"
#include "SiteTarget.h"
#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra::site {
namespace {

// The texts the program looks for, written out here so that the pages are held to them.
const std::string kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
const std::string kBlockEnd = "</table>";
const std::string kCategoryBidCell = "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";
const std::string kSearchBidCell =
    "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>";
const std::string kSearchCountCell =
    "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
const NumberSeparators kEnglish{",", "."};

enum class RowKind { Category, Search };

std::size_t CountIgnoringCase(const std::string& text, const std::string& marker) {
    std::size_t count = 0;
    for (std::size_t p = FindText(text, marker, 1, LetterCase::Ignore); p > 0;
         p = FindText(text, marker, p + 1, LetterCase::Ignore))
        ++count;
    return count;
}

// The count text the page-count probe would read: between the last "of <b>" and the first
// "</b></font>" after it.
std::string ProbedPageCount(const std::string& page) {
    std::size_t last = 0;
    for (std::size_t p = FindText(page, "of <b>", 1, LetterCase::Ignore); p > 0;
         p = FindText(page, "of <b>", p + 1, LetterCase::Ignore))
        last = p;
    if (last == 0) return "<none>";
    const std::size_t end = FindText(page, "</b></font>", last + 6, LetterCase::Ignore);
    if (end == 0) return "<no end>";
    return std::string(TextAt(page, last + 6, end - last - 6));
}

std::string SearchCountText(const std::string& page) {
    const std::size_t p = FindText(page, kSearchCountCell, 1, LetterCase::Ignore);
    if (p == 0) return "<none>";
    const std::size_t end = FindText(page, "</b>", p + kSearchCountCell.size(), LetterCase::Ignore);
    return std::string(
        TextAt(page, p + kSearchCountCell.size(), end - p - kSearchCountCell.size()));
}

// Every line break is CR LF.
void ExpectCrLfOnly(const std::string& page) {
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\n') {
            EXPECT_TRUE(i > 0 && page[i - 1] == '\r') << "lone LF at " << i;
        }
        if (page[i] == '\r') {
            EXPECT_TRUE(i + 1 < page.size() && page[i + 1] == '\n') << "lone CR at " << i;
        }
    }
}

std::vector<std::string> LinesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
         start = end + 2)
        lines.emplace_back(text.substr(start, end - start));
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

// Cuts the listing blocks as the walk does, checks their shape and returns their rows. Every
// row holds exactly one bid cell, closed right after the count, with "-" or 1 to 40 in it.
std::vector<std::string> ListingRows(const std::string& page, RowKind kind,
                                     std::size_t* blockCount = nullptr) {
    const std::string& cell = kind == RowKind::Category ? kCategoryBidCell : kSearchBidCell;
    const std::string close = kind == RowKind::Category ? "<br>" : "</font>";
    static const std::regex kOpening(
        "<table width=\"100%\" cellpadding=4 border=0 "
        "cellspacing=0 bgcolor=#[0-9a-f]{6}>");
    std::vector<std::string> rows;
    std::size_t blocks = 0;
    for (std::size_t p = FindText(page, kBlockStart, 1, LetterCase::Ignore); p > 0;
         p = FindText(page, kBlockStart, p + 1, LetterCase::Exact)) {
        ++blocks;
        const std::size_t e = FindText(page, kBlockEnd, p + kBlockStart.size(), LetterCase::Ignore);
        EXPECT_GT(e, 0u) << "block without an end";
        if (e == 0) break;
        const std::vector<std::string> lines = LinesOf(TextAt(page, p, e - p + kBlockEnd.size()));
        EXPECT_TRUE(std::regex_match(lines.front(), kOpening)) << lines.front();
        EXPECT_EQ(lines.back(), kBlockEnd);
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            const std::string& row = lines[i];
            EXPECT_EQ(CountIgnoringCase(row, cell), 1u) << row;
            const std::size_t at = row.find(cell);
            EXPECT_NE(at, std::string::npos) << "bid cell not in its exact case: " << row;
            if (at == std::string::npos) continue;
            const std::size_t end = row.find(close, at + cell.size());
            const std::string bids = row.substr(at + cell.size(), end - at - cell.size());
            const NumberReading reading = ReadNumber(bids, NumberWidth::Int16, kEnglish);
            EXPECT_TRUE(bids == "-" || (reading.ok() && reading.value >= 1 && reading.value <= 40))
                << bids;
            rows.push_back(row);
        }
    }
    EXPECT_EQ(CountIgnoringCase(page, kBlockStart), blocks)
        << "something outside the listing tables looks like one";
    if (blockCount) *blockCount = blocks;
    return rows;
}

SiteRequest Get(std::string host, std::string path,
                std::multimap<std::string, std::string> params = {}) {
    return {std::move(host), std::move(path), std::move(params)};
}

SitePage Category(const std::string& number, std::uint64_t page, const PageTwist& twist = {}) {
    const std::string path = "/aw/plistings/list/category" + number +
                             (page == 1 ? "/index.html" : "/page" + std::to_string(page) + ".html");
    return RenderPage(Get("listings.ebay.com", path), twist);
}

SitePage Search(const std::string& host, const std::string& query,
                std::optional<std::uint64_t> skip, const PageTwist& twist = {}) {
    std::multimap<std::string, std::string> params{{"query", query}, {"ht", "1"}};
    if (skip) params.emplace("skip", std::to_string(*skip));
    return RenderPage(Get(host, "/search/search.dll", params), twist);
}

// The numbers that row tags of this shape carry, in page order.
std::vector<std::uint64_t> TaggedNumbers(const std::vector<std::string>& rows,
                                         const std::string& tag) {
    std::vector<std::uint64_t> numbers;
    for (const std::string& row : rows) {
        const std::size_t at = row.find(tag);
        const std::size_t close = at == std::string::npos ? at : row.find(')', at);
        const std::string digits = close == std::string::npos
                                       ? std::string()
                                       : row.substr(at + tag.size(), close - at - tag.size());
        const bool number =
            !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
        EXPECT_TRUE(number) << "no '" << tag << "N)' in " << row;
        if (number) numbers.push_back(std::stoull(digits));
    }
    return numbers;
}

TEST(SampleSiteCategoryPages, EveryPageHoldsTheCountAndWellFormedListingTables) {
    for (const std::string number : {"267", "1", "99", "", "12 34", "abc", "pages3", "0"}) {
        const std::uint64_t pages = CategoryPageCount(number);
        for (std::uint64_t page = 1; page <= pages; ++page) {
            SCOPED_TRACE("category '" + number + "' page " + std::to_string(page));
            const SitePage site = Category(number, page);
            EXPECT_EQ(site.status, 200);
            ExpectCrLfOnly(site.body);
            EXPECT_EQ(ProbedPageCount(site.body), std::to_string(pages));
            EXPECT_EQ(CountIgnoringCase(site.body, "of <b>"), 2u);

            std::size_t blocks = 0;
            const auto rows = ListingRows(site.body, RowKind::Category, &blocks);
            EXPECT_TRUE(blocks == 1 || blocks == 2) << blocks;
            EXPECT_GE(rows.size(), 25u);
            EXPECT_LE(rows.size(), 50u);
            const auto numbers = TaggedNumbers(
                rows, "(category " + number + " page " + std::to_string(page) + " row ");
            for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], i + 1);
        }
    }
}

TEST(SampleSiteCategoryPages, PagesOutsideTheCountShowTheCountButNoListings) {
    for (const auto& [number, page] : std::vector<std::pair<std::string, std::uint64_t>>{
             {"267", CategoryPageCount("267") + 1}, {"pages2", 3}, {"1", 0}, {"99", 32767}}) {
        const SitePage site = Category(number, page);
        EXPECT_EQ(site.status, 200) << number << " " << page;
        EXPECT_EQ(ProbedPageCount(site.body), std::to_string(CategoryPageCount(number)));
        EXPECT_EQ(CountIgnoringCase(site.body, kBlockStart), 0u) << number << " " << page;
    }
}

// The counts the README promises; end-to-end tests pick their categories and queries by them.
TEST(SampleSiteRules, CountsAreTheDocumentedOnes) {
    const std::pair<std::string, std::uint64_t> pageCounts[] = {
        {"267", 4},
        {"1", 6},
        {"99", 5},
        {"353", 8},
        {"6000", 1},
        {"", 7},
        {"0", 3},
        {"pages12", 12},
        {"pages40000", 40000},
        {"pages", CategoryPageCount("pages")}};
    for (const auto& [number, count] : pageCounts)
        EXPECT_EQ(CategoryPageCount(number), count) << number;
    EXPECT_NE(CategoryPageCount("pages"), 0u);

    std::set<std::uint64_t> spread;
    for (const TopCategory& category : TopCategories()) {
        EXPECT_GE(CategoryPageCount(category.number), 1u);
        EXPECT_LE(CategoryPageCount(category.number), 8u);
        spread.insert(CategoryPageCount(category.number));
    }
    EXPECT_EQ(TopCategories().size(), 23u);
    EXPECT_EQ(spread.size(), 8u);

    const std::pair<std::string, std::uint64_t> listingCounts[] = {
        {"red shoe", 112}, {"teddy bear", 55},   {"lamp", 61},
        {"camera", 144},   {"stamp", 17},        {"nothing", 0},
        {"listings0", 0},  {"listings100", 100}, {"listings1234", 1234}};
    for (const auto& [query, count] : listingCounts)
        EXPECT_EQ(SearchListingCount(query), count) << query;
}

TEST(SampleSiteFeaturedPages, AnswerBothUrlShapesAndStandApartFromCategoryZero) {
    const SitePage first =
        RenderPage(Get("listings.ebay.com", "/aw/plistings/list/featured/index.html"));
    EXPECT_EQ(first.body, FeaturedPage(1));
    EXPECT_EQ(ProbedPageCount(first.body), std::to_string(kFeaturedPageCount));

    const SitePage third = RenderPage(
        Get("listings.ebay.com", "/aw/plistings/list/category0/page3.html", {{"featured", ""}}));
    const auto featuredRows = ListingRows(third.body, RowKind::Category);
    EXPECT_FALSE(featuredRows.empty());
    EXPECT_EQ(TaggedNumbers(featuredRows, "(featured page 3 row ").size(), featuredRows.size());

    const SitePage categoryZero = Category("0", 3);
    EXPECT_NE(categoryZero.body, third.body);
    const auto zeroRows = ListingRows(categoryZero.body, RowKind::Category);
    EXPECT_EQ(TaggedNumbers(zeroRows, "(category 0 page 3 row ").size(), zeroRows.size());
}

TEST(SampleSitePages, TheSameRequestGivesTheSameBytes) {
    const std::vector<std::pair<SiteRequest, SiteRequest>> different = {
        {Get("listings.ebay.com", "/aw/plistings/list/category267/index.html"),
         Get("listings.ebay.com", "/aw/plistings/list/category267/page2.html")},
        {Get("listings.ebay.com", "/aw/plistings/list/category267/page2.html"),
         Get("listings.ebay.com", "/aw/plistings/list/category353/page2.html")},
        {Get("search.ebay.com", "/search/search.dll", {{"query", "red shoe"}}),
         Get("search.ebay.com", "/search/search.dll", {{"query", "red shoe"}, {"skip", "50"}})},
        {Get("search.ebay.com", "/search/search.dll", {{"query", "red shoe"}}),
         Get("search-desc.ebay.com", "/search/search.dll", {{"query", "red shoe"}})},
    };
    for (const auto& [one, other] : different) {
        EXPECT_EQ(RenderPage(one).body, RenderPage(one).body) << one.path;
        EXPECT_NE(RenderPage(one).body, RenderPage(other).body) << one.path;
    }
}

struct SearchCase {
    std::string host;
    std::string query;
    std::uint64_t count;
    std::string countText;
};

TEST(SampleSiteSearchPages, FiftyListingsFollowEachOffsetUpToTheCount) {
    const SearchCase cases[] = {
        {"search.ebay.com", "red shoe", 112, "112"},
        {"search-desc.ebay.com", "teddy bear", 55, "55"},
        {"search-completed.ebay.com", "lamp", 61, "61"},
        {"search.ebay.com", "listings100", 100, "100"},
        {"search.ebay.com", "nothing", 0, "0"},
        {"search.ebay.com", "listings1234", 1234, "1,234"},
    };
    for (const SearchCase& c : cases) {
        std::vector<std::uint64_t> seen;
        // The walk's offsets: the first page has no skip key, then 50, 100, ... and one page at
        // or past the count.
        for (std::uint64_t offset = 0;; offset += kListingsPerSearchPage) {
            SCOPED_TRACE(c.host + " '" + c.query + "' offset " + std::to_string(offset));
            const SitePage site =
                Search(c.host, c.query, offset == 0 ? std::nullopt : std::optional(offset));
            EXPECT_EQ(site.status, 200);
            ExpectCrLfOnly(site.body);
            EXPECT_EQ(SearchCountText(site.body), c.countText);
            EXPECT_EQ(ReadNumber(SearchCountText(site.body), NumberWidth::Int32, kEnglish).value,
                      static_cast<std::int32_t>(c.count));

            std::size_t blocks = 0;
            const auto rows = ListingRows(site.body, RowKind::Search, &blocks);
            EXPECT_EQ(blocks, 1u);
            const auto numbers = TaggedNumbers(rows, "(query " + c.query + " listing ");
            const std::uint64_t expected =
                offset >= c.count ? 0 : std::min<std::uint64_t>(50, c.count - offset);
            EXPECT_EQ(numbers.size(), expected);
            for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], offset + i + 1);
            seen.insert(seen.end(), numbers.begin(), numbers.end());
            if (offset >= c.count) break;
        }
        EXPECT_EQ(seen.size(), c.count) << c.query;
    }
}

TEST(SampleSiteSearchPages, CompletedRowsAreMarkedEnded) {
    const auto completed =
        ListingRows(Search("search-completed.ebay.com", "lamp", {}).body, RowKind::Search);
    ASSERT_FALSE(completed.empty());
    for (const std::string& row : completed)
        EXPECT_NE(row.find(">Ended: "), std::string::npos) << row;
    for (const std::string& row :
         ListingRows(Search("search.ebay.com", "lamp", {}).body, RowKind::Search))
        EXPECT_EQ(row.find("Ended"), std::string::npos) << row;
}

TEST(SampleSitePages, TwistsChangeOnlyWhatTheyName) {
    PageTwist word;
    word.count = PageTwist::Count::Word;
    PageTwist missing;
    missing.count = PageTwist::Count::Missing;
    PageTwist outOfRange;
    outOfRange.countText = "40000";
    PageTwist thousands;
    thousands.countText = "1234";

    EXPECT_EQ(ProbedPageCount(Category("267", 1, word).body), "many");
    EXPECT_EQ(ProbedPageCount(Category("267", 1, missing).body), "<none>");
    const SitePage tooMany = Category("267", 1, outOfRange);
    EXPECT_EQ(ProbedPageCount(tooMany.body), "40000");
    EXPECT_EQ(ReadNumber(ProbedPageCount(tooMany.body), NumberWidth::Int16, kEnglish).status,
              NumberReading::Status::Overflow);
    EXPECT_FALSE(ListingRows(Category("267", 1, word).body, RowKind::Category).empty());
    // Pages past the real count follow the count the page shows.
    EXPECT_FALSE(ListingRows(Category("267", 9, outOfRange).body, RowKind::Category).empty());

    EXPECT_EQ(SearchCountText(Search("search.ebay.com", "lamp", {}, word).body), "many");
    EXPECT_EQ(SearchCountText(Search("search.ebay.com", "lamp", {}, thousands).body), "1,234");
    EXPECT_EQ(ListingRows(Search("search.ebay.com", "lamp", 1200, thousands).body, RowKind::Search)
                  .size(),
              34u);

    // Without the count cell the program reads from position 62 to the first "</b>": that
    // must exist and must not read as a number.
    const std::string noCount = Search("search.ebay.com", "lamp", {}, missing).body;
    EXPECT_EQ(SearchCountText(noCount), "<none>");
    const std::size_t end = FindText(noCount, "</b>", 62, LetterCase::Ignore);
    ASSERT_GT(end, 62u);
    EXPECT_FALSE(ReadNumber(TextAt(noCount, 62, end - 62), NumberWidth::Int32, kEnglish).ok());
}

TEST(SampleSitePages, BigPagesStayWellFormed) {
    PageTwist big;
    big.big = true;
    const std::string category = Category("267", 2, big).body;
    EXPECT_GE(category.size(), kBigPageBytes);
    EXPECT_LT(category.size(), 2 * kBigPageBytes);
    EXPECT_GT(ListingRows(category, RowKind::Category).size(), 5000u);
    EXPECT_EQ(ProbedPageCount(category), std::to_string(CategoryPageCount("267")));

    const std::string search = Search("search.ebay.com", "red shoe", 100, big).body;
    EXPECT_GE(search.size(), kBigPageBytes);
    const auto numbers =
        TaggedNumbers(ListingRows(search, RowKind::Search), "(query red shoe listing ");
    ASSERT_GT(numbers.size(), 5000u);
    EXPECT_EQ(numbers.front(), 101u);
    EXPECT_EQ(numbers.back(), 100 + numbers.size());
}

// Typed text comes back in titles and headings; it must never open a table, close one, add a
// bid cell or break a row across lines.
TEST(SampleSitePages, TypedTextCannotBreakTheMarkup) {
    const std::string hostile =
        "</table><table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#000000>"
        "\r\n</TD><TD ALIGN=CENTER WIDTH=\"12%\">7<br> of <b>3</b></font>" +
        kSearchBidCell + "9</font>";
    const std::string category = Category(hostile, 1).body;
    ExpectCrLfOnly(category);
    EXPECT_EQ(ProbedPageCount(category), std::to_string(CategoryPageCount(hostile)));
    EXPECT_GE(ListingRows(category, RowKind::Category).size(), 25u);

    const std::string search = Search("search.ebay.com", hostile, {}).body;
    ExpectCrLfOnly(search);
    EXPECT_EQ(SearchCountText(search), std::to_string(SearchListingCount(hostile)));
    EXPECT_EQ(ListingRows(search, RowKind::Search).size(),
              std::min<std::uint64_t>(50, SearchListingCount(hostile)));
}

TEST(SampleSitePages, RoutesByHostAndPath) {
    struct Route {
        SiteRequest request;
        int status;
    };
    const Route routes[] = {
        {Get("LISTINGS.EBAY.COM:80", "/aw/plistings/list/category267/index.html"), 200},
        {Get("listings.ebay.com", "/aw/plistings/list/category267/page2.html"), 200},
        {Get("listings.ebay.com", "/aw/plistings/list/category267/"), 404},
        {Get("listings.ebay.com", "/aw/plistings/list/category267/pagex.html"), 404},
        {Get("listings.ebay.com", "/aw/listings/list/categories.html"), 200},
        {Get("listings.ebay.com", "/search/search.dll"), 404},
        {Get("search.ebay.com", "/search/search.dll"), 200},
        {Get("search-desc.ebay.com", "/search/search.dll"), 200},
        {Get("search-completed.ebay.com", "/search/search.dll"), 200},
        {Get("search.ebay.com", "/aw/plistings/list/category267/index.html"), 404},
        {Get("www.vendra.example.com", "/"), 404},
        {Get("", "/"), 404},
    };
    for (const Route& route : routes) {
        const SitePage page = RenderPage(route.request);
        EXPECT_EQ(page.status, route.status) << route.request.host << route.request.path;
        EXPECT_NE(page.body.find("</html>"), std::string::npos);
        if (route.status == 404) {
            EXPECT_EQ(CountIgnoringCase(page.body, kBlockStart), 0u);
        }
    }

    const std::string index = CategoryIndexPage();
    for (const TopCategory& category : TopCategories())
        EXPECT_NE(index.find("http://listings.ebay.com/aw/plistings/list/category" +
                             std::string(category.number) + "/index.html\""),
                  std::string::npos)
            << category.number;
}

TEST(SampleSiteTarget, SplitsProxyAndOriginForms) {
    struct Case {
        std::string target, hostHeader, host, path, query, full;
    };
    const Case cases[] = {
        {"http://search.ebay.com/search/search.dll?query=a&skip=50", "search.ebay.com",
         "search.ebay.com", "/search/search.dll", "query=a&skip=50",
         "http://search.ebay.com/search/search.dll?query=a&skip=50"},
        {"HTTP://listings.ebay.com:80/aw/x.html", "", "listings.ebay.com", "/aw/x.html", "",
         "HTTP://listings.ebay.com:80/aw/x.html"},
        {"/aw/x.html?featured", "listings.ebay.com:8080", "listings.ebay.com", "/aw/x.html",
         "featured", "http://listings.ebay.com:8080/aw/x.html?featured"},
        {"http://search.ebay.com?query=a?b", "", "search.ebay.com", "/", "query=a?b",
         "http://search.ebay.com?query=a?b"},
        {"http://listings.ebay.com", "", "listings.ebay.com", "/", "", "http://listings.ebay.com"},
    };
    for (const Case& c : cases) {
        const TargetParts parts = SplitTarget(c.target, c.hostHeader);
        EXPECT_EQ(parts.host, c.host) << c.target;
        EXPECT_EQ(parts.path, c.path) << c.target;
        EXPECT_EQ(parts.query, c.query) << c.target;
        EXPECT_EQ(parts.full, c.full) << c.target;
    }
}

}  // namespace
}  // namespace vendra::site
