#include "search/WorkingFiles.h"

namespace vendra {

WorkingFiles WorkingFiles::In(const std::string& folder) {
    return {folder, folder + "/Listinglist.txt", folder + "/Finalsearch.htm",
            folder + "/instructions.htm"};
}

std::optional<std::string> RemoveWorkingFiles(TextFiles& files, const WorkingFiles& paths) {
    for (const std::string* path : {&paths.listing, &paths.results}) {
        try {
            files.remove(*path);
        } catch (const FileError& error) {
            if (error.kind() == FileError::Kind::NotAFile) return error.what();
        }
    }
    return std::nullopt;
}

}  // namespace vendra
