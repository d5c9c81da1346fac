#pragma once

#include <chrono>

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
// How long a page fetch may stall (connecting or transferring) before it counts as failed.
inline constexpr std::chrono::milliseconds kFetchTimeout{30000};
// How long a page fetch may take in all, however steadily its bytes trickle in.
inline constexpr std::chrono::milliseconds kFetchDeadline{60000};
// How long the desktop's proxy settings for a host are used before they are asked for again.
inline constexpr std::chrono::milliseconds kProxySettingsLifetime{5000};

}  // namespace vendra::hosts
