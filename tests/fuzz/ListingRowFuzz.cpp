// Listing lines built from the pieces of the site's rows (cells of both markups, bid cells,
// links in every quoting, character references, windows-1252 bytes, stray '<'), or taken as they
// come, read as rows against a plain reading: tags from '<' and a letter, '/', '!' or '?' to the
// next '>'; a cell from a <td> to the next td, tr or table tag; the bid cell the one whose markup
// stands where the cell before it ends; texts without tags, decoded (the decoders have tables of
// their own in the unit tests), split into words at the blanks and joined by single spaces.
// Input: numbers from the end pick the search kind and the pieces, text from the start fills them.
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "report/BidReader.h"
#include "report/ListingRow.h"
#include "text/HtmlEntities.h"
#include "text/Windows1252.h"

using vendra::SearchKind;
using vendra::fuzz::Lower;

static bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

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
    // The words between blanks: controls, space, DEL and U+00A0.
    const std::string text = vendra::DecodeEntities(vendra::Windows1252ToUtf8(bytes)) + " ";
    std::string joined, word;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c > 0x20 && c != 0x7F &&
            !(c == 0xC2 && static_cast<unsigned char>(text[at + 1]) == 0xA0)) {
            word += text[at];
        } else if (!word.empty()) {
            joined += (joined.empty() ? "" : " ") + word;
            word.clear();
        }
        at += c == 0xC2 && static_cast<unsigned char>(text[at + 1]) == 0xA0;
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
            return vendra::Windows1252ToUtf8(text.substr(next + quoted, end - next - quoted));
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
