// Listing lines built from the pieces of the site's rows (cells of both markups, bid cells,
// links in every quoting, character references, windows-1252 bytes, stray '<'), or taken as they
// come, read as rows against a plain reading: tags from '<' and a letter, '/', '!' or '?' to the
// next '>'; a cell from a <td> to the next td, tr or table tag; the bid cell the one whose markup
// stands where the cell before it ends; texts without tags, decoded with a table of the code page,
// references decoded, split into words at the blanks and joined by single spaces.
// Input: numbers from the end pick the search kind and the pieces, text from the start fills them.
#include <libxml/HTMLparser.h>

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "report/BidReader.h"
#include "report/ListingRow.h"
#include "text/Utf8.h"

using vendra::SearchKind;
using vendra::fuzz::Lower;

// 0x80 to 0x9F of windows-1252; 0xFFFD where it has nothing.
constexpr std::array<char32_t, 32> kHigh{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

static char32_t FromCodePage(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
}

static bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// Code points of the cell text, references decoded.
static std::u32string Decoded(const std::string& bytes) {
    std::u32string text;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::size_t end = at + 1 + (at + 1 < bytes.size() && bytes[at + 1] == '#');
        while (end < bytes.size() && IsAlnum(bytes[end])) ++end;
        const std::string name = bytes.substr(at + 1, end - at - 1);
        if (bytes[at] != '&' || end >= bytes.size() || bytes[end] != ';' || name.empty() ||
            name.size() > 32) {
            text += FromCodePage(static_cast<unsigned char>(bytes[at]));
            continue;
        }
        std::uint64_t value = 0;
        bool number = name[0] == '#' && name.size() > 1;
        if (number) {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            number = name.size() > (hex ? 2u : 1u);
            for (std::size_t i = hex ? 2 : 1; i < name.size() && number; ++i) {
                number = hex ? std::isxdigit(static_cast<unsigned char>(name[i])) != 0
                             : std::isdigit(static_cast<unsigned char>(name[i])) != 0;
                if (!number) break;
                const std::uint64_t digit = std::stoul(name.substr(i, 1), nullptr, 16);
                value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + digit, 1u << 30);
            }
        }
        const htmlEntityDesc* entity =
            name[0] == '#' ? nullptr
                           : htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()));
        if (!number && !entity) {
            text += FromCodePage('&');
            continue;
        }
        if (entity) value = entity->value;
        if (number && value >= 0x80 && value < 0xA0)
            value = FromCodePage(static_cast<unsigned char>(value));
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) value = 0xFFFD;
        text += static_cast<char32_t>(value);
        at = end;
    }
    return text;
}

struct Tag {
    std::size_t begin, end;
    std::string name;  // lower case, with a leading '/' when closing
};

static std::vector<Tag> Tags(const std::string& line) {
    std::vector<Tag> tags;
    for (std::size_t at = 0; at + 1 < line.size(); ++at) {
        const char next = line[at + 1];
        if (line[at] != '<' || !(std::isalpha(static_cast<unsigned char>(next)) ||
                                 std::string_view("/!?").find(next) != std::string_view::npos))
            continue;
        const std::size_t end = std::min(line.find('>', at), line.size() - 1) + 1;
        std::size_t nameEnd = at + 1 + (next == '/');
        while (nameEnd < end && IsAlnum(line[nameEnd])) ++nameEnd;
        tags.push_back({at, end, Lower(line.substr(at + 1, nameEnd - at - 1))});
        at = end - 1;
    }
    return tags;
}

static std::string Text(const std::string& line, const std::vector<Tag>& tags, std::size_t begin,
                        std::size_t end) {
    std::string bytes;
    for (std::size_t at = begin; at < end; ++at) {
        bool inTag = false;
        for (const Tag& tag : tags) inTag = inTag || (at >= tag.begin && at < tag.end);
        if (!inTag) bytes += line[at];
    }
    std::string joined, word;
    for (const char32_t c : Decoded(bytes) + U" ") {
        if (c > 0x20 && c != 0x7F && c != 0xA0) {
            vendra::AppendUtf8(word, c);
        } else if (!word.empty()) {
            joined += (joined.empty() ? "" : " ") + word;
            word.clear();
        }
    }
    return joined;
}

static std::string Href(const std::string& line, const std::vector<Tag>& tags, bool& found) {
    const std::string blanks = " \t\n\f\r";
    for (const Tag& tag : tags) {
        std::string text = line.substr(tag.begin, tag.end - tag.begin);
        if (text.back() == '>') text.pop_back();
        for (std::size_t at = 1; at + 4 <= text.size(); ++at) {
            if (Lower(text.substr(at, 4)) != "href" || blanks.find(text[at - 1]) == blanks.npos)
                continue;
            std::size_t next = at + 4;
            while (next < text.size() && blanks.find(text[next]) != blanks.npos) ++next;
            if (next == text.size() || text[next] != '=') continue;
            for (++next; next < text.size() && blanks.find(text[next]) != blanks.npos;) ++next;
            const bool quoted = next < text.size() && (text[next] == '"' || text[next] == '\'');
            const std::size_t end =
                quoted ? text.find(text[next], next + 1) : text.find_first_of(blanks, next);
            found = true;
            const std::string value = text.substr(next + quoted, end - next - quoted);
            std::string utf8;
            for (const char c : value)
                vendra::AppendUtf8(utf8, FromCodePage(static_cast<unsigned char>(c)));
            return utf8;
        }
    }
    return {};
}

static vendra::ListingRow PlainRow(const std::string& line, SearchKind kind) {
    vendra::ListingRow row;
    row.bids = vendra::ReadBids(line, kind, {",", "."}).bids;
    const std::vector<Tag> tags = Tags(line);
    bool found = false;
    row.link = Href(line, tags, found);
    std::vector<std::pair<std::size_t, std::size_t>> cells;  // text begin and end
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].name != "td") continue;
        std::size_t end = line.size();
        for (std::size_t j = i + 1; j < tags.size() && end == line.size(); ++j) {
            const std::string name = tags[j].name.substr(tags[j].name[0] == '/');
            if (name == "td" || name == "tr" || name == "table") end = tags[j].begin;
        }
        cells.emplace_back(tags[i].end, end);
    }
    row.listing = found || !cells.empty();
    const std::string marker = Lower(vendra::BidCellOf(kind).opening);
    std::vector<std::size_t> bidCells;
    for (std::size_t i = 1; i < cells.size() && !marker.empty(); ++i)
        if (Lower(line.substr(cells[i - 1].second)).starts_with(marker)) bidCells.push_back(i);
    if (bidCells.size() == 1 && bidCells[0] >= 2 && bidCells[0] + 1 < cells.size()) {
        const std::size_t bid = bidCells[0];
        row.title = Text(line, tags, cells[bid - 2].first, cells[bid - 2].second);
        row.price = Text(line, tags, cells[bid - 1].first, cells[bid - 1].second);
        row.ends = Text(line, tags, cells[bid + 1].first, cells[bid + 1].second);
    }
    return row;
}

static constexpr std::array<const char*, 24> kPieces{
    "<td width=\"50%\">",
    "<TD>",
    "</td>",
    "</TD>",
    "<tr bgcolor=#eeeeee>",
    "</tr>",
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#fff>",
    "</table>",
    "<a href=\"http://x/1\">",
    "<A HREF='http://x/2'>",
    "<a class=b href = http://x/3 >",
    "<a xhref=\"no\" href=\"",
    "</a>",
    "<b>",
    "<img src=p.gif>",
    "<!-- c -->",
    " < ",
    "&amp;",
    "&#147;",
    "&#x10FFFF;",
    "&eacute;&nbsp;",
    "&#99999999999;",
    "&bogus;",
    "\x93\xe9\x81\xa0\t"};

FUZZ_TARGET(in) {
    const auto kind = static_cast<SearchKind>(in.ConsumeIntegralInRange(0, 4));
    std::string line;
    if (in.ConsumeBool()) {
        line = in.ConsumeRemainingBytesAsString();
    } else {
        while (in.remaining_bytes() > 0 && line.size() < 4096) {
            const int piece = in.ConsumeIntegralInRange(0, 30);
            if (piece < 24)
                line += kPieces[piece];
            else if (piece < 26)
                line += vendra::BidCellOf(static_cast<SearchKind>(piece - 23)).opening;
            else if (piece < 28)
                line += vendra::BidCellOf(static_cast<SearchKind>(piece - 25)).closing;
            else
                line += in.ConsumeRandomLengthString(8);
        }
    }
    const vendra::ListingRow want = PlainRow(line, kind);
    const vendra::ListingRow got = vendra::ReadListingRow(line, kind, {",", "."});
    FUZZ_CHECK(got.bids == want.bids && got.listing == want.listing && got.link == want.link);
    FUZZ_CHECK(got.title == want.title && got.price == want.price && got.ends == want.ends);
}
