#include <gtest/gtest.h>

#include <string>

#include "text/NumberReading.h"
#include "text/TextSearch.h"
#include "text/Windows1252.h"

namespace vendra {
namespace {

// The rules by example; the number reading fuzz target holds the reader to a plain reading of the
// same rules on any text.
TEST(ReadNumber, ReadsTheWayTheProgramDoesEverywhere) {
    using S = NumberReading::Status;
    constexpr NumberWidth k16 = NumberWidth::Int16, k32 = NumberWidth::Int32;
    const NumberSeparators english{",", "."}, german{".", ","}, french{"\u202f", ","};
    const struct {
        const char* text;
        NumberWidth width;
        S status;
        std::int32_t value;
        NumberSeparators separators;
    } cases[] = {
        {"  12  ", k16, S::Ok, 12, english},
        {"1,234,567", k32, S::Ok, 1234567, english},
        // Half to even, both signs.
        {"2.5", k16, S::Ok, 2, english},
        {"3.5", k16, S::Ok, 4, english},
        // The ends of each range.
        {"-32768", k16, S::Ok, -32768, english},
        {"32767.4", k16, S::Ok, 32767, english},
        {"32768", k16, S::Overflow, 0, english},
        {"32767.5", k16, S::Overflow, 0, english},
        {"12abc", k16, S::NotANumber, 0, english},
        // The separators are the locale's.
        {"1.234", k32, S::Ok, 1234, german},
        {"1,234", k32, S::Ok, 1, german},
        {"1\u202f234", k32, S::Ok, 1234, french},
    };
    for (const auto& c : cases) {
        const NumberReading reading = ReadNumber(c.text, c.width, c.separators);
        EXPECT_EQ(reading.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
    }
}

// The skipping search itself is cross-checked against a plain scan by the marker search fuzz
// target; these are the conventions its callers rely on.
TEST(FindText, CountsFromOneAndTellsNothingFoundByZero) {
    EXPECT_EQ(FindText("abcabc", "bc", 3, LetterCase::Exact), 5u);
    EXPECT_EQ(FindText("abcabc", "bc", 6, LetterCase::Exact), 0u);
    EXPECT_EQ(FindText("abcabc", "bc", 0, LetterCase::Exact), 2u);
    EXPECT_EQ(FindText("aBC", "bc", 1, LetterCase::Exact), 0u);
    EXPECT_EQ(FindText("aBC", "bc", 1, LetterCase::Ignore), 2u);
    EXPECT_EQ(FindText("\xc3\xa9", "\xc3\x89", 1, LetterCase::Ignore), 0u);  // ASCII letters only
    EXPECT_EQ(TextAt("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextAt("abcdef", 5, 10), "ef");
    EXPECT_EQ(TextAt("abcdef", 7, 1), "");
}

// The code page's upper half, its undefined five as U+FFFD.
TEST(Windows1252ToUtf8, DecodesTheUpperHalf) {
    std::string bytes = "a";
    for (int byte = 0x80; byte <= 0xA0; ++byte) bytes += static_cast<char>(byte);
    EXPECT_EQ(Windows1252ToUtf8(bytes + "\xFF"),
              reinterpret_cast<const char*>(
                  u8"a\u20AC\uFFFD\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039"
                  u8"\u0152\uFFFD\u017D\uFFFD\uFFFD\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC"
                  u8"\u2122\u0161\u203A\u0153\uFFFD\u017E\u0178\u00A0\u00FF"));
}

}  // namespace
}  // namespace vendra
