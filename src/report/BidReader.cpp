#include "report/BidReader.h"

#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

// The cell that holds the bid count in keyword and completed-auction results...
constexpr BidCellMarkup kResultsCell{
    "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>", "</font>"};
// ...and in category and featured listings.
constexpr BidCellMarkup kListingsCell{"</TD><TD ALIGN=CENTER WIDTH=\"12%\">", "<br>"};

BidReading ReadCell(std::string_view cell, const NumberSeparators& separators) {
    if (cell == "-") return {};
    const NumberReading reading = ReadNumber(cell, NumberWidth::Int16, separators);
    switch (reading.status) {
        case NumberReading::Status::Ok:
            return {BidReading::Status::Ok, static_cast<std::int16_t>(reading.value)};
        case NumberReading::Status::Overflow:
            return {BidReading::Status::Overflow, 0};
        case NumberReading::Status::NotANumber:
            break;
    }
    return {BidReading::Status::NotANumber, 0};
}

}  // namespace

BidCellMarkup BidCellOf(SearchKind kind) {
    switch (kind) {
        case SearchKind::Keyword:
        case SearchKind::Completed:
            return kResultsCell;
        case SearchKind::Category:
        case SearchKind::Featured:
            return kListingsCell;
        case SearchKind::None:
            break;
    }
    return {};
}

BidReading ReadBids(std::string_view line, SearchKind kind, const NumberSeparators& separators) {
    const BidCellMarkup cell = BidCellOf(kind);
    if (cell.opening.empty()) return {};
    BidReading reading;
    // Only the first cell of a line is found whatever its letter case; later ones only as
    // written, which is how the site's rows have always been read.
    std::size_t opening = FindText(line, cell.opening, 1, LetterCase::Ignore);
    while (opening > 0) {
        const std::size_t start = opening + cell.opening.size();
        const std::size_t closing = FindText(line, cell.closing, start, LetterCase::Ignore);
        if (closing == 0) return {BidReading::Status::CellNotClosed, 0};
        reading = ReadCell(TextAt(line, start, closing - start), separators);
        if (!reading.ok()) return reading;
        opening = FindText(line, cell.opening, closing, LetterCase::Exact);
    }
    return reading;
}

}  // namespace vendra
