#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LocaleInfo.h"

namespace vendra {

enum class NumberWidth { Int16, Int32 };

struct NumberReading {
    enum class Status { Ok, NotANumber, Overflow };
    Status status = Status::NotANumber;
    std::int32_t value = 0;

    bool ok() const { return status == Status::Ok; }
};

// Reads text as the program reads numbers everywhere: blanks around the number, a leading sign,
// the locale's digit-group separators between digits and its decimal separator are accepted; a
// fraction goes to the nearest whole number, a half to the even one. The empty text and any other
// text are not a number; a value outside the width is an overflow.
NumberReading ReadNumber(std::string_view text, NumberWidth width,
                         const NumberSeparators& separators);

}  // namespace vendra
