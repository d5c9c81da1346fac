#pragma once

#include <cstdint>

// The site as it stands some hours after its start (--hour N): bids rise on some listings and
// listings come and go, so that runs at two hours see a site that moved on. At hour 0 every
// listing is there with its bids as ever.
namespace vendra::site {

void SetSiteHour(int hour);
int SiteHour();

// A listing's bids at the site's hour, from its bids at hour 0 and its seed.
int BidsAtHour(int bidsAtStart, std::uint32_t seed);

// Whether a listing is on the site at its hour.
bool ListedAtHour(std::uint32_t seed);

}  // namespace vendra::site
