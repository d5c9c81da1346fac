#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vendra::site {

// A listing's picture as an <img> tag whose picture stands in the page itself: a data: URL of a
// few hundred bytes, so that the page, and any page made of its lines, shows it with no network.
// The picture is a small tile of the item's kind: `look` picks its shape and colour (neighbouring
// looks differ in both), the kind's initials stand in the shape and the listing's item number
// under it, and the listing's seed shades the colour and moves and sizes the shape. Only letters,
// digits, "+", "/" and "=" follow the URL's "base64,": the tag holds no markup of the page's own.
std::string ItemPicture(std::string_view kind, std::uint32_t look, std::uint32_t seed,
                        std::uint32_t itemNumber);

}  // namespace vendra::site
