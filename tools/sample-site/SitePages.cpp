#include "SitePages.h"

#include <boost/algorithm/string/case_conv.hpp>

#include "ListingRows.h"
#include "PageFrame.h"
#include "SiteRules.h"
#include "query/SiteAddresses.h"

namespace vendra::site {
namespace {

constexpr std::string_view kCategoryPrefix = "/aw/plistings/list/category";

std::string HostName(std::string_view host) {
    return boost::algorithm::to_lower_copy(std::string(host.substr(0, host.find(':'))));
}

// "7" from "/page7.html"; nothing when the text has another shape.
std::optional<std::uint64_t> PageNumberOf(std::string_view pageName) {
    constexpr std::string_view kStart = "/page";
    constexpr std::string_view kEnd = ".html";
    if (!pageName.starts_with(kStart) || !pageName.ends_with(kEnd)) return std::nullopt;
    const std::string_view digits =
        pageName.substr(kStart.size(), pageName.size() - kStart.size() - kEnd.size());
    if (digits.find(',') != std::string_view::npos) return std::nullopt;
    return ReadCount(digits);
}

std::optional<std::string> ListingsPage(const SiteRequest& request, const PageTwist& twist) {
    const std::string_view path = request.path;
    if (path == "/aw/listings/list/categories.html") return CategoryIndexPage();
    if (path == "/aw/plistings/list/featured/index.html") return FeaturedPage(1, twist);
    if (!path.starts_with(kCategoryPrefix)) return std::nullopt;

    const std::string_view rest = path.substr(kCategoryPrefix.size());
    constexpr std::string_view kIndex = "/index.html";
    if (rest.ends_with(kIndex))
        return CategoryListingPage(rest.substr(0, rest.size() - kIndex.size()), 1, twist);
    const std::size_t slash = rest.rfind("/page");
    if (slash == std::string_view::npos) return std::nullopt;
    const auto pageNumber = PageNumberOf(rest.substr(slash));
    if (!pageNumber) return std::nullopt;
    const std::string_view number = rest.substr(0, slash);
    if (number == "0" && request.params.contains("featured"))
        return FeaturedPage(*pageNumber, twist);
    return CategoryListingPage(number, *pageNumber, twist);
}

std::string ParamValue(const SiteRequest& request, const std::string& key) {
    const auto found = request.params.find(key);
    return found == request.params.end() ? std::string() : found->second;
}

std::optional<std::string> SearchPage(SearchHost host, const SiteRequest& request,
                                      const PageTwist& twist) {
    if (request.path != "/search/search.dll") return std::nullopt;
    const std::uint64_t offset = ReadCount(ParamValue(request, "skip")).value_or(0);
    return SearchResultsPage(host, ParamValue(request, "query"), offset, twist);
}

}  // namespace

SitePage RenderPage(const SiteRequest& request, const PageTwist& twist) {
    const std::string host = HostName(request.host);
    std::optional<std::string> body;
    if (host == hosts::kListings)
        body = ListingsPage(request, twist);
    else if (host == hosts::kKeywordSearch)
        body = SearchPage(SearchHost::Keyword, request, twist);
    else if (host == hosts::kDescriptionSearch)
        body = SearchPage(SearchHost::Description, request, twist);
    else if (host == hosts::kCompletedSearch)
        body = SearchPage(SearchHost::Completed, request, twist);
    if (body) return {200, std::move(*body)};
    return {404, NotFoundPage(request.host + request.path)};
}

std::string NotFoundPage(std::string_view what) {
    PageText page;
    PageTop(page, "eBay: Page Not Found");
    page.Line("<h2><font face=\"Arial, Helvetica, sans-serif\">Page not found</font></h2>");
    page.Line("<p><font size=2>The page " + HtmlText(what) +
              " is not on this site. Try the category index or a search.</font>");
    PageBottom(page);
    return page.Take();
}

}  // namespace vendra::site
