#pragma once

// The results page built the plain, slow way, for checking the program's writer against: the
// fixed pieces are assembled here from the page layout on their own, and the rows are selected
// with one pass over the listing file for every bid count.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/TextFiles.h"

namespace vendra::test {

// The nine head lines, the heading and its table: everything before the first row.
std::string ExpectedPageHead();
// Everything after the last row.
std::string ExpectedPageEnd();

using BidCountOf = std::function<std::int16_t(const std::string& line)>;

// Replaces `pagePath` with the results page for the rows of `listingPath` whose bid count lies
// between `minimum` and `highest`: for each count from `highest` down to `minimum`, one pass over
// the whole listing file that writes the lines with that count. Failures are raised where they
// happen, leaving the page as far as it got.
void WritePageOnePassPerCount(TextFiles& files, const std::string& listingPath,
                              const std::string& pagePath, std::int16_t highest,
                              std::int16_t minimum, const BidCountOf& bidCount);

}  // namespace vendra::test
