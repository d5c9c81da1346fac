#include "ReferenceWriter.h"

namespace vendra::reference {

std::string ExpectedPageHead() {
    std::string head;
    for (const char* line :
         {"<HTML>", "<head>", R"(<meta http-equiv="Content-Language"content= "en-us">)",
          R"(<meta http-equiv="Content-Type"content="text/html; charset=windows-1252">)",
          R"(<meta name="GENERATOR"content="Microsoft FrontPage 4.0">)",
          R"(<meta name="ProgId"content="FrontPage.Editor.Document">)",
          "<title>Search Results</title>", "</head>", "<body>"})
        head += std::string(line) + "\r\n";
    head += R"(<p></p><p align="center"><b><font size="4" face ="Arial">)"
            R"(<u>Search Results</u></font></b></p><p> </p><p> </p>)"
            R"(<table width="100%" cellpadding=0 border=0 cellspacing=1 bgcolor="#FFFFFF">)"
            R"(<tr valign=middle bgcolor="#FFFFFF">)";
    for (const char* column : {"12%\" bgcolor=\"#FFE680\"><font size=\"2\"><b>Picture",
                               "50%\" bgcolor=\"#FFE680\"><font size=\"2\"><b>Items",
                               "12%\" bgcolor=\"#FFE680\"><font size=\"2\"><b>Price",
                               "12%\" bgcolor=\"#FFE680\"><font size=\"2\"><b>Bids",
                               "16%\" bgcolor=\"#FFE680\"><font size=\"2\"><b>Ends PST"})
        head += std::string(R"(<td align=center valign=top noWrap width=")") + column +
                "</b></font></td>";
    return head + "</tr></table><p> </p>";
}

void WritePageOnePassPerCount(TextFiles& files, const std::string& listingPath,
                              const std::string& pagePath, std::int16_t highest,
                              std::int16_t minimum,
                              const std::function<std::int16_t(const std::string&)>& bidCount) {
    if (files.exists(pagePath)) files.remove(pagePath);
    const auto page = files.create(pagePath);
    page->write(ExpectedPageHead());
    for (int bids = highest; bids >= minimum; --bids)
        for (const auto listing = files.openForReading(listingPath); !listing->atEnd();)
            if (const std::string line = listing->readLine(); bidCount(line) == bids)
                page->write(line);
    page->write(ExpectedPageEnd());
    page->close();
}

}  // namespace vendra::reference
