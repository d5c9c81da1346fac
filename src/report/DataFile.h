#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextFiles.h"
#include "report/ListingRow.h"

namespace vendra {

enum class DataFormat { Csv, Json };

// The format a data file's name asks for: ".csv" or ".json" at its end, in any letter case (as a
// spreadsheet on another system may name it); nullopt for a name that is not a data file name.
std::optional<DataFormat> DataFormatOf(std::string_view path);

// Whether a listing was in an earlier run's data file: not asked (no earlier file), or not.
enum class Novelty { NotAsked, New, Seen };

// One value of a data file's record: text, a whole number, or none (empty in CSV, null in JSON).
struct DataValue {
    enum class Kind { Text, Number, None };
    Kind kind = Kind::None;
    std::string text{};
    std::int64_t number = 0;

    static DataValue Of(std::string text) { return {Kind::Text, std::move(text), 0}; }
    static DataValue Of(std::int64_t number) { return {Kind::Number, {}, number}; }
};

// Records as data, written one by one: CSV (RFC 4180, CR LF, a header of the columns' names) or
// a JSON array of objects with the columns as keys in that order. By default the records are
// the kept listings in the results page's order, columns `bids,title,link,price,ends,new`. The
// records go to a file beside the one named and replace it only once complete, so a run that
// fails (a full disk, a folder gone) leaves the earlier file as it was, which may be the very file
// the run compared itself with. Every failure is a FileError.
class DataFileWriter {
  public:
    DataFileWriter(TextFiles& files, const std::string& path, DataFormat format);
    DataFileWriter(TextFiles& files, const std::string& path, DataFormat format,
                   std::vector<std::string> columns);

    void add(const ListingRow& row, Novelty novelty);
    // One record, a value for each column.
    void add(const std::vector<DataValue>& record);
    // Completes the file and puts it in place of the one named; a writer destroyed before then
    // leaves nothing behind.
    void finish();

  private:
    DataFormat format_;
    std::vector<std::string> columns_;
    std::unique_ptr<TextWriter> file_;
    bool firstRow_ = true;
};

}  // namespace vendra
