#include <algorithm>

#include "CountText.h"
#include "ListingRows.h"
#include "PageFrame.h"
#include "SiteHour.h"
#include "SitePages.h"
#include "SiteRules.h"

namespace vendra::site {
namespace {

std::string_view KindName(SearchHost host) {
    switch (host) {
        case SearchHost::Keyword:
            return "keyword";
        case SearchHost::Description:
            return "description";
        case SearchHost::Completed:
            return "completed";
    }
    return "keyword";
}

std::string CountLine(SearchHost host, const std::string& query, const ShownCount& count,
                      std::uint64_t first, std::uint64_t last, const PageTwist& twist) {
    if (twist.count == PageTwist::Count::Missing)
        return "<tr><td><font size=\"2\">Showing results for <b>" + query + "</b></font></td></tr>";
    const std::string where = host == SearchHost::Description
                                  ? " items found in titles and descriptions for <b>"
                              : host == SearchHost::Completed ? " completed items found for <b>"
                                                              : " items found for <b>";
    const std::string showing = first <= last ? ". Showing items " + std::to_string(first) +
                                                    " to " + std::to_string(last) + "."
                                              : ". No items on this page.";
    return "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>" + count.text +
           "</b>" + where + query + "</b>" + showing + "</font></td></tr>";
}

}  // namespace

std::string SearchResultsPage(SearchHost host, std::string_view query, std::uint64_t offset,
                              const PageTwist& twist) {
    const ShownCount count = CountToShow(SearchListingCount(query), twist, true);
    const bool ended = host == SearchHost::Completed;
    const std::string safeQuery = HtmlText(query);
    const std::uint64_t first = offset + 1;
    const std::uint64_t last = std::min(count.value, offset + kListingsPerSearchPage);

    PageText page;
    PageTop(page, (ended ? "eBay Completed Items: " : "eBay Search Results: ") + safeQuery);
    page.Line("<table width=\"100%\" border=0 cellpadding=2 cellspacing=0>");
    page.Line(CountLine(host, safeQuery, count, first, last, twist));
    page.Line("</table>");
    ColumnHeadings(page, ended ? "Ended PST" : "Ends PST");

    const bool classic = IsClassicPage(offset / kListingsPerSearchPage + 1, false, twist);
    if (classic) page.Line(ListingTableStart("#ffffff"));
    const std::string rowKey = std::string(KindName(host)) + " " + std::string(query) + " listing ";
    const std::string phrase = query.empty() ? std::string("item") : std::string(query);
    const Item item{phrase, phrase, Hash("query " + std::string(query))};
    for (std::uint64_t listing = first;
         listing <= last || (twist.big && page.Size() < kBigPageBytes); ++listing) {
        const std::string number = std::to_string(listing);
        const std::uint32_t seed = Hash(rowKey + number);
        if (!ListedAtHour(seed)) continue;
        const std::string title =
            HtmlText(std::string(ended ? "Ended: " : "") + std::string(Adjective(seed)) + " " +
                     phrase + " (query " + std::string(query) + " listing " + number + ")");
        page.Line(ListingLine(classic, SearchCells(title, item, seed, ended), RowColour(listing)));
    }
    if (classic) page.Line("</table>");
    PageBottom(page);
    return page.Take();
}

}  // namespace vendra::site
