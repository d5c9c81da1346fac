#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocaleInfo.h"
#include "search/SearchKind.h"

namespace vendra {

// One line of the listing file as data: a listing's picture, title with link, price, bids and
// end time, the texts as UTF-8.
struct ListingRow {
    std::int16_t bids = 0;  // what the bid filter reads
    std::string title;      // the title cell's text: tags removed, references decoded, blanks
    std::string link;       // collapsed; the first href of the line, as written
    std::string price;      // the price and end time cells' texts, read as the title is
    std::string ends;
    // False for a line with neither a cell nor an href: the markup that opens or closes a table
    // of listings, which the results page carries but which holds no listing.
    bool listing = false;

    bool isListing() const { return listing; }
};

// Reads a line of the listing file, bytes as the site sent them (windows-1252). The cells are
// told apart by the bid cell, the one that the bid filter's markup opens where the cell before
// it closes: the price is the cell before it, the title the one before that, the end time the
// one after it. A line with no such cell, with more than one, or without those neighbours keeps
// title, price and end time empty. A bid cell that is not a number gives 0, as the bid filter
// reads it; the filter never keeps such a line.
ListingRow ReadListingRow(std::string_view line, SearchKind kind,
                          const NumberSeparators& separators);

}  // namespace vendra
