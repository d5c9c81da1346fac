#include "cli/DataExport.h"

#include <memory>

#include "report/DataFile.h"

namespace vendra {

DataExport::DataExport(TextFiles& files, std::string dataFile, std::optional<EarlierLinks> earlier)
    : files_(files), dataFile_(std::move(dataFile)), earlier_(std::move(earlier)) {}

void DataExport::write(const std::vector<ListingRow>& rows) {
    listings_ = rows.size();
    fresh_ = 0;
    try {
        std::unique_ptr<DataFileWriter> data;
        if (const auto format = DataFormatOf(dataFile_))
            data = std::make_unique<DataFileWriter>(files_, dataFile_, *format);
        for (const ListingRow& row : rows) {
            Novelty novelty = Novelty::NotAsked;
            if (earlier_) {
                novelty = earlier_->links.contains(row.link) ? Novelty::Seen : Novelty::New;
                fresh_ += novelty == Novelty::New;
            }
            if (data) data->add(row, novelty);
        }
        if (data) data->finish();
    } catch (const FileError& error) {
        failure_ = error.what();
    }
}

}  // namespace vendra
