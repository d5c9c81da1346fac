#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vendra {

// Cuts the listing blocks out of a page, in page order: each from a block-start marker (any
// colour) through the first "</table>" after it. A block without its end, and everything after
// it, is not a block. Only the page's first block-start marker is found whatever its letter
// case; later ones only as the site writes them.
class ListingBlocks {
  public:
    explicit ListingBlocks(std::string_view page);

    // The next block, or nullopt when the page has no more.
    std::optional<std::string_view> next();

  private:
    std::string_view page_;
    std::size_t start_;  // position of the next block-start marker, from 1; 0 for none
};

}  // namespace vendra
