#include "app/MainWindow.h"

namespace vendra {

void MainWindow::RemoveTempFile() {
    ShowStatus("Deleting Temporary Files.......");
    // A missing file is the normal case, and one that cannot be deleted (held open, no
    // permission) must not stop the search: every failure here is ignored.
    for (const std::string& path : {listingFilePath(), resultsPagePath()}) {
        try {
            platform_.files.remove(path);
        } catch (const FileError&) {
        }
    }
}

}  // namespace vendra
