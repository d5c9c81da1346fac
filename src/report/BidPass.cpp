#include <algorithm>

#include "app/Failure.h"
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
        // Anything else ends the search where it stands, with nothing shown.
    } catch (const Failure&) {
    }
}

}  // namespace vendra
