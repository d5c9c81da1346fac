#pragma once

#include <cstdint>
#include <string_view>

#include "search/SearchKind.h"
#include "platform/LocaleInfo.h"

namespace vendra {

struct BidReading {
    enum class Status { Ok, NotANumber, Overflow, CellNotClosed };
    Status status = Status::Ok;
    std::int16_t bids = 0;

    bool ok() const { return status == Status::Ok; }
};

// The bid count of one line of the listing file: the number in the line's last bid cell, in the
// cell markup of the search kind; 0 for a line without a bid cell and for a cell reading "-".
// A cell that is not closed or holds no number makes the line unreadable.
BidReading ReadBids(std::string_view line, SearchKind kind, const NumberSeparators& separators);

}  // namespace vendra
