// Any typed text through every address builder: each address is the one built from placeholders,
// with each placeholder replaced by its text exactly as typed, where only spaces become what the
// placeholder's space became ('+', or ',' in the query's word lists); and once escaped for the
// request line, nothing a request line cannot carry is left in any address.
// Input: the title, excluded words, category, lowest and highest price and the completed
// search's words; numbers from the end: the search mode, titles and descriptions, a page number.
#include "FuzzInput.h"
#include "platform/RequestLine.h"
#include "query/SearchUrls.h"

FUZZ_TARGET(in) {
    const int mode = in.ConsumeIntegralInRange(-1, 3);
    const bool descriptions = in.ConsumeBool();
    const int page = in.ConsumeIntegral<std::int16_t>();
    // Every address, one a line.
    const auto addresses = [&](const std::vector<std::string>& typed) {
        const vendra::ResultPages keyword = vendra::KeywordSearchPages(
            {typed[0], typed[1], mode, descriptions, typed[2], typed[3], typed[4]});
        const vendra::ResultPages completed = vendra::CompletedSearchPages(typed[5]);
        return vendra::CategoryFirstPageUrl(typed[2]) + '\n' +
               vendra::CategoryPageUrl(typed[2], page) + '\n' + keyword.firstPage + '\n' +
               keyword.followingPrefix + '\n' + completed.firstPage + '\n' +
               completed.followingPrefix;
    };
    // Field n's placeholder is byte n, a space and byte n again: no fixed piece holds such a byte.
    // An empty field keeps no placeholder, since an empty list of excluded words is left out.
    std::vector<std::string> typed(6), placeholders;
    for (std::string& text : typed) text = in.ConsumeRandomLengthString();
    for (char mark = 1; mark <= 6; ++mark)
        placeholders.push_back(typed[mark - 1].empty() ? "" : std::string{mark, ' ', mark});
    const std::string urls = addresses(typed), shape = addresses(placeholders);
    std::string want;
    for (std::size_t at = 0; at < shape.size(); ++at) {
        const std::size_t field = static_cast<unsigned char>(shape[at]) - 1u;
        if (field >= typed.size()) {
            want += shape[at];
            continue;
        }
        std::string text = typed[field];
        std::ranges::replace(text, ' ', shape[at + 1]);
        want += text;
        at += 2;
    }
    FUZZ_CHECK(urls == want);
    FUZZ_CHECK(std::ranges::all_of(vendra::EncodeForRequestLine(urls), vendra::fuzz::CarriedAsIs));
}
