#include <algorithm>
#include <functional>

#include "CountText.h"
#include "ListingRows.h"
#include "PageFrame.h"
#include "SiteHour.h"
#include "SitePages.h"
#include "SiteRules.h"
#include "query/SiteAddresses.h"

namespace vendra::site {
namespace {

constexpr std::string_view kHotColour = "#ffffcc";

// What tells one listing page kind (a category, the featured auctions) from the other.
struct ListingPageKind {
    std::string name;          // shown in the heading, already safe
    std::string subtitle;      // beside the name, already safe
    std::string tag;           // "category 267" or "featured": every row title ends with it
    std::string nextPageLink;  // up to the page number
    std::string nextPageEnd;   // after the page number
    std::function<Item(std::uint32_t)> item;
    bool classicPages;  // pages 2, 7, 12, ... in the classic layout
};

std::string CountMarkup(std::uint64_t page, const ShownCount& count, const PageTwist& twist) {
    if (twist.count == PageTwist::Count::Missing)
        return "<font size=2>Page " + std::to_string(page) + "</font>";
    return "<font size=2>Page " + std::to_string(page) + " of <b>" + count.text + "</b></font>";
}

// Rows `first` to `last` of a page, a table each or one table of them all (see IsClassicPage).
void ListingRowsInto(PageText& page, const ListingPageKind& kind, std::uint64_t pageNumber,
                     std::uint64_t first, std::uint64_t last, bool hot, const PageTwist& twist) {
    const bool classic = IsClassicPage(pageNumber, kind.classicPages, twist);
    const bool big = twist.big && !hot;
    if (classic) page.Line(ListingTableStart(hot ? kHotColour : "#ffffff"));
    const std::string rowKey = kind.tag + " page " + std::to_string(pageNumber) + " row ";
    for (std::uint64_t row = first; row <= last || (big && page.Size() < kBigPageBytes); ++row) {
        const std::string number = std::to_string(row);
        const std::uint32_t seed = Hash(rowKey + number);
        if (!ListedAtHour(seed)) continue;
        const Item item = kind.item(seed);
        const std::string title = HtmlText(item.phrase + " (" + rowKey + number + ")");
        page.Line(ListingLine(classic, CategoryCells(title, item, seed),
                              hot ? kHotColour : RowColour(row)));
    }
    if (classic) page.Line("</table>");
}

std::string ListingPage(const ListingPageKind& kind, std::uint64_t pageCount,
                        std::uint64_t pageNumber, const PageTwist& twist) {
    const ShownCount count = CountToShow(pageCount, twist, false);
    const std::string countMarkup = CountMarkup(pageNumber, count, twist);
    PageText page;
    PageTop(page, "eBay Listings: " + kind.name);
    page.Line(
        "<table width=\"100%\" border=0 cellpadding=2 cellspacing=0><tr bgcolor=\"#99CCFF\">"
        "<td><font size=3 face=\"Arial, Helvetica, sans-serif\"><b>" +
        kind.name + "</b> " + kind.subtitle + "</font></td><td align=right>" + countMarkup +
        "</td></tr></table>");
    ColumnHeadings(page, "Ends PST");

    if (pageNumber >= 1 && pageNumber <= count.value) {
        const std::uint32_t shape = Hash(kind.tag + " page " + std::to_string(pageNumber));
        const std::uint64_t rows = 25 + shape % 26;
        // Some pages open with a short table of hot items, as the site's busier pages did.
        const std::uint64_t hotRows = (shape >> 8) % 2 == 1 ? 3 + (shape >> 9) % 8 : 0;
        if (hotRows > 0) {
            page.Line("<p><font size=2 color=\"#CC0000\">Hot items on this page</font>");
            ListingRowsInto(page, kind, pageNumber, 1, hotRows, true, twist);
        }
        ListingRowsInto(page, kind, pageNumber, hotRows + 1, rows, false, twist);
    } else {
        page.Line("<p><font size=2>There are no items on this page.</font>");
    }

    page.Line("<p>" + countMarkup);
    if (pageNumber < count.value)
        page.Line("<font size=2><a href=\"" + kind.nextPageLink + std::to_string(pageNumber + 1) +
                  kind.nextPageEnd + "\">Next page</a></font>");
    PageBottom(page);
    return page.Take();
}

}  // namespace

std::string CategoryListingPage(std::string_view number, std::uint64_t page,
                                const PageTwist& twist) {
    const std::string numberText(number);
    const ListingPageKind kind{
        HtmlText(CategoryName(number)),
        "<font size=2>(category " + HtmlText(number) + ")</font>",
        "category " + numberText,
        "http://" + std::string(hosts::kListings) + "/aw/plistings/list/category" +
            HtmlText(number) + "/page",
        ".html",
        [numberText](std::uint32_t seed) { return ItemOf(numberText, seed); },
        !IsTopCategory(number),
    };
    return ListingPage(kind, CategoryPageCount(number), page, twist);
}

std::string FeaturedPage(std::uint64_t page, const PageTwist& twist) {
    const ListingPageKind kind{
        "Featured Auctions",
        "<font size=2>(all categories)</font>",
        "featured",
        "http://" + std::string(hosts::kListings) + "/aw/plistings/list/category0/page",
        ".html?featured",
        [](std::uint32_t seed) {
            const auto categories = TopCategories();
            return ItemOf(categories[seed % categories.size()].number, seed >> 5);
        },
        false,
    };
    return ListingPage(kind, kFeaturedPageCount, page, twist);
}

std::string CategoryIndexPage() {
    PageText page;
    PageTop(page, "eBay Listings: All Categories");
    page.Line("<h2><font face=\"Arial, Helvetica, sans-serif\">Categories</font></h2>");
    page.Line("<table width=\"100%\" border=0 cellpadding=2 cellspacing=0>");
    for (const TopCategory& category : TopCategories()) {
        page.Line("<tr><td><font size=3><a href=\"http://" + std::string(hosts::kListings) +
                  "/aw/plistings/list/category" + std::string(category.number) + "/index.html\">" +
                  HtmlText(category.name) + "</a></font> <font size=2>(#" +
                  std::string(category.number) + ")</font></td></tr>");
    }
    page.Line("</table>");
    PageBottom(page);
    return page.Take();
}

}  // namespace vendra::site
