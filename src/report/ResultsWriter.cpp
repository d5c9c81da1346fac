#include "report/ResultsWriter.h"

#include <exception>

#include "report/BidReader.h"
#include "report/HeldRows.h"
#include "report/ResultsPage.h"
#include "text/NumberReading.h"

namespace vendra {
namespace {

// Rows with the highest count come first on the page, so they go straight to it; the others
// wait in HeldRows until the whole file has been read. A bad line ends the run with exactly the
// rows before it that have the highest count on the page.
bool CopyRows(TextFiles& files, const std::string& listingFile, ResultsPage& page,
              std::int16_t minimum, std::int16_t highest, SearchKind kind,
              const NumberSeparators& separators) {
    const auto listing = files.openForReading(listingFile);
    HeldRows held(highest - 1, minimum);
    while (!listing->atEnd()) {
        const std::uint64_t offset = listing->offset();
        const std::string line = listing->readLine();
        const BidReading reading = ReadBids(line, kind, separators);
        if (!reading.ok()) return false;
        if (reading.bids == highest)
            page.writeRow(line);
        else if (reading.bids < highest && reading.bids >= minimum)
            held.hold(reading.bids, offset, line.size());
    }
    held.copy(*listing, [&](std::string_view rows) { page.writeRow(rows); });
    return true;
}

}  // namespace

ResultsOutcome WriteResults(TextFiles& files, const std::string& listingFile,
                            const std::string& resultsPage, std::string_view minimumText,
                            std::int16_t highest, SearchKind kind,
                            const NumberSeparators& separators) {
    try {
        ResultsPage page(files, resultsPage);
        page.writeHead();
        const NumberReading minimum = ReadNumber(minimumText, NumberWidth::Int16, separators);
        if (!minimum.ok()) return ResultsOutcome::Failed;
        if (minimum.value <= highest &&
            !CopyRows(files, listingFile, page, static_cast<std::int16_t>(minimum.value), highest,
                      kind, separators))
            return ResultsOutcome::Failed;
        page.finish();
        return ResultsOutcome::Written;
    } catch (const FileError& error) {
        return error.kind() == FileError::Kind::NotFound ? ResultsOutcome::NoListingFile
                                                         : ResultsOutcome::Failed;
    } catch (const std::exception&) {
        return ResultsOutcome::Failed;
    }
}

}  // namespace vendra
