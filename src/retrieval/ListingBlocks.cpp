#include "retrieval/ListingBlocks.h"

#include "text/TextSearch.h"

namespace vendra {
namespace {

// The marker ends at "bgcolor=": any colour after it matches.
constexpr std::string_view kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
constexpr std::string_view kBlockEnd = "</table>";

}  // namespace

ListingBlocks::ListingBlocks(std::string_view page)
    : page_(page), start_(FindText(page, kBlockStart, 1, LetterCase::Ignore)) {}

std::optional<std::string_view> ListingBlocks::next() {
    if (start_ == 0) return std::nullopt;
    const std::size_t end =
        FindText(page_, kBlockEnd, start_ + kBlockStart.size(), LetterCase::Ignore);
    if (end == 0) {
        start_ = 0;
        return std::nullopt;
    }
    const std::string_view block = TextAt(page_, start_, end - start_ + kBlockEnd.size());
    start_ = FindText(page_, kBlockStart, end + 1, LetterCase::Exact);
    return block;
}

}  // namespace vendra
