#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocaleInfo.h"
#include "platform/TextFiles.h"
#include "report/KeptRows.h"
#include "search/SearchKind.h"

namespace vendra {

enum class ResultsOutcome {
    Written,
    NoListingFile,  // the listing file went missing
    Failed,         // the minimum is not a number, a bad line, a page that cannot be written
};

// Writes the results page anew: the lines of the listing file whose bid count lies from the
// minimum (the typed text, read as a number) to `highest`, most bids first and in file order
// within one count, in one read of the listing file. Every row of the page also goes to
// `alsoTo`, when given, as it is written. A run that fails leaves what it wrote of the page.
ResultsOutcome WriteResults(TextFiles& files, const std::string& listingFile,
                            const std::string& resultsPage, std::string_view minimumText,
                            std::int16_t highest, SearchKind kind,
                            const NumberSeparators& separators, KeptRowSink* alsoTo = nullptr);

}  // namespace vendra
