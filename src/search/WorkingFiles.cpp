#include "search/WorkingFiles.h"

namespace vendra {

WorkingFiles WorkingFiles::In(const std::string& folder) {
    return {folder, folder + "/Listinglist.txt", folder + "/Finalsearch.htm",
            folder + "/instructions.htm"};
}

void RemoveWorkingFiles(TextFiles& files, const WorkingFiles& paths) {
    for (const std::string* path : {&paths.listing, &paths.results}) {
        try {
            files.remove(*path);
        } catch (const FileError&) {
        }
    }
}

}  // namespace vendra
