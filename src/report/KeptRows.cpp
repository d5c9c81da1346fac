#include "report/KeptRows.h"

#include <string>

#include "report/BidReader.h"
#include "report/HeldRows.h"

namespace vendra {

bool ReadKeptRows(LineReader& listing, std::int16_t minimum, std::int16_t highest, SearchKind kind,
                  const NumberSeparators& separators, KeptRowSink& sink) {
    HeldRows held(highest - 1, minimum);
    while (!listing.atEnd()) {
        const std::uint64_t offset = listing.offset();
        const std::string line = listing.readLine();
        const BidReading reading = ReadBids(line, kind, separators);
        if (!reading.ok()) return false;
        if (reading.bids == highest && reading.bids >= minimum)
            sink.keptRow(line, reading.bids);
        else if (reading.bids < highest && reading.bids >= minimum)
            held.hold(reading.bids, offset, line.size());
    }
    held.copy(listing, [&](std::string_view row, std::int16_t bids) { sink.keptRow(row, bids); });
    return true;
}

}  // namespace vendra
