#include "retrieval/ListingCount.h"

#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

constexpr std::string_view kCountCell =
    "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
constexpr std::string_view kCountEnd = "</b>";

}  // namespace

ListingCount ReadListingCount(std::string_view page, const NumberSeparators& separators) {
    const std::size_t cell = FindText(page, kCountCell, 1, LetterCase::Ignore);
    const std::size_t start = cell + kCountCell.size();
    const std::size_t end = FindText(page, kCountEnd, start, LetterCase::Ignore);
    if (end == 0) return {};
    ListingCount count{ListingCount::Status::Found, std::string(TextAt(page, start, end - start)),
                       0};
    const NumberReading reading = ReadNumber(count.text, NumberWidth::Int32, separators);
    switch (reading.status) {
        case NumberReading::Status::NotANumber:
            count.status = ListingCount::Status::NotANumber;
            break;
        case NumberReading::Status::Overflow:
            count.status = ListingCount::Status::Overflow;
            break;
        case NumberReading::Status::Ok:
            count.listings = reading.value;
            break;
    }
    return count;
}

}  // namespace vendra
