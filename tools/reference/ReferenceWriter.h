#pragma once

// The results page built the plain, slow way, to check the program's writer against.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/TextFiles.h"

namespace vendra::reference {

// Everything before the first row: the nine head lines, the heading and its table.
std::string ExpectedPageHead();
// Everything after the last row.
inline std::string ExpectedPageEnd() { return "</body>\r\n</html>"; }

// Writes the results page of the lines whose bid count lies from `minimum` to `highest`, with one
// pass over the listing file per count. A failure leaves the page as far as it got.
void WritePageOnePassPerCount(TextFiles& files, const std::string& listingPath,
                              const std::string& pagePath, std::int16_t highest,
                              std::int16_t minimum,
                              const std::function<std::int16_t(const std::string&)>& bidCount);

}  // namespace vendra::reference
