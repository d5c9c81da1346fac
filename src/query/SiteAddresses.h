#pragma once

namespace vendra::hosts {

// The site host that serves the category and featured listing pages and the category index.
inline constexpr const char* kListings = "listings.ebay.com";
// The site host that searches titles by keyword.
inline constexpr const char* kKeywordSearch = "search.ebay.com";
// The site host that searches titles and descriptions by keyword.
inline constexpr const char* kDescriptionSearch = "search-desc.ebay.com";
// The site host that searches completed auctions.
inline constexpr const char* kCompletedSearch = "search-completed.ebay.com";
// The author's mail address, opened as "mailto:" + this.
inline constexpr const char* kAuthorMail = "author@vendra.example.com";
// The author's web site host, opened as "http://" + this.
inline constexpr const char* kAuthorWebsite = "www.vendra.example.com";

}  // namespace vendra::hosts
