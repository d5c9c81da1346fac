#include "support/ReferenceWriter.h"

namespace vendra::test {
namespace {

const std::string q = "\"";
const std::string kLineBreak = "\r\n";

std::string HeadingCell(const std::string& width, const std::string& closing) {
    return "<td align=center valign=top noWrap width=" + q + width + q + " bgcolor=" + q +
           "#FFE680" + q + "><font size=" + q + "2" + q + closing;
}

}  // namespace

std::string ExpectedPageHead() {
    std::string head;
    head += "<HTML>" + kLineBreak;
    head += "<head>" + kLineBreak;
    head += "<meta http-equiv=" + q + "Content-Language" + q + "content= " + q + "en-us" + q + ">" +
            kLineBreak;
    head += "<meta http-equiv=" + q + "Content-Type" + q + "content=" + q +
            "text/html; charset=windows-1252" + q + ">" + kLineBreak;
    head += "<meta name=" + q + "GENERATOR" + q + "content=" + q + "Microsoft FrontPage 4.0" + q +
            ">" + kLineBreak;
    head += "<meta name=" + q + "ProgId" + q + "content=" + q + "FrontPage.Editor.Document" + q +
            ">" + kLineBreak;
    head += "<title>Search Results</title>" + kLineBreak;
    head += "</head>" + kLineBreak;
    head += "<body>" + kLineBreak;
    head += "<p></p>";
    head += "<p align=" + q + "center" + q + "><b><font size=" + q + "4" + q + " face =" + q +
            "Arial" + q + "><u>Search Results</u></font></b></p>";
    head += "<p> </p>";
    head += "<p> </p>";
    head += "<table width=" + q + "100%" + q +
            " cellpadding=0 border=0 cellspacing=1 bgcolor=" + q + "#FFFFFF" + q +
            "><tr valign=middle bgcolor=" + q + "#FFFFFF" + q +
            "><td align=center valign=top noWrap width=" + q + "12%" + q + " bgcolor=" + q +
            "#FFE680" + q + "><font size=" + q + "2" + q + "><b>Picture</b></font></td>";
    head += HeadingCell("50%", "><b>Items</b></font></td>");
    head += HeadingCell("12%", "><b>Price</b></font></td>");
    head += HeadingCell("12%", "><b>Bids</b></font></td>");
    head += HeadingCell("16%", "><b>Ends PST</b></font></td>");
    head += "</tr></table>";
    head += "<p> </p>";
    return head;
}

std::string ExpectedPageEnd() { return "</body>" + kLineBreak + "</html>"; }

void WritePageOnePassPerCount(TextFiles& files, const std::string& listingPath,
                              const std::string& pagePath, std::int16_t highest,
                              std::int16_t minimum, const BidCountOf& bidCount) {
    if (files.exists(pagePath)) files.remove(pagePath);
    const auto page = files.create(pagePath);
    page->write(ExpectedPageHead());
    for (int bids = highest; bids >= minimum; --bids) {
        const auto listing = files.openForReading(listingPath);
        while (!listing->atEnd()) {
            const std::string line = listing->readLine();
            if (bidCount(line) == bids) page->write(line);
        }
    }
    page->write(ExpectedPageEnd());
    page->close();
}

}  // namespace vendra::test
