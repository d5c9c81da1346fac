#include "report/BidPass.h"

#include <algorithm>
#include <exception>

#include "report/BidReader.h"

namespace vendra {

HighestBids FindHighestBids(TextFiles& files, const std::string& listingFile, SearchKind kind,
                            const NumberSeparators& separators) {
    try {
        const auto listing = files.openForReading(listingFile);
        std::int16_t highest = 0;
        while (!listing->atEnd()) {
            const BidReading reading = ReadBids(listing->readLine(), kind, separators);
            if (!reading.ok()) return {HighestBids::Status::Unreadable, 0};
            highest = std::max(highest, reading.bids);
        }
        return {HighestBids::Status::Found, highest};
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::NotFound)
            return {HighestBids::Status::NoListingFile, 0};
        return {HighestBids::Status::Unreadable, 0};
    } catch (const std::exception&) {
        // Anything else, such as a line too large for memory.
        return {HighestBids::Status::Unreadable, 0};
    }
}

}  // namespace vendra
