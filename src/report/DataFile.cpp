#include "report/DataFile.h"

#include <nlohmann/json.hpp>

namespace vendra {
namespace {

bool EndsIgnoringCase(std::string_view text, std::string_view lowerEnd) {
    if (text.size() < lowerEnd.size()) return false;
    text.remove_prefix(text.size() - lowerEnd.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != lowerEnd[i]) return false;
    }
    return true;
}

std::string_view NoveltyText(Novelty novelty) {
    switch (novelty) {
        case Novelty::New:
            return "yes";
        case Novelty::Seen:
            return "no";
        case Novelty::NotAsked:
            break;
    }
    return "";
}

// RFC 4180: quoted when it holds a comma, a quote or a line break; quotes doubled.
std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + '"';
}

std::string CsvRecord(const ListingRow& row, Novelty novelty) {
    return std::to_string(row.bids) + ',' + CsvField(row.title) + ',' + CsvField(row.link) + ',' +
           CsvField(row.price) + ',' + CsvField(row.ends) + ',' +
           std::string(NoveltyText(novelty)) + "\r\n";
}

// The texts are UTF-8 already; a byte that is not (a link's stray byte) becomes U+FFFD rather
// than failing the file.
std::string JsonObject(const ListingRow& row, Novelty novelty) {
    nlohmann::ordered_json object;
    object["bids"] = row.bids;
    object["title"] = row.title;
    object["link"] = row.link;
    object["price"] = row.price;
    object["ends"] = row.ends;
    object["new"] = NoveltyText(novelty);
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::optional<DataFormat> DataFormatOf(std::string_view path) {
    if (EndsIgnoringCase(path, ".csv")) return DataFormat::Csv;
    if (EndsIgnoringCase(path, ".json")) return DataFormat::Json;
    return std::nullopt;
}

DataFileWriter::DataFileWriter(TextFiles& files, const std::string& path, DataFormat format)
    : format_(format), file_(files.createInPlaceOf(path)) {
    if (format_ == DataFormat::Csv)
        file_->write("bids,title,link,price,ends,new\r\n");
    else
        file_->write("[");
}

void DataFileWriter::add(const ListingRow& row, Novelty novelty) {
    if (format_ == DataFormat::Csv) {
        file_->write(CsvRecord(row, novelty));
        return;
    }
    file_->write(firstRow_ ? "\n" : ",\n");
    file_->write(JsonObject(row, novelty));
    firstRow_ = false;
}

void DataFileWriter::finish() {
    if (format_ == DataFormat::Json) file_->write(firstRow_ ? "]\n" : "\n]\n");
    file_->close();
}

}  // namespace vendra
