#include "query/SearchUrls.h"

#include <algorithm>
#include <optional>

#include "query/SiteAddresses.h"

namespace vendra {
namespace {

// Joins the pieces of an address in one buffer. Also keeps GCC 12's optimiser from warning
// (-Wrestrict) about the inserts of `"literal" + std::string` chains.
std::string Join(std::initializer_list<std::string_view> pieces) {
    std::string joined;
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    joined.reserve(size);
    for (std::string_view piece : pieces) joined.append(piece);
    return joined;
}

std::string ReplaceSpaces(std::string_view text, char by) {
    std::string replaced(text);
    std::replace(replaced.begin(), replaced.end(), ' ', by);
    return replaced;
}

std::string Listings(std::string_view path) { return Join({"http://", hosts::kListings, path}); }

// The mode the search mode list's index selects; nullopt when none is selected.
std::optional<KeywordMode> ModeAt(int listIndex) {
    switch (listIndex) {
        case 0:
            return KeywordMode::AllWords;
        case 1:
            return KeywordMode::AnyWord;
        case 2:
            return KeywordMode::ExactPhrase;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string CategoriesIndexUrl() { return Listings("/aw/listings/list/categories.html"); }

std::string CategoryFirstPageUrl(std::string_view category) {
    return Listings(Join({"/aw/plistings/list/category", category, "/index.html"}));
}

std::string CategoryPageUrl(std::string_view category, int page) {
    return Listings(
        Join({"/aw/plistings/list/category", category, "/page", std::to_string(page), ".html"}));
}

std::string FeaturedFirstPageUrl() { return Listings("/aw/plistings/list/featured/index.html"); }

std::string FeaturedPageUrl(int page) {
    return Listings(
        Join({"/aw/plistings/list/category0/page", std::to_string(page), ".html?featured"}));
}

std::string KeywordQueryText(std::string_view title, std::string_view excluded, int modeIndex) {
    // Every single space becomes one separator: nothing is trimmed or collapsed.
    const std::string plus = ReplaceSpaces(title, '+');
    const std::string without =
        excluded.empty() ? std::string() : Join({"+-(", ReplaceSpaces(excluded, ','), ")"});
    const std::optional<KeywordMode> mode = ModeAt(modeIndex);
    if (!mode) return {};
    switch (*mode) {
        case KeywordMode::AllWords:
            return Join({plus, without});
        case KeywordMode::AnyWord:
            return Join({"(", ReplaceSpaces(title, ','), ")", without});
        case KeywordMode::ExactPhrase:
            return Join({"\"", plus, "\"", without});
    }
    return {};
}

ResultPages KeywordSearchPages(const KeywordSearchForm& form) {
    const std::string query = KeywordQueryText(form.title, form.excluded, form.modeIndex);
    const std::string site =
        Join({"http://", form.descriptions ? hosts::kDescriptionSearch : hosts::kKeywordSearch});
    const std::string_view descriptionKey = form.descriptions ? "&srchdesc=y" : "";
    return {
        Join({site, "/search/search.dll?MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=",
              query, "&query2=", ReplaceSpaces(form.title, '+'),
              "&search_option=", std::to_string(form.modeIndex + 1), descriptionKey,
              "&exclude=", ReplaceSpaces(form.excluded, '+'), "&category0=", form.category,
              "&minPrice=", form.priceFrom, "&maxPrice=", form.priceTo,
              "&ebaytag1code=0&st=&SortProperty=MetaEndSort"}),
        Join({site, "/search/search.dll?query=", query, "&minPrice=", form.priceFrom,
              "&maxPrice=", form.priceTo, descriptionKey,
              "&region=0&ebaytag1=ebayreg&ht=1&category0=", form.category,
              "&combine=y&SortProperty=MetaEndSort&st=2&skip="}),
    };
}

ResultPages CompletedSearchPages(std::string_view words) {
    const std::string terms = ReplaceSpaces(words, '+');
    const std::string site = Join({"http://", hosts::kCompletedSearch});
    return {Join({site, "/search/search.dll?ht=1&query=", terms, "&SortProperty=MetaEndSort"}),
            Join({site, "/search/search.dll?GetResult&query=", terms,
                  "&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip="})};
}

}  // namespace vendra
