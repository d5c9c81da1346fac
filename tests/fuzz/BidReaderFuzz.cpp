// Any line read for its bid count, for every search kind and a few locales, against a plain
// reading: the first cell's opening found in any letter case, later ones only as written, each
// cell closed by the first closing marker after it in any letter case, the last cell counting.
// Input: one byte that picks the locale, then the line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/BidReader.h"
#include "text/NumberReading.h"

namespace {

using vendra::BidReading;
using vendra::SearchKind;
using Status = BidReading::Status;

struct Cell {
    std::string opening, closing;
};
const Cell kResultsCell{"</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>",
                        "</font>"};
const Cell kListingsCell{"</TD><TD ALIGN=CENTER WIDTH=\"12%\">", "<br>"};

const vendra::NumberSeparators kLocales[] = {{",", "."}, {".", ","}, {"\u00a0", ","}, {" ", ","}};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

BidReading PlainRead(const std::string& line, const Cell& cell,
                     const vendra::NumberSeparators& locale) {
    const std::string lower = Lower(line);
    BidReading reading;
    for (std::size_t opening = lower.find(Lower(cell.opening)); opening != std::string::npos;) {
        const std::size_t start = opening + cell.opening.size();
        const std::size_t closing = lower.find(Lower(cell.closing), start);
        if (closing == std::string::npos) return {Status::CellNotClosed, 0};
        const std::string text = line.substr(start, closing - start);
        const auto number = vendra::ReadNumber(text, vendra::NumberWidth::Int16, locale);
        if (text == "-")
            reading = {};
        else if (number.ok())
            reading = {Status::Ok, static_cast<std::int16_t>(number.value)};
        else
            return {number.status == vendra::NumberReading::Status::Overflow ? Status::Overflow
                                                                             : Status::NotANumber,
                    0};
        opening = line.find(cell.opening, closing);
    }
    return reading;
}

void Expect(bool holds, const char* what, SearchKind kind, const BidReading& got) {
    if (holds) return;
    std::fprintf(stderr, "%s: kind %d gave status %d, %d bids\n", what, static_cast<int>(kind),
                 static_cast<int>(got.status), got.bids);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto& locale = kLocales[data[0] % std::size(kLocales)];
    const std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto same = [](const BidReading& a, const BidReading& b) {
        return a.status == b.status && a.bids == b.bids;
    };
    const BidReading none = vendra::ReadBids(line, SearchKind::None, locale);
    Expect(same(none, {}), "no search kind reads a count", SearchKind::None, none);
    for (SearchKind kind :
         {SearchKind::Keyword, SearchKind::Completed, SearchKind::Category, SearchKind::Featured}) {
        const bool results = kind == SearchKind::Keyword || kind == SearchKind::Completed;
        const Cell& cell = results ? kResultsCell : kListingsCell;
        const BidReading got = vendra::ReadBids(line, kind, locale);
        const bool hasCell = Lower(line).find(Lower(cell.opening)) != std::string::npos;
        Expect(hasCell || same(got, {}), "a line without a bid cell is not 0", kind, got);
        Expect(same(got, PlainRead(line, cell, locale)), "differs from the plain reading", kind,
               got);
    }
    return 0;
}
