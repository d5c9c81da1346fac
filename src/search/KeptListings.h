#pragma once

#include <cstdint>
#include <string>

#include "platform/LocaleInfo.h"
#include "search/SearchKind.h"

namespace vendra {

// What a finished search kept: the listing file's lines whose bid count lies from the minimum
// to the highest count, which the results page shows. Readable until the listing file goes.
struct KeptListings {
    std::string listingFile;
    std::string minimum;  // as typed
    std::int16_t highest = 0;
    SearchKind kind = SearchKind::None;
    NumberSeparators separators;
};

// A front end that does more with a finished search's listings than the results page.
class ResultsView {
  public:
    virtual ~ResultsView() = default;
    // Called once the results page is written and opened, before the listing file is deleted.
    virtual void resultsWritten(const KeptListings& kept) = 0;
};

}  // namespace vendra
