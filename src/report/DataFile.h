#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextFiles.h"
#include "report/ListingRow.h"

namespace vendra {

enum class DataFormat { Csv, Json };

// The format a data file's name asks for: ".csv" or ".json" at its end, in any letter case (as a
// spreadsheet on another system may name it); nullopt for a name that is not a data file name.
std::optional<DataFormat> DataFormatOf(std::string_view path);

// Whether a listing was in an earlier run's data file: not asked (no earlier file), or not.
enum class Novelty { NotAsked, New, Seen };

// The kept listings as data, written row by row in the results page's order: CSV (RFC 4180,
// CR LF, header `bids,title,link,price,ends,new`) or a JSON array of objects with those keys in
// that order. The rows go to a file of their own beside the one named and replace it only once
// complete, so a run that fails (a full disk, a folder gone) leaves the earlier file as it was,
// which may be the very file the run compared itself with. Every failure is a FileError.
class DataFileWriter {
  public:
    DataFileWriter(TextFiles& files, const std::string& path, DataFormat format);

    void add(const ListingRow& row, Novelty novelty);
    // Completes the file and puts it in place of the one named; a writer destroyed before then
    // leaves nothing behind.
    void finish();

  private:
    DataFormat format_;
    std::unique_ptr<TextWriter> file_;
    bool firstRow_ = true;
};

}  // namespace vendra
