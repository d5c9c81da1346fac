#include "query/SearchUrls.h"

#include <algorithm>

#include "platform/Hosts.h"

namespace vendra {
namespace {

std::string ReplaceSpaces(std::string_view text, char by) {
    std::string replaced(text);
    std::replace(replaced.begin(), replaced.end(), ' ', by);
    return replaced;
}

std::string Listings(std::string_view path) {
    return std::string("http://") + hosts::kListings + std::string(path);
}

}  // namespace

std::string SpacesToPlus(std::string text) { return ReplaceSpaces(text, '+'); }

std::string CategoriesIndexUrl() { return Listings("/aw/listings/list/categories.html"); }

std::string CategoryFirstPageUrl(std::string_view category) {
    return Listings("/aw/plistings/list/category" + std::string(category) + "/index.html");
}

std::string CategoryPageUrl(std::string_view category, int page) {
    return Listings("/aw/plistings/list/category" + std::string(category) + "/page" +
                    std::to_string(page) + ".html");
}

std::string FeaturedFirstPageUrl() { return Listings("/aw/plistings/list/featured/index.html"); }

std::string FeaturedPageUrl(int page) {
    return Listings("/aw/plistings/list/category0/page" + std::to_string(page) + ".html?featured");
}

std::string KeywordQueryText(std::string_view title, std::string_view excluded, int modeIndex) {
    // Every single space becomes one separator: nothing is trimmed or collapsed.
    const std::string plus = ReplaceSpaces(title, '+');
    const std::string without =
        excluded.empty() ? std::string() : "+-(" + ReplaceSpaces(excluded, ',') + ")";
    switch (modeIndex) {
        case static_cast<int>(KeywordMode::AllWords): return plus + without;
        case static_cast<int>(KeywordMode::AnyWord): return "(" + ReplaceSpaces(title, ',') + ")" + without;
        case static_cast<int>(KeywordMode::ExactPhrase): return "\"" + plus + "\"" + without;
        default: return {};
    }
}

ResultPages KeywordSearchPages(const KeywordSearchForm& form) {
    const std::string query = KeywordQueryText(form.title, form.excluded, form.modeIndex);
    const std::string site = std::string("http://") +
                             (form.descriptions ? hosts::kDescriptionSearch : hosts::kKeywordSearch);
    const std::string descriptionKey = form.descriptions ? "&srchdesc=y" : "";
    return {
        site + "/search/search.dll?MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=" + query +
            "&query2=" + ReplaceSpaces(form.title, '+') +
            "&search_option=" + std::to_string(form.modeIndex + 1) + descriptionKey +
            "&exclude=" + ReplaceSpaces(form.excluded, '+') + "&category0=" + form.category +
            "&minPrice=" + form.priceFrom + "&maxPrice=" + form.priceTo +
            "&ebaytag1code=0&st=&SortProperty=MetaEndSort",
        site + "/search/search.dll?query=" + query + "&minPrice=" + form.priceFrom +
            "&maxPrice=" + form.priceTo + descriptionKey +
            "&region=0&ebaytag1=ebayreg&ht=1&category0=" + form.category +
            "&combine=y&SortProperty=MetaEndSort&st=2&skip=",
    };
}

ResultPages CompletedSearchPages(std::string_view words) {
    const std::string terms = ReplaceSpaces(words, '+');
    const std::string site = std::string("http://") + hosts::kCompletedSearch;
    return {site + "/search/search.dll?ht=1&query=" + terms + "&SortProperty=MetaEndSort",
            site + "/search/search.dll?GetResult&query=" + terms +
                "&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip="};
}

}  // namespace vendra
