#pragma once

#include <string>

#include "query/SearchUrls.h"

namespace vendra {

// What a search asks of whoever started it, each input at the moment a stage needs it: the
// window answers from its controls as they stand then, the command line and a saved search with
// fixed values.
class SearchInputs {
  public:
    virtual ~SearchInputs() = default;
    // Asked again for every page of a category search.
    virtual std::string categoryNumber() = 0;
    virtual std::string completedWords() = 0;
    virtual KeywordSearchForm keywordForm() = 0;
    // Asked once, when the results page is written.
    virtual std::string minimumBids() = 0;
};

// The inputs of a search given once, as the command line and a saved search give them.
struct FixedInputs : SearchInputs {
    std::string category;
    std::string completed;
    KeywordSearchForm keyword;
    std::string minimum = "0";

    std::string categoryNumber() override { return category; }
    std::string completedWords() override { return completed; }
    KeywordSearchForm keywordForm() override { return keyword; }
    std::string minimumBids() override { return minimum; }
};

}  // namespace vendra
