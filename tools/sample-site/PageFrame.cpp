#include "PageFrame.h"

#include "query/SiteAddresses.h"

namespace vendra::site {

void PageTop(PageText& page, std::string_view title) {
    const std::string listings = std::string("http://") + hosts::kListings;
    page.Line("<html>");
    page.Line("<head>");
    page.Line("<title>" + std::string(title) + "</title>");
    page.Line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">");
    page.Line("</head>");
    page.Line("<body bgcolor=\"#FFFFFF\" link=\"#0000FF\" vlink=\"#660099\">");
    page.Line(
        "<table width=\"100%\" border=0 cellpadding=0 cellspacing=0><tr><td width=\"20%\">"
        "<a href=\"http://www.ebay.com/\"><img src=\"http://pics.ebay.com/aw/pics/navbar/"
        "ebay_logo_home.gif\" width=150 height=70 alt=\"eBay\" border=0></a></td>"
        "<td align=right valign=bottom><font size=2><a href=\"" +
        listings + "/aw/listings/list/categories.html\">Browse</a> | <a href=\"" + listings +
        "/aw/plistings/list/featured/index.html\">Featured</a> | <a href=\"http://" +
        hosts::kKeywordSearch +
        "/search/search.dll\">Search</a> | <a href=\"http://pages.ebay.com/help/\">Help</a>"
        "</font></td></tr></table>");
    page.Line("<hr size=1 noshade>");
}

void PageBottom(PageText& page) {
    page.Line("<hr size=1 noshade>");
    page.Line(
        "<center><font size=2><a href=\"http://www.ebay.com/\">Home</a> | <a href=\"http://" +
        std::string(hosts::kListings) +
        "/aw/listings/list/categories.html\">Browse</a> | <a href=\"http://pages.ebay.com/"
        "services/\">Services</a> | <a href=\"http://pages.ebay.com/community/\">Community</a>"
        "</font></center>");
    page.Line(
        "<p><center><font size=1>Copyright &copy; 1995-2000 eBay Inc. All Rights Reserved.<br>"
        "Designated trademarks and brands belong to their respective owners.</font></center>");
    page.Line("</body>");
    page.Line("</html>");
}

std::string ListingTableStart(std::string_view colour) {
    return "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=" +
           std::string(colour) + ">";
}

bool IsClassicPage(std::uint64_t pageNumber, bool classicPages, const PageTwist& twist) {
    return twist.classic || (classicPages && pageNumber % 5 == 2);
}

std::string_view RowColour(std::uint64_t row) { return row % 2 == 0 ? "#eeeeee" : "#ffffff"; }

std::string ListingLine(bool classic, std::string_view cells, std::string_view colour) {
    if (classic) return "<tr bgcolor=" + std::string(colour) + ">" + std::string(cells) + "</tr>";
    return ListingTableStart(colour) + "<tr>" + std::string(cells) + "</tr></table>";
}

void ColumnHeadings(PageText& page, std::string_view endsHeading) {
    page.Line(
        "<table width=\"100%\" border=0 cellspacing=0 cellpadding=2><tr bgcolor=\"#CCCCFF\">"
        "<th width=\"12%\"><font size=2>Picture</font></th><th width=\"50%\" align=left>"
        "<font size=2>Item</font></th><th width=\"12%\"><font size=2>Price</font></th>"
        "<th width=\"12%\"><font size=2>Bids</font></th><th width=\"16%\"><font size=2>" +
        std::string(endsHeading) + "</font></th></tr></table>");
}

}  // namespace vendra::site
