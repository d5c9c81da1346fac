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

std::string CsvRecord(const std::vector<DataValue>& record) {
    std::string line;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const DataValue& value = record[i];
        if (i > 0) line += ',';
        if (value.kind == DataValue::Kind::Text) line += CsvField(value.text);
        if (value.kind == DataValue::Kind::Number) line += std::to_string(value.number);
    }
    return line + "\r\n";
}

// The texts are UTF-8 already; a byte that is not (a link's stray byte) becomes U+FFFD rather
// than failing the file.
std::string JsonObject(const std::vector<std::string>& columns,
                       const std::vector<DataValue>& record) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < columns.size() && i < record.size(); ++i) {
        if (record[i].kind == DataValue::Kind::Text)
            object[columns[i]] = record[i].text;
        else if (record[i].kind == DataValue::Kind::Number)
            object[columns[i]] = record[i].number;
        else
            object[columns[i]] = nullptr;
    }
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::optional<DataFormat> DataFormatOf(std::string_view path) {
    if (EndsIgnoringCase(path, ".csv")) return DataFormat::Csv;
    if (EndsIgnoringCase(path, ".json")) return DataFormat::Json;
    return std::nullopt;
}

DataFileWriter::DataFileWriter(TextFiles& files, const std::string& path, DataFormat format)
    : DataFileWriter(files, path, format, {"bids", "title", "link", "price", "ends", "new"}) {}

DataFileWriter::DataFileWriter(TextFiles& files, const std::string& path, DataFormat format,
                               std::vector<std::string> columns)
    : format_(format), columns_(std::move(columns)), file_(files.createInPlaceOf(path)) {
    if (format_ == DataFormat::Json) {
        file_->write("[");
        return;
    }
    std::string header;
    for (const std::string& column : columns_) header += (header.empty() ? "" : ",") + column;
    file_->write(header + "\r\n");
}

void DataFileWriter::add(const ListingRow& row, Novelty novelty) {
    add({DataValue::Of(std::int64_t{row.bids}), DataValue::Of(row.title), DataValue::Of(row.link),
         DataValue::Of(row.price), DataValue::Of(row.ends),
         DataValue::Of(std::string(NoveltyText(novelty)))});
}

void DataFileWriter::add(const std::vector<DataValue>& record) {
    if (format_ == DataFormat::Csv) {
        file_->write(CsvRecord(record));
        return;
    }
    file_->write(firstRow_ ? "\n" : ",\n");
    file_->write(JsonObject(columns_, record));
    firstRow_ = false;
}

void DataFileWriter::finish() {
    if (format_ == DataFormat::Json) file_->write(firstRow_ ? "]\n" : "\n]\n");
    file_->close();
}

}  // namespace vendra
