// The marker search against folding both sides to lower case and std::string::find, from every
// position of the text and a few past it; TextAt against std::string::substr.
// Input: marker length, TextAt length, then the marker and the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "text/TextSearch.h"

namespace {

using vendra::LetterCase;

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::size_t PlainFind(const std::string& text, const std::string& marker, std::size_t from) {
    const std::size_t found = text.find(marker, from == 0 ? 0 : from - 1);
    return found == std::string::npos ? 0 : found + 1;
}

[[noreturn]] void Fail(const char* what, std::size_t from, std::size_t got, std::size_t want) {
    std::fprintf(stderr, "%s from %zu: got %zu, want %zu\n", what, from, got, want);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string marker = rest.substr(0, data[0] % 32);
    const std::string text = rest.substr(marker.size());
    const std::string lowerText = Lower(text), lowerMarker = Lower(marker);
    constexpr std::size_t kFar = std::numeric_limits<std::size_t>::max();

    std::vector<std::size_t> starts;
    for (std::size_t from = 0; from <= text.size() + 2; ++from) starts.push_back(from);
    starts.push_back(kFar);
    for (std::size_t from : starts) {
        const std::size_t exact = vendra::FindText(text, marker, from, LetterCase::Exact);
        if (exact != PlainFind(text, marker, from))
            Fail("exact", from, exact, PlainFind(text, marker, from));
        const std::size_t folded = vendra::FindText(text, marker, from, LetterCase::Ignore);
        if (folded != PlainFind(lowerText, lowerMarker, from))
            Fail("ignoring case", from, folded, PlainFind(lowerText, lowerMarker, from));

        for (std::size_t length : {std::size_t{data[1]}, kFar}) {
            const std::string_view piece = vendra::TextAt(text, from, length);
            const std::size_t begin = from == 0 ? 0 : from - 1;
            const std::string want = begin < text.size() ? text.substr(begin, length) : "";
            const bool inside =
                piece.empty() || (piece.data() >= text.data() &&
                                  piece.data() + piece.size() <= text.data() + text.size());
            if (piece != want || !inside) Fail("TextAt", from, piece.size(), want.size());
        }
    }
    return 0;
}
