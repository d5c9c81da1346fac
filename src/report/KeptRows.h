#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LocaleInfo.h"
#include "platform/TextFiles.h"
#include "search/SearchKind.h"

namespace vendra {

// Where the kept rows of a finished search go: the results page, and whatever else takes them
// (the rows as data). Each row comes once, in the page's order.
class KeptRowSink {
  public:
    virtual ~KeptRowSink() = default;
    virtual void keptRow(std::string_view line, std::int16_t bids) = 0;
};

// Reads the listing file once and hands every line whose bid count lies from `minimum` to
// `highest` to `sink`: most bids first, file order within one count. Lines with the highest
// count go on as they are read; the others wait in HeldRows, which holds only where each lies.
// False when a bid count cannot be read: the sink then has exactly the highest-count lines
// before the bad one. A file that cannot be read throws FileError.
bool ReadKeptRows(LineReader& listing, std::int16_t minimum, std::int16_t highest, SearchKind kind,
                  const NumberSeparators& separators, KeptRowSink& sink);

}  // namespace vendra
