#pragma once

// Builders of the site's markup that the program looks for, shared by every test.

#include <algorithm>
#include <string>
#include <vector>

namespace vendra::test {

inline const std::string kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";

// The listing blocks of a page, cut the plain way: the first block-start marker in any letter
// case, later ones only as written, each through the first "</table>" after it in any case; a
// block without its end, and everything after it, is not a block.
inline std::vector<std::string> PlainBlocks(const std::string& page) {
    const auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
        });
        return text;
    };
    const std::string lowerPage = lower(page);
    std::vector<std::string> blocks;
    for (std::size_t at = lowerPage.find(lower(kBlockStart)); at != std::string::npos;) {
        const std::size_t end = lowerPage.find("</table>", at + kBlockStart.size());
        if (end == std::string::npos) break;
        blocks.push_back(page.substr(at, end + 8 - at));
        at = page.find(kBlockStart, end + 1);
    }
    return blocks;
}

// A listing block: the block-start marker with a colour, the rows, the block-end marker.
inline std::string Block(const std::string& rows, const std::string& colour = "#ffffff") {
    return kBlockStart + colour + ">\r\n" + rows + "\r\n</table>";
}

// The bid cell of category and featured listings, and of keyword and completed results.
inline std::string ListingsCell(const std::string& bids) {
    return "</TD><TD ALIGN=CENTER WIDTH=\"12%\">" + bids + "<br>";
}
inline std::string ResultsCell(const std::string& bids) {
    return "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>" + bids +
           "</font>";
}

// A listing row; without `bids` it has no bid cell.
inline std::string ListingsRow(const std::string& title, const std::string& bids = "") {
    return "<TR><TD><A HREF=\"http://x/" + title + "\">" + title + "</A></TD><TD>$4.00" +
           (bids.empty() ? "" : ListingsCell(bids)) + "</TD><TD>Mar-14 18:22</TD></TR>";
}
inline std::string ResultsRow(const std::string& title, const std::string& bids) {
    return "<tr><td>" + title + ResultsCell(bids) + "</td><td>Mar-14</td></tr>";
}

// The page count of a category or featured page, and the count cell of a results page.
inline std::string PageCount(const std::string& count) {
    return "<font size=2>Page 1 of <b>" + count + "</b></font>";
}
inline std::string CountCell(const std::string& count) {
    return "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>" + count +
           "</b> items found";
}

}  // namespace vendra::test
