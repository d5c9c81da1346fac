#pragma once

#include <cstddef>
#include <string_view>

namespace vendra {

// Marker searches ignore the letter case of ASCII letters only, or compare exactly.
enum class LetterCase { Ignore, Exact };

// Positions in text count characters from 1; a search that finds nothing yields 0.

// The position of the first `marker` in `text` that starts at or after position `from`.
// A `from` below 1 counts as 1; a `from` past the end of the text finds nothing.
std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from,
                     LetterCase letterCase);

// The `length` characters of `text` that begin at position `start`, or fewer where the text ends
// first; the empty text when `start` lies past the end.
std::string_view TextAt(std::string_view text, std::size_t start, std::size_t length);

}  // namespace vendra
