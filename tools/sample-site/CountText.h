#pragma once

#include <cstdint>
#include <string>

#include "SitePages.h"

// How a page shows its count, and how many pages or listings it then behaves as if it had.
namespace vendra::site {

struct ShownCount {
    std::string text;       // what stands in the count markup
    std::uint64_t value{};  // what the rows and the empty pages follow
};

// `groupDigits` writes plain digits with "," groups, as the search pages do.
ShownCount CountToShow(std::uint64_t count, const PageTwist& twist, bool groupDigits);

}  // namespace vendra::site
