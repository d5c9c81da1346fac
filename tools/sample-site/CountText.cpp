#include "CountText.h"

#include "SiteRules.h"

namespace vendra::site {

ShownCount CountToShow(std::uint64_t count, const PageTwist& twist, bool groupDigits) {
    if (twist.countText) {
        const auto read = ReadCount(*twist.countText);
        return {groupDigits ? GroupDigits(*twist.countText) : *twist.countText,
                read ? *read : count};
    }
    if (twist.count == PageTwist::Count::Word) return {std::string(kCountWord), count};
    const std::string digits = std::to_string(count);
    return {groupDigits ? GroupDigits(digits) : digits, count};
}

}  // namespace vendra::site
