#pragma once

#include <optional>
#include <string>

#include "platform/TextFiles.h"

namespace vendra {

// The application folder and its three files.
struct WorkingFiles {
    std::string folder;
    std::string listing;       // Listinglist.txt, the blocks of the page walk
    std::string results;       // Finalsearch.htm, the results page
    std::string instructions;  // instructions.htm, the help page

    static WorkingFiles In(const std::string& folder);
};

// Deletes the listing file and the results page of the last search, or a link or FIFO found in
// their place. A file that is missing (the usual case) or cannot be deleted (held open, no
// permission) is left as it is: the search goes on. Something that is not a file and cannot be
// deleted (a folder) would fail the search later: the error that names it, else nullopt.
std::optional<std::string> RemoveWorkingFiles(TextFiles& files, const WorkingFiles& paths);

}  // namespace vendra
