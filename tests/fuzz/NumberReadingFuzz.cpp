// Any bytes read as a number in a few locales and both widths, against a plain reading of the same
// rules that keeps the digits as text and decides rounding and range on them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/NumberReading.h"

namespace {

using vendra::NumberReading;
using vendra::NumberSeparators;
using vendra::NumberWidth;
using Status = NumberReading::Status;

NumberReading PlainRead(std::string text, NumberWidth width, const NumberSeparators& locale) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return {Status::NotANumber, 0};
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    std::string whole, fraction;
    bool inFraction = false;
    while (at < text.size()) {
        if (text[at] >= '0' && text[at] <= '9') {
            (inFraction ? fraction : whole) += text[at++];
        } else if (!inFraction && text.compare(at, locale.decimal.size(), locale.decimal) == 0) {
            inFraction = true;
            at += locale.decimal.size();
        } else if (!inFraction && !whole.empty() &&
                   text.compare(at, locale.group.size(), locale.group) == 0) {
            at += locale.group.size();
        } else {
            return {Status::NotANumber, 0};
        }
    }
    if (whole.empty() && fraction.empty()) return {Status::NotANumber, 0};

    whole.erase(0, whole.find_first_not_of('0'));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.size() > 12) return {Status::Overflow, 0};
    long long magnitude = whole.empty() ? 0 : std::stoll(whole);
    // With trailing zeros gone, "5" is exactly a half and anything above it sorts after it.
    if (fraction > "5" || (fraction == "5" && magnitude % 2 == 1)) ++magnitude;
    const long long value = negative ? -magnitude : magnitude;
    const long long limit = width == NumberWidth::Int16 ? 32768 : 2147483648LL;
    if (value < -limit || value >= limit) return {Status::Overflow, 0};
    return {Status::Ok, static_cast<std::int32_t>(value)};
}

const NumberSeparators kLocales[] = {
    {",", "."}, {".", ","}, {" ", ","}, {"\u00a0", ","}, {"\u202f", ","}, {"'", "."},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const NumberSeparators& locale : kLocales) {
        for (NumberWidth width : {NumberWidth::Int16, NumberWidth::Int32}) {
            const NumberReading got = vendra::ReadNumber(text, width, locale);
            const NumberReading want = PlainRead(text, width, locale);
            if (got.status != want.status || got.value != want.value) {
                std::fprintf(stderr,
                             "group '%s' decimal '%s' width %d: status %d value %d, want %d %d\n",
                             locale.group.c_str(), locale.decimal.c_str(),
                             width == NumberWidth::Int16 ? 16 : 32, static_cast<int>(got.status),
                             got.value, static_cast<int>(want.status), want.value);
                std::abort();
            }
        }
    }
    return 0;
}
