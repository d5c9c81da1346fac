#include "text/TextSearch.h"

#include <algorithm>

namespace vendra {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(char a, char b) { return LowerAscii(a) == LowerAscii(b); }

}  // namespace

std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from,
                     LetterCase letterCase) {
    const std::size_t begin = from == 0 ? 0 : from - 1;
    if (begin > text.size() || marker.size() > text.size() - begin) return 0;
    const auto rest = text.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto found =
        letterCase == LetterCase::Exact
            ? std::search(rest, text.end(), marker.begin(), marker.end())
            : std::search(rest, text.end(), marker.begin(), marker.end(), EqualIgnoringCase);
    if (found == text.end() && !marker.empty()) return 0;
    return static_cast<std::size_t>(found - text.begin()) + 1;
}

std::string_view TextAt(std::string_view text, std::size_t start, std::size_t length) {
    const std::size_t begin = start == 0 ? 0 : start - 1;
    if (begin >= text.size()) return {};
    return text.substr(begin, length);
}

}  // namespace vendra
