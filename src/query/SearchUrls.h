#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendra {

// Every address the program builds, from what the user typed, exactly as typed: nothing is
// trimmed, checked or escaped here (the fetch escapes what cannot stand in a request line).

// The site's index of categories, which Show Categories opens in the browser.
std::string CategoriesIndexUrl();

// Listing pages: the first page of a category or of the featured auctions, and the numbered
// pages that follow.
std::string CategoryFirstPageUrl(std::string_view category);
std::string CategoryPageUrl(std::string_view category, int page);
std::string FeaturedFirstPageUrl();
std::string FeaturedPageUrl(int page);

// A search-result walk starts at its first page; the following pages are the prefix (which ends
// in "&skip=") followed by the offset of their first listing.
struct ResultPages {
    std::string firstPage;
    std::string followingPrefix;
};

// The search mode list's entries, in the list's order.
enum class KeywordMode { AllWords, AnyWord, ExactPhrase };

struct KeywordSearchForm {
    std::string title;
    std::string excluded;
    int modeIndex = 0;  // the search mode list's index; -1 when nothing is selected
    bool descriptions = false;
    std::string category;  // the site's category number, empty for all
    std::string priceFrom;
    std::string priceTo;
};

// The site's query text for the title words in the given mode, with the excluded words.
std::string KeywordQueryText(std::string_view title, std::string_view excluded, int modeIndex);

ResultPages KeywordSearchPages(const KeywordSearchForm& form);
ResultPages CompletedSearchPages(std::string_view words);

}  // namespace vendra
