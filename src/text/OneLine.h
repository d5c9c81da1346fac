#pragma once

#include <string>
#include <string_view>

namespace vendra {

// A text the program prints on a line of its own, such as a file's name: every control
// character (C0 and DEL) shows as '?', so no name can end the line early or forge one of its own.
std::string OneLine(std::string_view text);

}  // namespace vendra
