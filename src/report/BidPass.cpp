#include <algorithm>
#include <exception>

#include "app/MainWindow.h"

namespace vendra {

void MainWindow::FindBidAmounts() {
    if (StopFlag) return;
    ShowStatus("Finding Bid amounts.......");
    try {
        std::int16_t highest = 0;
        {
            const auto listing = platform_.files.openForReading(listingFilePath());
            while (!listing->atEnd()) highest = std::max(highest, StripBid(listing->readLine()));
        }
        WriteResults(highest);
    } catch (const FileError& error) {
        // No listing file means the walk kept no rows at all: the site refused the search.
        if (error.kind() == FileError::Kind::NotFound) TooManyListings();
    } catch (const std::exception&) {
        // Anything else (a bad bid cell or minimum, a page that cannot be written, a line too
        // large for memory) ends the search where it stands, with nothing shown.
    }
}

}  // namespace vendra
