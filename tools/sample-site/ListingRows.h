#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The cells of one listing: picture, title with a link, price, bids, end time, all on one line
// (no line break inside, none at the end), in columns as wide as those of the program's results
// page. Every detail but the title comes from the listing's seed.
namespace vendra::site {

// A word or two that starts a title, such as "Vintage".
std::string_view Adjective(std::uint32_t seed);

// An item of a category: its kind, such as "first edition hardcover", the phrase that starts its
// title, such as "Vintage first edition hardcover", and the look of its kind's pictures (see
// ItemPicture), which differs between the kinds of a category.
struct Item {
    std::string_view kind;
    std::string phrase;
    std::uint32_t look = 0;
};
Item ItemOf(std::string_view categoryNumber, std::uint32_t seed);

// The cells in the markup of the category and featured pages; the bid cell closes with "<br>".
std::string CategoryCells(std::string_view title, const Item& item, std::uint32_t seed);

// The cells in the markup of the search result pages; the bid cell closes with "</font>".
// Completed auctions show "Ended" times.
std::string SearchCells(std::string_view title, const Item& item, std::uint32_t seed, bool ended);

// Text made safe to stand in a page: markup characters escaped, control characters (line
// breaks included) turned into spaces, every other byte unchanged.
std::string HtmlText(std::string_view text);

}  // namespace vendra::site
