#include "cli/DataExport.h"

#include <memory>

#include "report/DataFile.h"
#include "report/KeptRows.h"
#include "report/ListingRow.h"

namespace vendra {

DataExport::DataExport(TextFiles& files, std::string dataFile, std::optional<EarlierLinks> earlier)
    : files_(files), dataFile_(std::move(dataFile)), earlier_(std::move(earlier)) {}

void DataExport::resultsWritten(const KeptListings& kept) {
    listings_ = fresh_ = 0;
    try {
        std::unique_ptr<DataFileWriter> data;
        if (const auto format = DataFormatOf(dataFile_))
            data = std::make_unique<DataFileWriter>(files_, dataFile_, *format);
        const bool read = ForEachKeptRow(files_, kept, [&](std::string_view line, std::int16_t) {
            const ListingRow row = ReadListingRow(line, kept.kind, kept.separators);
            if (!row.isListing()) return;
            ++listings_;
            Novelty novelty = Novelty::NotAsked;
            if (earlier_) {
                novelty = earlier_->links.count(row.link) ? Novelty::Seen : Novelty::New;
                fresh_ += novelty == Novelty::New;
            }
            if (data) data->add(row, novelty);
        });
        // The results page read the same file a moment ago, so this is a file that changed.
        if (!read) failure_ = "the listing file could not be read again";
        if (data && read) data->finish();
    } catch (const FileError& error) {
        failure_ = error.what();
    }
}

}  // namespace vendra
