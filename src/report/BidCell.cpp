#include <optional>
#include <string_view>

#include "app/Failure.h"
#include "app/MainWindow.h"
#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

struct BidMarkers {
    std::string_view opening;
    std::string_view closing;
};

// The cell that holds the bid count in keyword and completed-auction results...
constexpr std::string_view kResultsBidCell =
    "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>";
// ...and in category and featured listings.
constexpr std::string_view kListingsBidCell = "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";

std::optional<BidMarkers> MarkersFor(std::int16_t searchKind) {
    switch (searchKind) {
        case 1:
        case 4:
            return BidMarkers{kResultsBidCell, "</font>"};
        case 2:
        case 3:
            return BidMarkers{kListingsBidCell, "<br>"};
        default:
            return std::nullopt;
    }
}

std::int16_t ReadBidCount(std::string_view cell, const NumberSeparators& separators) {
    if (cell == "-") cell = "0";
    const NumberReading reading = ReadNumber(cell, NumberWidth::Int16, separators);
    switch (reading.status) {
        case NumberReading::Status::Ok:
            return static_cast<std::int16_t>(reading.value);
        case NumberReading::Status::Overflow:
            throw Failure(Failure::Kind::Overflow, "bid count out of range: " + std::string(cell));
        case NumberReading::Status::NotANumber:
            break;
    }
    throw Failure(Failure::Kind::TypeMismatch, "bid count is not a number: " + std::string(cell));
}

}  // namespace

std::int16_t MainWindow::StripBid(const std::string& OneLine) const {
    const std::optional<BidMarkers> markers = MarkersFor(SearchKind);
    if (!markers) return 0;

    std::int16_t result = 0;
    std::optional<NumberSeparators> separators;
    // Only the first cell of a line is found whatever its letter case; later ones only as
    // written, which is how the site's rows have always been read.
    std::size_t opening = FindText(OneLine, markers->opening, 1, LetterCase::Ignore);
    while (opening > 0) {
        const std::size_t cellStart = opening + markers->opening.size();
        const std::size_t closing =
            FindText(OneLine, markers->closing, cellStart, LetterCase::Ignore);
        if (closing == 0)
            throw Failure(Failure::Kind::MissingEndMarker, "bid cell without its closing marker");
        if (!separators) separators = platform_.locale.separators();
        result = ReadBidCount(TextAt(OneLine, cellStart, closing - cellStart), *separators);
        opening = FindText(OneLine, markers->opening, closing, LetterCase::Exact);
    }
    return result;
}

}  // namespace vendra
