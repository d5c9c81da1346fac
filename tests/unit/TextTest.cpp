#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

using Status = NumberReading::Status;

struct NumberCase {
    const char* text;
    NumberWidth width;
    Status status;
    std::int32_t value;
};

TEST(ReadNumber, ReadsTheWayTheProgramDoesEverywhere) {
    const NumberCase cases[] = {
        {"12", NumberWidth::Int16, Status::Ok, 12},
        {"  12  ", NumberWidth::Int16, Status::Ok, 12},
        {"\t7", NumberWidth::Int16, Status::Ok, 7},
        {"+5", NumberWidth::Int16, Status::Ok, 5},
        {"-5", NumberWidth::Int16, Status::Ok, -5},
        {"1,234", NumberWidth::Int32, Status::Ok, 1234},
        {"1,234,567", NumberWidth::Int32, Status::Ok, 1234567},
        {"2.5", NumberWidth::Int16, Status::Ok, 2},
        {"3.5", NumberWidth::Int16, Status::Ok, 4},
        {"-2.5", NumberWidth::Int16, Status::Ok, -2},
        {"-3.5", NumberWidth::Int16, Status::Ok, -4},
        {"2.51", NumberWidth::Int16, Status::Ok, 3},
        {"2.4999", NumberWidth::Int16, Status::Ok, 2},
        {"0.5", NumberWidth::Int16, Status::Ok, 0},
        {".7", NumberWidth::Int16, Status::Ok, 1},
        {"5.", NumberWidth::Int16, Status::Ok, 5},
        {"007", NumberWidth::Int16, Status::Ok, 7},
        {"32767", NumberWidth::Int16, Status::Ok, 32767},
        {"-32768", NumberWidth::Int16, Status::Ok, -32768},
        {"32767.4", NumberWidth::Int16, Status::Ok, 32767},
        {"2147483647", NumberWidth::Int32, Status::Ok, 2147483647},
        {"-2147483648", NumberWidth::Int32, Status::Ok, -2147483647 - 1},
        {"32768", NumberWidth::Int16, Status::Overflow, 0},
        {"32767.5", NumberWidth::Int16, Status::Overflow, 0},
        {"40000", NumberWidth::Int16, Status::Overflow, 0},
        {"-32769", NumberWidth::Int16, Status::Overflow, 0},
        {"2147483648", NumberWidth::Int32, Status::Overflow, 0},
        {"99999999999999999999999", NumberWidth::Int32, Status::Overflow, 0},
        {"", NumberWidth::Int16, Status::NotANumber, 0},
        {"   ", NumberWidth::Int16, Status::NotANumber, 0},
        {"-", NumberWidth::Int16, Status::NotANumber, 0},
        {".", NumberWidth::Int16, Status::NotANumber, 0},
        {"abc", NumberWidth::Int16, Status::NotANumber, 0},
        {"12abc", NumberWidth::Int16, Status::NotANumber, 0},
        {"1 2", NumberWidth::Int16, Status::NotANumber, 0},
        {",12", NumberWidth::Int16, Status::NotANumber, 0},
        {"1.2.3", NumberWidth::Int16, Status::NotANumber, 0},
        {"99999999999999999999999x", NumberWidth::Int32, Status::NotANumber, 0},
    };
    for (const NumberCase& c : cases) {
        const NumberReading reading = ReadNumber(c.text, c.width, NumberSeparators{",", "."});
        EXPECT_EQ(reading.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
    }
}

TEST(ReadNumber, FollowsTheLocaleSeparators) {
    const NumberSeparators german{".", ","};
    EXPECT_EQ(ReadNumber("1.234", NumberWidth::Int32, german).value, 1234);
    EXPECT_EQ(ReadNumber("2,5", NumberWidth::Int16, german).value, 2);
    EXPECT_EQ(ReadNumber("1,234", NumberWidth::Int32, german).value, 1);
    const NumberSeparators french{"\u202f", ","};
    EXPECT_EQ(ReadNumber("1\u202f234", NumberWidth::Int32, french).value, 1234);
    EXPECT_EQ(ReadNumber("1,234", NumberWidth::Int32, french).value, 1);
}

TEST(FindText, CountsFromOneAndTellsNothingFoundByZero) {
    EXPECT_EQ(FindText("abcabc", "bc", 1, LetterCase::Exact), 2u);
    EXPECT_EQ(FindText("abcabc", "bc", 3, LetterCase::Exact), 5u);
    EXPECT_EQ(FindText("abcabc", "bc", 6, LetterCase::Exact), 0u);
    EXPECT_EQ(FindText("abcabc", "bc", 0, LetterCase::Exact), 2u);
    EXPECT_EQ(FindText("abc", "bc", 100, LetterCase::Exact), 0u);
    EXPECT_EQ(FindText("aBC", "bc", 1, LetterCase::Exact), 0u);
    EXPECT_EQ(FindText("aBC", "bc", 1, LetterCase::Ignore), 2u);
    EXPECT_EQ(FindText("OF <B>12", "of <b>", 1, LetterCase::Ignore), 1u);
    EXPECT_EQ(FindText("\xc3\xa9", "\xc3\x89", 1, LetterCase::Ignore), 0u);  // ASCII letters only
    EXPECT_EQ(FindText("", "x", 1, LetterCase::Ignore), 0u);
}

// The search skips through the text; it must find exactly what a look at every position finds.
TEST(FindText, FindsWhatAPlainScanFinds) {
    const auto plainScan = [](std::string_view text, std::string_view marker, std::size_t from,
                              LetterCase letterCase) -> std::size_t {
        const auto fold = [&](char c) {
            return letterCase == LetterCase::Ignore && c >= 'A' && c <= 'Z'
                       ? static_cast<char>(c - 'A' + 'a')
                       : c;
        };
        for (std::size_t at = from == 0 ? 0 : from - 1; at + marker.size() <= text.size(); ++at) {
            std::size_t i = 0;
            while (i < marker.size() && fold(text[at + i]) == fold(marker[i])) ++i;
            if (i == marker.size()) return at + 1;
        }
        return 0;
    };
    const std::string alphabet("aAbB<\0\xc3\xe3", 8);
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text(static_cast<std::size_t>(pick(0, 40)), ' ');
        for (char& c : text) c = alphabet[static_cast<std::size_t>(pick(0, 7))];
        std::string marker(static_cast<std::size_t>(pick(1, 6)), ' ');
        for (char& c : marker) c = alphabet[static_cast<std::size_t>(pick(0, 7))];
        const auto from = static_cast<std::size_t>(pick(0, 42));
        for (LetterCase letterCase : {LetterCase::Exact, LetterCase::Ignore})
            ASSERT_EQ(FindText(text, marker, from, letterCase),
                      plainScan(text, marker, from, letterCase))
                << "round " << round;
    }
}

TEST(TextAt, CutsLikeMid) {
    EXPECT_EQ(TextAt("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextAt("abcdef", 5, 10), "ef");
    EXPECT_EQ(TextAt("abcdef", 7, 1), "");
    EXPECT_EQ(TextAt("abcdef", 3, 0), "");
}

}  // namespace
}  // namespace vendra
