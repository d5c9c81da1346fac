#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The pages of the sample auction site, as bytes with CR LF line breaks, for any request.
namespace vendra::site {

struct SiteRequest {
    std::string host;  // as the request named it; letter case and a ":port" do not matter
    std::string path;  // percent-escapes already decoded
    std::multimap<std::string, std::string> params;  // the query's keys, values decoded
};

// What a fault changes about a page's content.
struct PageTwist {
    enum class Count { Shown, Word, Missing };
    Count count = Count::Shown;
    // The count reads exactly this text instead (on search pages, plain digits get "," groups).
    std::optional<std::string> countText;
    // About 5 MB of rows, still well-formed.
    bool big = false;
    // The listings in the classic layout, one table with a row per line, on any page.
    bool classic = false;
};

struct SitePage {
    int status = 200;
    std::string body;
};

enum class SearchHost { Keyword, Description, Completed };

inline constexpr std::size_t kBigPageBytes = 5 * 1024 * 1024;
inline constexpr std::string_view kCountWord = "many";

SitePage RenderPage(const SiteRequest& request, const PageTwist& twist = {});

std::string CategoryListingPage(std::string_view number, std::uint64_t page,
                                const PageTwist& twist = {});
std::string FeaturedPage(std::uint64_t page, const PageTwist& twist = {});
std::string SearchResultsPage(SearchHost host, std::string_view query, std::uint64_t offset,
                              const PageTwist& twist = {});
std::string CategoryIndexPage();
std::string NotFoundPage(std::string_view what);

}  // namespace vendra::site
