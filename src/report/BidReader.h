#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LocaleInfo.h"
#include "search/SearchKind.h"

namespace vendra {

struct BidReading {
    enum class Status { Ok, NotANumber, Overflow, CellNotClosed };
    Status status = Status::Ok;
    std::int16_t bids = 0;

    bool ok() const { return status == Status::Ok; }
};

// The markup around a bid count: the opening marker ends where the count begins, the closing
// marker stands after it.
struct BidCellMarkup {
    std::string_view opening;
    std::string_view closing;
};

// The bid cell markup of the search kind; empty markers for no search kind.
BidCellMarkup BidCellOf(SearchKind kind);

// The bid count of one line of the listing file: the number in the line's last bid cell, in the
// cell markup of the search kind; 0 for a line without a bid cell and for a cell reading "-".
// A cell that is not closed or holds no number makes the line unreadable.
BidReading ReadBids(std::string_view line, SearchKind kind, const NumberSeparators& separators);

}  // namespace vendra
