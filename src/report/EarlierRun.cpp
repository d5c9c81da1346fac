#include "report/EarlierRun.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "report/DataFile.h"

namespace vendra {
namespace {

// The file's bytes whole. The line reader drops each line's end, so it is put back from how far
// the reader moved: one byte for a CR, two for a CR LF, none at the end of the file.
std::string ReadWhole(TextFiles& files, const std::string& path) {
    const auto reader = files.openForReading(path);
    std::string bytes;
    while (!reader->atEnd()) {
        const std::uint64_t before = reader->offset();
        const std::string line = reader->readLine();
        bytes += line;
        const std::uint64_t ending = reader->offset() - before - line.size();
        bytes += ending == 2 ? "\r\n" : ending == 1 ? "\r" : "";
    }
    return bytes;
}

// A file's name in a message of one line, whatever it holds.
std::string Shown(const std::string& path) {
    std::string shown = path;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return shown;
}

using Record = std::vector<std::string>;

// RFC 4180 records; a record ends at CR LF, CR or LF outside quotes. nullopt, with the line
// where the trouble lies, for a quote that is never closed or text after a closing quote.
std::optional<std::vector<Record>> CsvRecords(std::string_view text, std::size_t& badLine) {
    std::vector<Record> records;
    Record record;
    std::string field;
    std::size_t line = 1;
    std::size_t at = 0;
    const auto endOfLine = [&](std::size_t i) { return text[i] == '\n' || text[i] == '\r'; };
    while (at < text.size()) {
        if (text[at] == '"') {
            const std::size_t opened = line;
            for (++at;; ++at) {
                if (at == text.size()) {
                    badLine = opened;
                    return std::nullopt;
                }
                if (text[at] == '\n') ++line;
                if (text[at] != '"') {
                    field += text[at];
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += text[++at];
                } else {
                    break;
                }
            }
            ++at;
            if (at < text.size() && text[at] != ',' && !endOfLine(at)) {
                badLine = line;
                return std::nullopt;
            }
        } else {
            while (at < text.size() && text[at] != ',' && !endOfLine(at)) field += text[at++];
        }
        record.push_back(std::move(field));
        field.clear();
        if (at == text.size()) break;
        if (text[at] == ',') {
            if (++at == text.size()) record.emplace_back();
            continue;
        }
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        ++at;
        ++line;
        records.push_back(std::move(record));
        record.clear();
    }
    if (!record.empty()) records.push_back(std::move(record));
    return records;
}

std::string LinksFromCsv(std::string_view text, std::unordered_set<std::string>& links) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t badLine = 0;
    const auto records = CsvRecords(text, badLine);
    if (!records) return "malformed CSV at line " + std::to_string(badLine);
    if (records->empty()) return "no header line";
    const Record& header = records->front();
    std::size_t column = 0;
    while (column < header.size() && header[column] != "link") ++column;
    if (column == header.size()) return "no link column in its header line";
    for (std::size_t i = 1; i < records->size(); ++i) {
        const Record& record = (*records)[i];
        if (record.size() == 1 && record[0].empty()) continue;  // a blank line
        if (column >= record.size()) return "record " + std::to_string(i) + " has no link field";
        if (!record[column].empty()) links.insert(record[column]);
    }
    return {};
}

std::string LinksFromJson(std::string_view text, std::unordered_set<std::string>& links) {
    nlohmann::json rows;
    try {
        rows = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        return "malformed JSON at byte " + std::to_string(error.byte);
    }
    if (!rows.is_array()) return "not a JSON array of listings";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const nlohmann::json& row = rows[i];
        const auto link = row.is_object() ? row.find("link") : row.end();
        if (!row.is_object() || link == row.end() || !link->is_string())
            return "listing " + std::to_string(i + 1) + " has no link text";
        if (!link->get_ref<const std::string&>().empty()) links.insert(link->get<std::string>());
    }
    return {};
}

}  // namespace

EarlierLinks ReadEarlierLinks(TextFiles& files, const std::string& path) {
    EarlierLinks earlier;
    const std::optional<DataFormat> format = DataFormatOf(path);
    if (!format) {
        earlier.error = Shown(path) + " is not a data file name (it ends in .csv or .json)";
        return earlier;
    }
    std::string text;
    try {
        text = ReadWhole(files, path);
    } catch (const FileError& error) {
        earlier.error = Shown(error.what());  // "Cannot open PATH: why"
        return earlier;
    }
    const std::string trouble = *format == DataFormat::Csv ? LinksFromCsv(text, earlier.links)
                                                           : LinksFromJson(text, earlier.links);
    if (!trouble.empty()) {
        earlier.links.clear();
        earlier.error = Shown(path) + " is not a data file of an earlier run: " + trouble;
    }
    return earlier;
}

}  // namespace vendra
