// The marker search against std::string::find, on both sides folded to lower case or as they
// are, from every position of the text and a few past it; TextAt against std::string::substr.
// Input: the marker (up to 31 bytes), the text, and last a TextAt length.
#include "FuzzInput.h"
#include "text/TextSearch.h"

FUZZ_TARGET(in) {
    const std::size_t length = in.ConsumeIntegral<std::uint8_t>();
    const std::string marker = in.ConsumeRandomLengthString(31);
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::string texts[] = {text, vendra::fuzz::Lower(text)};
    const std::string markers[] = {marker, vendra::fuzz::Lower(marker)};
    constexpr std::size_t kFar = std::numeric_limits<std::size_t>::max();
    for (std::size_t step = 0; step <= text.size() + 3; ++step) {
        const std::size_t from = step <= text.size() + 2 ? step : kFar;
        // Positions count from 1; 0 counts as 1.
        const std::size_t begin = from == 0 ? 0 : from - 1;
        for (const auto letterCase : {vendra::LetterCase::Exact, vendra::LetterCase::Ignore}) {
            const bool fold = letterCase == vendra::LetterCase::Ignore;
            const std::size_t found = texts[fold].find(markers[fold], begin);
            FUZZ_CHECK(vendra::FindText(text, marker, from, letterCase) ==
                       (found == std::string::npos ? 0 : found + 1));
        }
        for (const std::size_t taken : {length, kFar}) {
            const std::string want = begin < text.size() ? text.substr(begin, taken) : "";
            FUZZ_CHECK(vendra::TextAt(text, from, taken) == want);
        }
    }
}
