// Any bytes read as a number in a few locales and both widths, against a plain reading of the same
// rules that keeps the digits as text and decides rounding and range on them.
#include "FuzzInput.h"
#include "text/NumberReading.h"

using vendra::NumberReading;
using Status = NumberReading::Status;

static NumberReading PlainRead(std::string_view text, vendra::NumberWidth width,
                               const vendra::NumberSeparators& locale) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {Status::NotANumber, 0};
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const bool negative = text[0] == '-';
    if (negative || text[0] == '+') text.remove_prefix(1);
    // The first decimal separator ends the whole part; group separators stand after a digit.
    const std::size_t point = std::min(text.find(locale.decimal), text.size());
    std::string whole, fraction(text.substr(std::min(point + locale.decimal.size(), text.size())));
    for (std::string_view rest = text.substr(0, point); !rest.empty();) {
        const bool group = !whole.empty() && rest.starts_with(locale.group);
        if (!group) whole += rest[0];
        rest.remove_prefix(group ? locale.group.size() : 1);
    }
    if ((whole + fraction).find_first_not_of("0123456789") != std::string::npos ||
        (whole + fraction).empty())
        return {Status::NotANumber, 0};

    whole.erase(0, whole.find_first_not_of('0'));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.size() > 12) return {Status::Overflow, 0};
    long long magnitude = whole.empty() ? 0 : std::stoll(whole);
    // With trailing zeros gone, "5" is exactly a half and anything above it sorts after it.
    if (fraction > "5" || (fraction == "5" && magnitude % 2 == 1)) ++magnitude;
    const long long limit = width == vendra::NumberWidth::Int16 ? 32768 : 2147483648LL;
    if (negative ? magnitude > limit : magnitude >= limit) return {Status::Overflow, 0};
    return {Status::Ok, static_cast<std::int32_t>(negative ? -magnitude : magnitude)};
}

static const vendra::NumberSeparators kLocales[] = {{",", "."},      {".", ","},      {" ", ","},
                                                    {"\u00a0", ","}, {"\u202f", ","}, {"'", "."}};

FUZZ_TARGET(in) {
    const std::string text = in.ConsumeRemainingBytesAsString();
    for (const vendra::NumberSeparators& locale : kLocales)
        for (const auto width : {vendra::NumberWidth::Int16, vendra::NumberWidth::Int32}) {
            const NumberReading got = vendra::ReadNumber(text, width, locale);
            const NumberReading want = PlainRead(text, width, locale);
            FUZZ_CHECK(got.status == want.status && got.value == want.value);
        }
}
