#pragma once

#include <string>
#include <string_view>

namespace vendra {

// The URL as it goes into the request line: only what cannot stand there is percent-encoded
// (controls, space, bytes of non-ASCII text, " < > \ ^ ` { | } #, and a % that begins no %XX
// escape); every other byte, a %XX already in the URL among them, goes out unchanged.
std::string EncodeForRequestLine(std::string_view url);

}  // namespace vendra
