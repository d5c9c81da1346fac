#include "report/EarlierRun.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <streambuf>
#include <vector>

#include "report/DataFile.h"
#include "text/OneLine.h"

namespace vendra {
namespace {

// The file is read in pieces of this size, whatever its lines: only the links are kept.
constexpr std::size_t kPiece = 1 << 16;

// RFC 4180 records, read a byte at a time; a record ends at CR LF, CR or LF outside quotes.
// Of each record only the field in the `link` column is kept, and of the header only enough of
// each name to tell "link".
class CsvLinks {
  public:
    explicit CsvLinks(LinkSet& links) : links_(links) {}

    // Takes the next bytes; false once the file is known to be bad (trouble() says why).
    bool feed(std::string_view bytes) {
        if (start_) {
            start_ = false;
            if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        }
        for (const char c : bytes)
            if (!take(c)) return false;
        return true;
    }

    // The end of the file; false when the file is bad.
    bool finish() {
        if (state_ == State::Quoted)
            return fail("malformed CSV at line " + std::to_string(opened_));
        if (!atRecordStart_ && !(endField(), endRecord())) return false;
        if (header_) return fail("no header line");
        return true;
    }

    const std::string& trouble() const { return trouble_; }

  private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted, AfterCr };

    bool take(char c) {
        switch (state_) {
            case State::AfterCr:
                state_ = State::FieldStart;
                if (c == '\n') return true;
                [[fallthrough]];
            case State::FieldStart:
                atRecordStart_ = false;
                if (c == '"') {
                    state_ = State::Quoted;
                    opened_ = line_;
                    return true;
                }
                state_ = State::Unquoted;
                [[fallthrough]];
            case State::Unquoted:
                if (c == ',' || c == '\r' || c == '\n') return separator(c);
                add(c);
                return true;
            case State::Quoted:
                if (c == '"') {
                    state_ = State::QuoteInQuoted;
                    return true;
                }
                if (c == '\n') ++line_;
                add(c);
                return true;
            case State::QuoteInQuoted:
                if (c == ',' || c == '\r' || c == '\n') return separator(c);
                if (c != '"') return fail("malformed CSV at line " + std::to_string(line_));
                add(c);
                state_ = State::Quoted;
                return true;
        }
        return true;
    }

    // A comma ends a field; a line end ends the record too.
    bool separator(char c) {
        endField();
        state_ = c == '\r' ? State::AfterCr : State::FieldStart;
        return c == ',' || endRecord();
    }

    void add(char c) {
        fieldEmpty_ = false;
        if (header_) {
            if (name_.size() < 4)
                name_ += c;
            else
                longName_ = true;
        } else if (field_ == column_) {
            link_ += c;
        }
    }

    void endField() {
        if (header_ && !longName_ && name_ == "link" && column_ == kNone) column_ = field_;
        if (!header_ && field_ == column_) sawLink_ = true;
        lastFieldEmpty_ = fieldEmpty_;
        fieldEmpty_ = true;
        name_.clear();
        longName_ = false;
        ++field_;
    }

    bool endRecord() {
        ++line_;
        atRecordStart_ = true;
        const bool blank = field_ == 1 && lastFieldEmpty_;
        field_ = 0;
        if (header_) {
            header_ = false;
            return column_ != kNone || fail("no link column in its header line");
        }
        ++record_;
        if (!blank && !sawLink_)
            return fail("record " + std::to_string(record_) + " has no link field");
        if (!link_.empty()) links_.insert(link_);
        link_.clear();
        sawLink_ = false;
        return true;
    }

    bool fail(std::string why) {
        trouble_ = std::move(why);
        return false;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    LinkSet& links_;
    State state_ = State::FieldStart;
    bool start_ = true;
    bool atRecordStart_ = true;
    bool header_ = true;
    std::size_t line_ = 1;
    std::size_t opened_ = 1;  // the line where the open quote stands
    std::size_t record_ = 0;  // records after the header
    std::size_t field_ = 0;   // the field being read, in its record
    std::size_t column_ = kNone;
    bool fieldEmpty_ = true;
    bool lastFieldEmpty_ = true;
    std::string name_;  // a header field, up to five bytes
    bool longName_ = false;
    std::string link_;
    bool sawLink_ = false;
    std::string trouble_;
};

// The file as a stream for the JSON parser, a piece at a time; knows how far it has read.
class PieceStream : public std::streambuf {
  public:
    explicit PieceStream(LineReader& reader) : reader_(reader), piece_(kPiece) {}
    std::uint64_t position() const {
        return before_ + static_cast<std::uint64_t>(gptr() - eback());
    }

  protected:
    int_type underflow() override {
        before_ += static_cast<std::uint64_t>(egptr() - eback());
        const std::size_t got = reader_.readSome(piece_);
        setg(piece_.data(), piece_.data(), piece_.data() + got);
        return got == 0 ? traits_type::eof() : traits_type::to_int_type(piece_[0]);
    }

  private:
    LineReader& reader_;
    std::vector<char> piece_;
    std::uint64_t before_ = 0;
};

// The links of a JSON array of objects, as the parser meets them: nothing else is kept, and
// nesting deeper than any data file needs ends the reading.
class JsonLinks : public nlohmann::json_sax<nlohmann::json> {
  public:
    JsonLinks(LinkSet& links, const PieceStream& stream) : links_(links), stream_(stream) {}
    const std::string& trouble() const { return trouble_; }

    bool null() override { return value(nullptr); }
    bool boolean(bool) override { return value(nullptr); }
    bool number_integer(number_integer_t) override { return value(nullptr); }
    bool number_unsigned(number_unsigned_t) override { return value(nullptr); }
    bool number_float(number_float_t, const string_t&) override { return value(nullptr); }
    bool string(string_t& text) override { return value(&text); }
    bool binary(binary_t&) override { return value(nullptr); }

    bool start_object(std::size_t) override {
        if (depth_ == 1) {
            ++listing_;
            sawLink_ = false;
            link_.clear();
            return enter();
        }
        return value(nullptr) && enter();
    }
    bool key(string_t& name) override {
        if (depth_ == 2) isLink_ = name == "link";
        return true;
    }
    bool end_object() override {
        if (--depth_ != 1) return true;
        if (!sawLink_) return noLink();
        if (!link_.empty()) links_.insert(link_);
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ == 0) return enter();
        return value(nullptr) && enter();
    }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        if (trouble_.empty()) trouble_ = "malformed JSON at byte " + std::to_string(position);
        return false;
    }

  private:
    static constexpr int kDeepest = 64;

    bool enter() {
        if (++depth_ <= kDeepest) return true;
        trouble_ = "nested deeper than " + std::to_string(kDeepest) + " levels at byte " +
                   std::to_string(stream_.position());
        return false;
    }

    // A value where it stands: the whole file, a listing, a listing's field, or deeper. `text`
    // is the value when it is a string.
    bool value(string_t* text) {
        if (depth_ == 0) {
            trouble_ = "not a JSON array of listings";
            return false;
        }
        if (depth_ == 1) {
            ++listing_;
            return noLink();
        }
        if (depth_ == 2 && isLink_) {
            isLink_ = false;
            if (!text) return noLink();
            sawLink_ = true;
            link_ = std::move(*text);
        }
        return true;
    }

    bool noLink() {
        trouble_ = "listing " + std::to_string(listing_) + " has no link text, at byte " +
                   std::to_string(stream_.position());
        return false;
    }

    LinkSet& links_;
    const PieceStream& stream_;
    int depth_ = 0;
    std::uint64_t listing_ = 0;
    bool isLink_ = false;
    bool sawLink_ = false;
    std::string link_;
    std::string trouble_;
};

std::string LinksFromCsv(LineReader& reader, LinkSet& links) {
    CsvLinks csv(links);
    std::vector<char> piece(kPiece);
    for (std::size_t got; (got = reader.readSome(piece)) > 0;)
        if (!csv.feed({piece.data(), got})) return csv.trouble();
    return csv.finish() ? "" : csv.trouble();
}

std::string LinksFromJson(LineReader& reader, LinkSet& links) {
    PieceStream pieces(reader);
    std::istream stream(&pieces);
    JsonLinks json(links, pieces);
    if (nlohmann::json::sax_parse(stream, &json)) return {};
    return json.trouble().empty() ? "malformed JSON" : json.trouble();
}

}  // namespace

EarlierLinks ReadEarlierLinks(TextFiles& files, const std::string& path) {
    EarlierLinks earlier;
    const std::optional<DataFormat> format = DataFormatOf(path);
    if (!format) {
        earlier.error = OneLine(path) + " is not a data file name (it ends in .csv or .json)";
        return earlier;
    }
    std::string trouble;
    try {
        const auto reader = files.openNamedForReading(path);
        trouble = *format == DataFormat::Csv ? LinksFromCsv(*reader, earlier.links)
                                             : LinksFromJson(*reader, earlier.links);
    } catch (const FileError& error) {
        earlier.links.clear();
        earlier.error = OneLine(error.what());  // "Cannot open PATH: why"
        return earlier;
    }
    if (!trouble.empty()) {
        earlier.links.clear();
        earlier.error = OneLine(path) + " is not a data file of an earlier run: " + trouble;
    }
    return earlier;
}

}  // namespace vendra
