#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vendra {

struct Category {
    std::string_view name;    // as the category list shows it
    std::string_view number;  // the site's category number; empty for "All Categories"
};

// The entries of the category list, in its order: "All Categories", then the site's 23 top-level
// categories.
std::span<const Category> Categories();

// The site number of the category list's entry at `index`; empty for none or "All Categories".
std::string CategoryNumber(int index);

// The list index of the category with exactly this name, if there is one.
std::optional<int> CategoryIndex(std::string_view name);

}  // namespace vendra
