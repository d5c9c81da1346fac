#pragma once

#include <optional>
#include <string>
#include <vector>

#include "run/SearchOutcome.h"
#include "search/SearchProgress.h"

namespace vendra {

// The words of a search, the same in the window and on the command line.

// The status text a report stands for; none for a report that shows no text of its own.
std::optional<std::string> StatusText(const Progress& event);

// When the results page has been written and handed to the desktop.
inline constexpr char kFinishedText[] = "Finished!!!";

// The message of a search the site refused.
inline constexpr char kTooManyListingsMessage[] =
    "eBay says your search returned too many listings. Please narrow it and try again";

// The message of a first page that could not be fetched.
std::string UnreachableMessage(const SearchOutcome& outcome);

// The message of a search whose folder cannot serve, ended before anything was fetched.
std::string FolderUnusableMessage(const SearchOutcome& outcome);

// How many pages and listing blocks the results page lacks, and why: a message each, none when
// nothing was lost.
std::vector<std::string> LossMessages(const SearchOutcome& outcome);

}  // namespace vendra
