#include <gtest/gtest.h>

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

TEST(TextAt, CutsLikeMid) {
    EXPECT_EQ(TextAt("abcdef", 2, 3), "bcd");
    EXPECT_EQ(TextAt("abcdef", 5, 10), "ef");
    EXPECT_EQ(TextAt("abcdef", 7, 1), "");
    EXPECT_EQ(TextAt("abcdef", 3, 0), "");
}

}  // namespace
}  // namespace vendra
