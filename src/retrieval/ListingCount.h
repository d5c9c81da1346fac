#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocaleInfo.h"

namespace vendra {

// The number of listings the first page of a keyword or completed search reports.
struct ListingCount {
    enum class Status {
        Found,       // `listings` holds it, `text` is the count as written
        NoEnd,       // nothing ends the count
        NotANumber,  // what the site writes when it refuses a search with too many listings
        Overflow,    // beyond what a listing total holds
    };
    Status status = Status::NoEnd;
    std::string text;
    std::int32_t listings = 0;
};

// Reads the count in the results page's count cell. Without the cell the count is cut from where
// the cell's text would have begun, as the site's pages have always been read.
ListingCount ReadListingCount(std::string_view page, const NumberSeparators& separators);

}  // namespace vendra
