#include "SiteHour.h"

#include <string>

#include "SiteRules.h"

namespace vendra::site {
namespace {

int siteHour = 0;

std::uint32_t Moves(std::uint32_t seed) { return Hash("moves " + std::to_string(seed)); }

}  // namespace

void SetSiteHour(int hour) { siteHour = hour; }
int SiteHour() { return siteHour; }

// One listing in three gets one to three more bids every hour.
int BidsAtHour(int bidsAtStart, std::uint32_t seed) {
    const std::uint32_t moves = Moves(seed);
    if (moves % 3 != 0) return bidsAtStart;
    return bidsAtStart + siteHour * static_cast<int>(1 + (moves >> 4) % 3);
}

// One listing in seven is away in any hour but the first, a different one each hour.
bool ListedAtHour(std::uint32_t seed) {
    return siteHour == 0 || static_cast<int>((Moves(seed) >> 8) % 7) != siteHour % 7;
}

}  // namespace vendra::site
