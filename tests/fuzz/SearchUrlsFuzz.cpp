// Any typed text through every address builder: each address is the fixed pieces joined with the
// text exactly as typed, where only spaces become '+' (or ',' in the query's word lists); and once
// escaped for the request line, no control byte, space, byte above 0x7e or other byte a request
// line cannot carry is left in any of them.
// Input: a byte whose value mod 5, less 1, is the search mode and whose top bit asks for titles
// and descriptions; a 16-bit page number; then, split by 0xFF, the title, excluded words,
// category, lowest and highest price, and the completed search's words.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Hosts.h"
#include "platform/RequestLine.h"
#include "query/SearchUrls.h"

namespace {

using namespace std::string_literals;

void Check(const std::string& got, const std::string& want, const char* what) {
    if (got == want) return;
    std::fprintf(stderr, "%s:\n got  %s\n want %s\n", what, got.c_str(), want.c_str());
    std::abort();
}

std::string Replace(std::string text, char space) {
    for (char& c : text)
        if (c == ' ') c = space;
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    std::vector<std::string> typed;
    std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    for (std::size_t field = 0; field < 6; ++field) {
        typed.emplace_back(rest.substr(0, rest.find('\xff')));
        rest.remove_prefix(std::min(rest.size(), typed.back().size() + 1));
    }
    const vendra::KeywordSearchForm form{typed[0], typed[1], data[0] % 5 - 1, data[0] >= 0x80,
                                         typed[2], typed[3], typed[4]};
    const auto page = static_cast<std::int16_t>(data[1] << 8 | data[2]);
    const std::string& words = typed[5];
    for (const std::string& text : typed)
        Check(vendra::SpacesToPlus(text), Replace(text, '+'), "+");

    const std::string excluded =
        form.excluded.empty() ? "" : "+-(" + Replace(form.excluded, ',') + ")";
    const std::string queries[] = {Replace(form.title, '+') + excluded,
                                   "(" + Replace(form.title, ',') + ")" + excluded,
                                   "\"" + Replace(form.title, '+') + "\"" + excluded};
    const std::string query =
        form.modeIndex >= 0 && form.modeIndex < 3 ? queries[form.modeIndex] : "";
    Check(vendra::KeywordQueryText(form.title, form.excluded, form.modeIndex), query, "query text");

    const std::string listings =
        "http://"s + vendra::hosts::kListings + "/aw/plistings/list/category";
    const std::string search =
        "http://"s +
        (form.descriptions ? vendra::hosts::kDescriptionSearch : vendra::hosts::kKeywordSearch) +
        "/search/search.dll?";
    const std::string description = form.descriptions ? "&srchdesc=y" : "";
    const std::string completed =
        "http://"s + vendra::hosts::kCompletedSearch + "/search/search.dll?";
    const vendra::ResultPages keyword = vendra::KeywordSearchPages(form);
    const vendra::ResultPages completedPages = vendra::CompletedSearchPages(words);
    const std::string urls[][2] = {
        {vendra::CategoryFirstPageUrl(form.category), listings + form.category + "/index.html"},
        {vendra::CategoryPageUrl(form.category, page),
         listings + form.category + "/page" + std::to_string(page) + ".html"},
        {keyword.firstPage,
         search + "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=" + query + "&query2=" +
             Replace(form.title, '+') + "&search_option=" + std::to_string(form.modeIndex + 1) +
             description + "&exclude=" + Replace(form.excluded, '+') +
             "&category0=" + form.category + "&minPrice=" + form.priceFrom +
             "&maxPrice=" + form.priceTo + "&ebaytag1code=0&st=&SortProperty=MetaEndSort"},
        {keyword.followingPrefix + "50",
         search + "query=" + query + "&minPrice=" + form.priceFrom + "&maxPrice=" + form.priceTo +
             description + "&region=0&ebaytag1=ebayreg&ht=1&category0=" + form.category +
             "&combine=y&SortProperty=MetaEndSort&st=2&skip=50"},
        {completedPages.firstPage,
         completed + "ht=1&query=" + Replace(words, '+') + "&SortProperty=MetaEndSort"},
        {completedPages.followingPrefix + "100",
         completed + "GetResult&query=" + Replace(words, '+') +
             "&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip=100"},
    };
    for (const auto& [url, want] : urls) {
        Check(url, want, "address");
        const std::string line = vendra::EncodeForRequestLine(url);
        for (const unsigned char c : line)
            if (c < 0x21 || c > 0x7e ||
                std::string_view("\"<>\\^`{|}#").find(static_cast<char>(c)) !=
                    std::string_view::npos)
                Check(line, "no byte " + std::to_string(c), "request line");
    }
    return 0;
}
