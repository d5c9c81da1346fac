#include "support/ReferenceWriter.h"

#include <utility>

namespace vendra::test {

std::string ExpectedPageHead() {
    std::string head;
    for (const char* line :
         {"<HTML>", "<head>", R"(<meta http-equiv="Content-Language"content= "en-us">)",
          R"(<meta http-equiv="Content-Type"content="text/html; )"
          R"(charset=windows-1252">)",
          R"(<meta name="GENERATOR"content="Microsoft FrontPage 4.0">)",
          R"(<meta name="ProgId"content="FrontPage.Editor.Document">)",
          "<title>Search Results</title>", "</head>", "<body>"})
        head += std::string(line) + "\r\n";
    head += R"(<p></p><p align="center"><b><font size="4" face ="Arial">)"
            R"(<u>Search Results</u></font></b></p><p> </p><p> </p>)"
            R"(<table width="100%" cellpadding=0 border=0 cellspacing=1 bgcolor="#FFFFFF">)"
            R"(<tr valign=middle bgcolor="#FFFFFF">)";
    using Column = std::pair<std::string, std::string>;
    for (const auto& [width, title] :
         {Column{"12%", "Picture"}, Column{"50%", "Items"}, Column{"12%", "Price"},
          Column{"12%", "Bids"}, Column{"16%", "Ends PST"}})
        head += R"(<td align=center valign=top noWrap width=")" + width +
                R"(" bgcolor="#FFE680"><font size="2"><b>)" + title + "</b></font></td>";
    return head + "</tr></table><p> </p>";
}

std::string ExpectedPageEnd() { return "</body>\r\n</html>"; }

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
