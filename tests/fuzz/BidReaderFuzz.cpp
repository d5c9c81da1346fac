// Any line read for its bid count, for every search kind and a few locales, against a plain
// reading: the first cell's opening found in any letter case, later ones only as written, each
// cell closed by the first closing marker after it in any letter case, the last cell counting;
// no search kind reads a count.
// Input: the line, and last a number that picks the locale.
#include "FuzzInput.h"
#include "report/BidReader.h"
#include "text/NumberReading.h"

using vendra::BidReading;
using vendra::SearchKind;

static const vendra::NumberSeparators kLocales[] = {
    {",", "."}, {".", ","}, {"\u00a0", ","}, {" ", ","}};

static BidReading PlainRead(const std::string& line, SearchKind kind,
                            const vendra::NumberSeparators& locale) {
    if (kind == SearchKind::None) return {};
    const bool results = kind == SearchKind::Keyword || kind == SearchKind::Completed;
    const std::string opening =
        results ? "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>"
                : "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";
    const std::string closing = results ? "</font>" : "<br>";
    const std::string lower = vendra::fuzz::Lower(line);
    BidReading reading;
    for (std::size_t at = lower.find(vendra::fuzz::Lower(opening)); at != std::string::npos;
         at = line.find(opening, at)) {
        at += opening.size();
        const std::size_t end = lower.find(vendra::fuzz::Lower(closing), at);
        if (end == std::string::npos) return {BidReading::Status::CellNotClosed, 0};
        const std::string text = line.substr(at, end - at);
        const auto number = vendra::ReadNumber(text, vendra::NumberWidth::Int16, locale);
        if (!number.ok() && text != "-") {
            const bool overflow = number.status == vendra::NumberReading::Status::Overflow;
            return {overflow ? BidReading::Status::Overflow : BidReading::Status::NotANumber, 0};
        }
        reading.bids = static_cast<std::int16_t>(number.ok() ? number.value : 0);
        at = end;
    }
    return reading;
}

FUZZ_TARGET(in) {
    const vendra::NumberSeparators locale = in.PickValueInArray(kLocales);
    const std::string line = in.ConsumeRemainingBytesAsString();
    for (int kind = 0; kind < 5; ++kind) {
        const BidReading want = PlainRead(line, static_cast<SearchKind>(kind), locale);
        const BidReading got = vendra::ReadBids(line, static_cast<SearchKind>(kind), locale);
        FUZZ_CHECK(got.status == want.status && got.bids == want.bids);
    }
}
