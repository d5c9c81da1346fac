#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vendra {

// U+FFFD, shown for what cannot be a character.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the code point as UTF-8; a surrogate or a value past U+10FFFF as U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Code points of UTF-8 text: every byte that does not continue a sequence counts as one, so that
// even text that is not valid UTF-8 has a length and can be cut.
std::size_t CodePointCount(std::string_view text);

// The first `count` code points of the text, cut where a code point begins.
std::string_view FirstCodePoints(std::string_view text, std::size_t count);

}  // namespace vendra
