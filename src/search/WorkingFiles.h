#pragma once

#include <string>

#include "platform/TextFiles.h"

namespace vendra {

// The three files of the application folder. Paths are formed afresh from the folder whenever
// they are needed, since the folder itself is asked afresh.
struct WorkingFiles {
    std::string listing;       // Listinglist.txt, the blocks of the page walk
    std::string results;       // Finalsearch.htm, the results page
    std::string instructions;  // instructions.htm, the help page

    static WorkingFiles In(const std::string& folder);
};

// Deletes the listing file and the results page of the last search. A file that is missing (the
// usual case) or cannot be deleted (held open, no permission) is left as it is: the search goes on.
void RemoveWorkingFiles(TextFiles& files, const WorkingFiles& paths);

}  // namespace vendra
