#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/ListingRow.h"

namespace vendra {

// How a search ended.
enum class SearchEnd {
    Finished,         // the results page was written
    Stopped,          // Stop Search, Ctrl+C twice, or the window closed
    TooManyListings,  // the site refused the search
    SiteUnreachable,  // the first page could not be fetched
    BidsUnreadable,   // a bid count in the listing file could not be read
    PageNotWritten,   // the minimum is not a number, or the results page could not be written
    FolderInUse,      // another program was searching from the same folder
    FolderUnusable,   // no folder for the working files, or a lock or working file path that
                      // is not a file: ended before anything was fetched
};

// What a search lost, counted, with the first reason.
struct Losses {
    std::uint64_t count = 0;
    std::string firstReason;
    void add(const std::string& reason) {
        if (count++ == 0) firstReason = reason;
    }
};

// What a search left: how it ended, its results page, the rows it kept and what it lost.
struct SearchOutcome {
    SearchEnd end = SearchEnd::Stopped;
    // The results page, when one was written. It may be set with an end other than Finished:
    // the page was written, then the listing file had gone (the site refused the search).
    std::string resultsPage;
    std::string whyUnreachable;     // for SiteUnreachable: the fetch's reason
    std::string whyFolderUnusable;  // for FolderUnusable: what could not be used, and why
    Losses lostPages;               // pages of the walk that could not be fetched
    Losses lostBlocks;              // listing blocks the listing file would not take
    // The listings of the results page, in its order, when the search was asked to keep them.
    std::vector<ListingRow> rows;
};

}  // namespace vendra
