#pragma once

#include <cstdint>
#include <string>

#include "platform/LocaleInfo.h"
#include "platform/TextFiles.h"
#include "search/SearchKind.h"

namespace vendra {

struct HighestBids {
    enum class Status {
        Found,
        NoListingFile,  // the walk kept no block: the site refused the search
        Unreadable,     // a bad bid cell, or a file that cannot be read
    };
    Status status = Status::Found;
    std::int16_t highest = 0;
};

// The bid pass: reads the listing file line by line for the highest bid count (0 at least).
HighestBids FindHighestBids(TextFiles& files, const std::string& listingFile, SearchKind kind,
                            const NumberSeparators& separators);

}  // namespace vendra
