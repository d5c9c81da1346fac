#include "text/TextSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vendra {
namespace {

unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool MarkerAt(const unsigned char* at, const unsigned char* marker, std::size_t size,
              LetterCase letterCase) {
    if (letterCase == LetterCase::Exact) return std::memcmp(at, marker, size) == 0;
    for (std::size_t i = 0; i < size; ++i)
        if (LowerAscii(at[i]) != LowerAscii(marker[i])) return false;
    return true;
}

// Candidates are the positions where the marker's first and last bytes stand, checked 16
// positions at a time; only those are compared in full. Ignoring letter case, every byte is
// compared with its 0x20 bit set: both cases of a letter then look alike, so no match is missed,
// and whatever else looks alike that way fails the full comparison. Pages and listing files are
// HTML, where any one byte of a marker is common but its first and last bytes at the marker's
// distance are rare, so the full comparisons are few.
std::size_t Search(std::string_view text, std::size_t begin, std::string_view marker,
                   LetterCase letterCase) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto* wanted = reinterpret_cast<const unsigned char*>(marker.data());
    const std::size_t size = text.size();
    const std::size_t last = marker.size() - 1;
    const unsigned char fold = letterCase == LetterCase::Ignore ? 0x20 : 0;
    const unsigned char head = wanted[0] | fold;
    const unsigned char tail = wanted[last] | fold;
    std::size_t at = begin;
#if defined(__SSE2__)
    const __m128i foldBits = _mm_set1_epi8(static_cast<char>(fold));
    const __m128i heads = _mm_set1_epi8(static_cast<char>(head));
    const __m128i tails = _mm_set1_epi8(static_cast<char>(tail));
    for (; at + last + 16 <= size; at += 16) {
        const __m128i first =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at)), foldBits);
        const __m128i final = _mm_or_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at + last)), foldBits);
        auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(first, heads), _mm_cmpeq_epi8(final, tails))));
        for (; candidates != 0; candidates &= candidates - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(candidates));
            if (MarkerAt(bytes + candidate, wanted, last + 1, letterCase)) return candidate;
        }
    }
#endif
    for (; at + last < size; ++at) {
        if ((bytes[at] | fold) == head && (bytes[at + last] | fold) == tail &&
            MarkerAt(bytes + at, wanted, last + 1, letterCase))
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view marker, std::size_t from,
                     LetterCase letterCase) {
    const std::size_t begin = from == 0 ? 0 : from - 1;
    if (begin > text.size() || marker.size() > text.size() - begin) return 0;
    if (marker.empty()) return begin + 1;
    const std::size_t found = Search(text, begin, marker, letterCase);
    return found == std::string_view::npos ? 0 : found + 1;
}

std::string_view TextAt(std::string_view text, std::size_t start, std::size_t length) {
    const std::size_t begin = start == 0 ? 0 : start - 1;
    if (begin >= text.size()) return {};
    return text.substr(begin, length);
}

}  // namespace vendra
