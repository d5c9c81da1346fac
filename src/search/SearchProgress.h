#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "search/SearchKind.h"

namespace vendra {

// What a search reports as it goes, as values. The window's controller turns them into the
// status texts and button states of the window; the command line shows them its own way.
namespace progress {

// The search holds its folder and has begun: the working files of the last one go.
struct SearchBegun {
    bool operator==(const SearchBegun&) const = default;
};
// The first page of a search of this kind is about to be asked for.
struct FirstPageAsked {
    SearchKind kind = SearchKind::None;
    bool operator==(const FirstPageAsked&) const = default;
};
// The page count a category or featured first page announces, as written and as read.
struct PagesAnnounced {
    std::string asWritten;
    std::int16_t pages = 0;
    bool operator==(const PagesAnnounced&) const = default;
};
// The first page announces a count that cannot be read; the walk keeps the page total it has.
struct PagesUnreadable {
    bool operator==(const PagesUnreadable&) const = default;
};
// The listing count a keyword or completed first page reports, as written and as read.
struct ListingsAnnounced {
    std::string asWritten;
    std::int32_t listings = 0;
    bool operator==(const ListingsAnnounced&) const = default;
};
// A page step begins: the walk is under way, and its incomplete results may be asked for.
struct PageStepBegun {
    bool operator==(const PageStepBegun&) const = default;
};
// The walk moves on to listing page `page` of `pages`.
struct PagesSearched {
    int page = 0;
    std::int16_t pages = 0;
    bool operator==(const PagesSearched&) const = default;
};
// The walk moves on to the results from `offset` of `listings`.
struct ListingsSearched {
    std::int32_t offset = 0;
    std::int32_t listings = 0;
    bool operator==(const ListingsSearched&) const = default;
};
// A page of the walk that could not be fetched; the walk went on without its listings.
struct PageLost {
    std::string reason;
    bool operator==(const PageLost&) const = default;
};
// A listing block that the listing file would not take; the results page lacks its listings.
struct BlockLost {
    std::string reason;  // in the system's words
    bool operator==(const BlockLost&) const = default;
};

// The walk is over: the bid pass reads the listing file for the highest count.
struct BidPassBegun {
    bool operator==(const BidPassBegun&) const = default;
};
// The results page is being written.
struct ResultsBegun {
    bool operator==(const ResultsBegun&) const = default;
};

}  // namespace progress

using Progress =
    std::variant<progress::SearchBegun, progress::FirstPageAsked, progress::PagesAnnounced,
                 progress::PagesUnreadable, progress::ListingsAnnounced, progress::PageStepBegun,
                 progress::PagesSearched, progress::ListingsSearched, progress::PageLost,
                 progress::BlockLost, progress::BidPassBegun, progress::ResultsBegun>;

// Where a search reports what happened.
class ProgressReport {
  public:
    virtual ~ProgressReport() = default;
    virtual void report(const Progress& event) = 0;
};

}  // namespace vendra
