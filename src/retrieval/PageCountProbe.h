#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocaleInfo.h"
#include "platform/UrlFetch.h"
#include "search/SearchProgress.h"
#include "search/SearchState.h"

namespace vendra {

// The number of listing pages a category or featured first page announces.
struct PageCount {
    enum class Status {
        Found,       // `pages` holds it, `text` is the count as written
        Absent,      // the page announces no count: no following pages
        Unreadable,  // a count without its end, not a number, or out of range
    };
    Status status = Status::Absent;
    std::string text;
    std::int16_t pages = 0;
};

// Reads the text between the page's last "of <b>" and the first "</b></font>" after it.
PageCount ReadPageCount(std::string_view page, const NumberSeparators& separators);

// Fetches the first page of a category or featured search, stores the count it announces as the
// walk's page total and reports it. An unreadable count leaves the page total as it is. A failed
// fetch throws FetchError.
void ProbePageCount(const std::string& firstPage, SearchState& state, UrlFetch& fetch,
                    const LocaleInfo& locale, ProgressReport& progress);

}  // namespace vendra
