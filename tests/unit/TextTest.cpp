#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

using Status = NumberReading::Status;
constexpr NumberWidth k16 = NumberWidth::Int16;
constexpr NumberWidth k32 = NumberWidth::Int32;

TEST(ReadNumber, ReadsTheWayTheProgramDoesEverywhere) {
    const NumberSeparators english{",", "."}, german{".", ","}, french{"\u202f", ","};
    struct Case {
        const char* text;
        NumberWidth width;
        Status status;
        std::int32_t value;
        NumberSeparators separators;
    };
    const Case cases[] = {
        {"  12  ", k16, Status::Ok, 12, english},
        {"\t7", k16, Status::Ok, 7, english},
        {"+5", k16, Status::Ok, 5, english},
        {"-5", k16, Status::Ok, -5, english},
        {"1,234,567", k32, Status::Ok, 1234567, english},
        // Half to even, both signs.
        {"2.5", k16, Status::Ok, 2, english},
        {"3.5", k16, Status::Ok, 4, english},
        {"-2.5", k16, Status::Ok, -2, english},
        {"-3.5", k16, Status::Ok, -4, english},
        {"2.51", k16, Status::Ok, 3, english},
        {"0.5", k16, Status::Ok, 0, english},
        {".7", k16, Status::Ok, 1, english},
        {"5.", k16, Status::Ok, 5, english},
        // The ends of each range.
        {"-32768", k16, Status::Ok, -32768, english},
        {"32767.4", k16, Status::Ok, 32767, english},
        {"2147483647", k32, Status::Ok, 2147483647, english},
        {"-2147483648", k32, Status::Ok, -2147483647 - 1, english},
        {"32768", k16, Status::Overflow, 0, english},
        {"32767.5", k16, Status::Overflow, 0, english},
        {"-32769", k16, Status::Overflow, 0, english},
        {"2147483648", k32, Status::Overflow, 0, english},
        {"99999999999999999999999", k32, Status::Overflow, 0, english},
        {"", k16, Status::NotANumber, 0, english},
        {"   ", k16, Status::NotANumber, 0, english},
        {"-", k16, Status::NotANumber, 0, english},
        {"12abc", k16, Status::NotANumber, 0, english},
        {"1 2", k16, Status::NotANumber, 0, english},
        {",12", k16, Status::NotANumber, 0, english},
        {"1.2.3", k16, Status::NotANumber, 0, english},
        {"99999999999999999999999x", k32, Status::NotANumber, 0, english},
        // The separators are the locale's.
        {"1.234", k32, Status::Ok, 1234, german},
        {"2,5", k16, Status::Ok, 2, german},
        {"1,234", k32, Status::Ok, 1, german},
        {"1\u202f234", k32, Status::Ok, 1234, french},
    };
    for (const Case& c : cases) {
        const NumberReading reading = ReadNumber(c.text, c.width, c.separators);
        EXPECT_EQ(reading.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
    }
}

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

// The search skips through the text; it must find exactly what a look at every position finds.
TEST(FindText, FindsWhatAPlainScanFinds) {
    const auto plainScan = [](std::string_view text, std::string_view marker, std::size_t from,
                              LetterCase letterCase) -> std::size_t {
        const auto fold = [&](char c) {
            return letterCase == LetterCase::Ignore && c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a')
                                                                            : c;
        };
        const std::size_t begin = from == 0 ? 0 : from - 1;
        if (begin > text.size()) return 0;
        const auto found =
            std::search(text.begin() + begin, text.end(), marker.begin(), marker.end(),
                        [&](char a, char b) { return fold(a) == fold(b); });
        return found == text.end() ? 0 : static_cast<std::size_t>(found - text.begin()) + 1;
    };
    const std::string alphabet("aAbB<\0\xc3\xe3", 8);
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) {
        return static_cast<std::size_t>(std::uniform_int_distribution<int>(low, high)(random));
    };
    const auto draw = [&](int low, int high) {
        std::string text(pick(low, high), ' ');
        for (char& c : text) c = alphabet[pick(0, 7)];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = draw(0, 40), marker = draw(1, 6);
        const std::size_t from = pick(0, 42);
        for (LetterCase letterCase : {LetterCase::Exact, LetterCase::Ignore})
            ASSERT_EQ(FindText(text, marker, from, letterCase),
                      plainScan(text, marker, from, letterCase))
                << "round " << round;
    }
}

}  // namespace
}  // namespace vendra
