#include "text/TextSearch.h"

#include <array>

namespace vendra {
namespace {

unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Horspool's search with ASCII letters folded to lower case: long markers are found while
// looking at a small part of the text, which the bid pass over a large listing file relies on.
std::size_t SearchIgnoringCase(std::string_view text, std::size_t begin, std::string_view marker) {
    const std::size_t last = marker.size() - 1;
    std::array<std::size_t, 256> shift;
    shift.fill(marker.size());
    for (std::size_t i = 0; i < last; ++i)
        shift[LowerAscii(static_cast<unsigned char>(marker[i]))] = last - i;

    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto* wanted = reinterpret_cast<const unsigned char*>(marker.data());
    for (std::size_t at = begin; at + last < text.size();) {
        const unsigned char tail = LowerAscii(bytes[at + last]);
        if (tail == LowerAscii(wanted[last])) {
            std::size_t i = 0;
            while (i < last && LowerAscii(bytes[at + i]) == LowerAscii(wanted[i])) ++i;
            if (i == last) return at;
        }
        at += shift[tail];
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from,
                     LetterCase letterCase) {
    const std::size_t begin = from == 0 ? 0 : from - 1;
    if (begin > text.size() || marker.size() > text.size() - begin) return 0;
    if (marker.empty()) return begin + 1;
    const std::size_t found = letterCase == LetterCase::Exact
                                  ? text.find(marker, begin)
                                  : SearchIgnoringCase(text, begin, marker);
    return found == std::string_view::npos ? 0 : found + 1;
}

std::string_view TextAt(std::string_view text, std::size_t start, std::size_t length) {
    const std::size_t begin = start == 0 ? 0 : start - 1;
    if (begin >= text.size()) return {};
    return text.substr(begin, length);
}

}  // namespace vendra
