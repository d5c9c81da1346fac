#include "report/KeptRows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "report/BidReader.h"
#include "text/NumberReading.h"

namespace vendra {

bool ForEachKeptRow(TextFiles& files, const KeptListings& kept,
                    const std::function<void(std::string_view line, std::int16_t bids)>& row) {
    const NumberReading minimum = ReadNumber(kept.minimum, NumberWidth::Int16, kept.separators);
    if (!minimum.ok()) return false;
    struct Place {
        std::int16_t bids;
        std::uint64_t offset;
        std::uint64_t length;
    };
    std::vector<Place> places;
    const auto listing = files.openForReading(kept.listingFile);
    while (!listing->atEnd()) {
        const std::uint64_t offset = listing->offset();
        const std::string line = listing->readLine();
        const BidReading reading = ReadBids(line, kept.kind, kept.separators);
        if (!reading.ok()) return false;
        if (reading.bids >= minimum.value && reading.bids <= kept.highest)
            places.push_back({reading.bids, offset, line.size()});
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const Place& a, const Place& b) { return a.bids > b.bids; });
    std::string line;
    for (const Place& place : places) {
        line.resize(place.length);
        listing->readAt(place.offset, line);
        row(line, place.bids);
    }
    return true;
}

}  // namespace vendra
