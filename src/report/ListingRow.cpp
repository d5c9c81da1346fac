#include "report/ListingRow.h"

#include <vector>

#include "report/BidReader.h"
#include "text/HtmlEntities.h"
#include "text/TextSearch.h"
#include "text/Windows1252.h"

namespace vendra {
namespace {

constexpr std::string_view kBlanks = " \t\n\f\r";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9'); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
    return true;
}

bool SameIgnoringCase(std::string_view text, std::string_view word) {
    return text.size() == word.size() && StartsIgnoringCase(text, word);
}

// A tag is what a browser takes for one: '<' and then a letter, '/', '!' or '?', up to the next
// '>' or, where none follows, the end of the line. A '<' before anything else is text.
struct Tag {
    std::size_t begin = 0;  // the '<'
    std::size_t end = 0;    // just past the '>'
    std::string_view name;  // without a leading '/'
    bool closing = false;
};

bool TagStartsAt(std::string_view line, std::size_t at) {
    if (at + 1 >= line.size() || line[at] != '<') return false;
    const char next = line[at + 1];
    return IsAsciiLetter(next) || next == '/' || next == '!' || next == '?';
}

Tag TagAt(std::string_view line, std::size_t at) {
    Tag tag;
    tag.begin = at;
    const std::size_t close = line.find('>', at);
    tag.end = close == std::string_view::npos ? line.size() : close + 1;
    std::size_t name = at + 1;
    tag.closing = line[name] == '/';
    if (tag.closing) ++name;
    std::size_t nameEnd = name;
    while (nameEnd < tag.end && IsNameChar(line[nameEnd])) ++nameEnd;
    tag.name = line.substr(name, nameEnd - name);
    return tag;
}

// Calls `each` with every tag of line[begin, end), in order.
template <typename Each>
void ForEachTag(std::string_view line, std::size_t begin, std::size_t end, Each each) {
    for (std::size_t at = line.find('<', begin); at < end; at = line.find('<', at)) {
        if (!TagStartsAt(line, at)) {
            ++at;
            continue;
        }
        const Tag tag = TagAt(line, at);
        each(tag);
        at = tag.end;
    }
}

// The value of the tag's first href attribute: the word href, in any letter case, after a blank
// and before '=' (blanks around it allowed); the value in double or single quotes, or unquoted up
// to a blank. A value runs at most to the '>' that ends its tag.
bool FindHref(std::string_view line, const Tag& tag, std::string_view& value) {
    std::string_view text = line.substr(tag.begin, tag.end - tag.begin);
    if (text.ends_with('>')) text.remove_suffix(1);
    for (std::size_t at = FindText(text, "href", 1, LetterCase::Ignore); at > 0;
         at = FindText(text, "href", at + 1, LetterCase::Ignore)) {
        const std::size_t word = at - 1;
        if (word == 0 || kBlanks.find(text[word - 1]) == std::string_view::npos) continue;
        std::size_t next = text.find_first_not_of(kBlanks, word + 4);
        if (next == std::string_view::npos || text[next] != '=') continue;
        next = text.find_first_not_of(kBlanks, next + 1);
        if (next == std::string_view::npos) next = text.size();
        std::size_t valueEnd;
        if (next < text.size() && (text[next] == '"' || text[next] == '\'')) {
            const char quote = text[next++];
            valueEnd = text.find(quote, next);
        } else {
            valueEnd = text.find_first_of(kBlanks, next);
        }
        if (valueEnd == std::string_view::npos) valueEnd = text.size();
        value = text.substr(next, valueEnd - next);
        return true;
    }
    return false;
}

// Where a cell's text lies. It runs from its <td> to the next tag that opens or closes a cell, a
// row or a table, or to the end of the line.
struct Cell {
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool EndsCell(const Tag& tag) {
    return SameIgnoringCase(tag.name, "td") || SameIgnoringCase(tag.name, "tr") ||
           SameIgnoringCase(tag.name, "table");
}

bool IsBlank(unsigned char c) { return c <= 0x20 || c == 0x7F; }

// Runs of blanks (controls, space, DEL, no-break space) become one space; none at either end.
std::string CollapseBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        const bool noBreakSpace =
            c == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0xA0;
        if (IsBlank(c) || noBreakSpace) {
            pendingSpace = !out.empty();
            if (noBreakSpace) ++at;
            continue;
        }
        if (pendingSpace) out += ' ';
        pendingSpace = false;
        out += static_cast<char>(c);
    }
    return out;
}

// What a reader sees of a cell: its text without tags, as UTF-8, references decoded, blanks
// collapsed. Tags go before references are decoded, so that "&lt;b&gt;" stays text.
std::string CellText(std::string_view line, const Cell& cell) {
    std::string bytes;
    std::size_t text = cell.begin;
    ForEachTag(line, cell.begin, cell.end, [&](const Tag& tag) {
        bytes.append(line.substr(text, tag.begin - text));
        text = tag.end;
    });
    if (text < cell.end) bytes.append(line.substr(text, cell.end - text));
    return CollapseBlanks(DecodeEntities(Windows1252ToUtf8(bytes)));
}

}  // namespace

ListingRow ReadListingRow(std::string_view line, SearchKind kind,
                          const NumberSeparators& separators) {
    ListingRow row;
    row.bids = ReadBids(line, kind, separators).bids;

    bool hrefFound = false;
    std::string_view href;
    std::vector<Cell> cells;
    bool inCell = false;
    ForEachTag(line, 0, line.size(), [&](const Tag& tag) {
        if (!hrefFound) hrefFound = FindHref(line, tag, href);
        if (!EndsCell(tag)) return;
        if (inCell) cells.back().end = tag.begin;
        inCell = !tag.closing && SameIgnoringCase(tag.name, "td");
        if (inCell) cells.push_back({tag.end, line.size()});
    });
    row.listing = hrefFound || !cells.empty();
    row.link = Windows1252ToUtf8(href);

    // The bid cell is known by the markup that closes the cell before it and opens it.
    const std::string_view marker = BidCellOf(kind).opening;
    std::size_t bidCell = 0, bidCells = 0;
    for (std::size_t i = 1; i < cells.size() && !marker.empty(); ++i) {
        if (StartsIgnoringCase(line.substr(cells[i - 1].end), marker)) {
            bidCell = i;
            ++bidCells;
        }
    }
    if (bidCells == 1 && bidCell >= 2 && bidCell + 1 < cells.size()) {
        row.title = CellText(line, cells[bidCell - 2]);
        row.price = CellText(line, cells[bidCell - 1]);
        row.ends = CellText(line, cells[bidCell + 1]);
    }
    return row;
}

}  // namespace vendra
