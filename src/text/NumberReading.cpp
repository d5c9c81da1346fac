#include "text/NumberReading.h"

#include <limits>

namespace vendra {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(std::string_view text, std::size_t at, std::string_view piece) {
    return !piece.empty() && text.substr(at, piece.size()) == piece;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

NumberReading ReadNumber(std::string_view text, NumberWidth width,
                         const NumberSeparators& separators) {
    using Status = NumberReading::Status;
    // Larger than any 32-bit value, so that a magnitude beyond it only has to be remembered as
    // "too large" while the rest of the text is still checked for being a number.
    constexpr std::int64_t kCeiling = std::int64_t{1} << 40;

    text = TrimBlanks(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }

    std::int64_t magnitude = 0;
    bool digitSeen = false;
    while (at < text.size()) {
        if (IsDigit(text[at])) {
            magnitude = std::min(kCeiling, magnitude * 10 + (text[at] - '0'));
            digitSeen = true;
            ++at;
        } else if (digitSeen && StartsWith(text, at, separators.group) &&
                   !StartsWith(text, at, separators.decimal)) {
            at += separators.group.size();
        } else {
            break;
        }
    }

    // The fraction only matters for rounding: its first digit, and whether anything after it
    // is not zero.
    int firstFractionDigit = 0;
    bool restOfFractionNonZero = false;
    if (StartsWith(text, at, separators.decimal)) {
        at += separators.decimal.size();
        bool first = true;
        while (at < text.size() && IsDigit(text[at])) {
            if (first) {
                firstFractionDigit = text[at] - '0';
                first = false;
            } else if (text[at] != '0') {
                restOfFractionNonZero = true;
            }
            digitSeen = true;
            ++at;
        }
    }

    if (!digitSeen || at != text.size()) return {Status::NotANumber, 0};

    const bool aboveHalf =
        firstFractionDigit > 5 || (firstFractionDigit == 5 && restOfFractionNonZero);
    const bool exactlyHalf = firstFractionDigit == 5 && !restOfFractionNonZero;
    if (aboveHalf || (exactlyHalf && magnitude % 2 == 1))
        magnitude = std::min(kCeiling, magnitude + 1);

    const std::int64_t value = negative ? -magnitude : magnitude;
    const std::int64_t low = width == NumberWidth::Int16 ? std::numeric_limits<std::int16_t>::min()
                                                         : std::numeric_limits<std::int32_t>::min();
    const std::int64_t high = width == NumberWidth::Int16
                                  ? std::numeric_limits<std::int16_t>::max()
                                  : std::numeric_limits<std::int32_t>::max();
    if (value < low || value > high) return {Status::Overflow, 0};
    return {Status::Ok, static_cast<std::int32_t>(value)};
}

}  // namespace vendra
