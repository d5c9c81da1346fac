#pragma once

#include <string>
#include <string_view>

namespace vendra {

// The site's bytes as UTF-8 text. The site's pages are windows-1252 (the results page says so);
// the five bytes that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD
// rather than the C1 controls they stand for elsewhere: a C1 control such as 0x9B opens an
// escape sequence on some terminals, and a data file may well be printed on one.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace vendra
