#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/TextFiles.h"
#include "search/KeptListings.h"

namespace vendra {

// Hands every kept line of the listing file, with its bid count, to `row` in the results page's
// order: most bids first, file order within one count. Only where each line lies is held while
// the file is read (a few bytes a line), never its text. False when the minimum is not a number
// or a bid count cannot be read; a file that cannot be read throws FileError.
bool ForEachKeptRow(TextFiles& files, const KeptListings& kept,
                    const std::function<void(std::string_view line, std::int16_t bids)>& row);

}  // namespace vendra
