#include "report/ResultsPage.h"

#include <utility>

namespace vendra {
namespace {

template <class Operation>
auto OnPage(Operation&& operation) {
    try {
        return std::forward<Operation>(operation)();
    } catch (const FileError& error) {
        throw FileError(FileError::Kind::Access, error.what());
    }
}

// Lines of the head that end in a line break, in order.
constexpr std::string_view kHeadLines[] = {
    "<HTML>",
    "<head>",
    "<meta http-equiv=\"Content-Language\"content= \"en-us\">",
    "<meta http-equiv=\"Content-Type\"content=\"text/html; charset=windows-1252\">",
    "<meta name=\"GENERATOR\"content=\"Microsoft FrontPage 4.0\">",
    "<meta name=\"ProgId\"content=\"FrontPage.Editor.Document\">",
    "<title>Search Results</title>",
    "</head>",
    "<body>",
};

// The heading and its table, written without line breaks; the rows follow on the same line.
constexpr std::string_view kHeadingPieces[] = {
    "<p></p>",
    "<p align=\"center\"><b><font size=\"4\" face =\"Arial\"><u>Search Results</u></font></b></p>",
    "<p> </p>",
    "<p> </p>",
    "<table width=\"100%\" cellpadding=0 border=0 cellspacing=1 bgcolor=\"#FFFFFF\"><tr "
    "valign=middle bgcolor=\"#FFFFFF\"><td align=center valign=top noWrap width=\"12%\" "
    "bgcolor=\"#FFE680\"><font size=\"2\"><b>Picture</b></font></td>",
    "<td align=center valign=top noWrap width=\"50%\" bgcolor=\"#FFE680\"><font "
    "size=\"2\"><b>Items</b></font></td>",
    "<td align=center valign=top noWrap width=\"12%\" bgcolor=\"#FFE680\"><font "
    "size=\"2\"><b>Price</b></font></td>",
    "<td align=center valign=top noWrap width=\"12%\" bgcolor=\"#FFE680\"><font "
    "size=\"2\"><b>Bids</b></font></td>",
    "<td align=center valign=top noWrap width=\"16%\" bgcolor=\"#FFE680\"><font "
    "size=\"2\"><b>Ends PST</b></font></td>",
    "</tr></table>",
    "<p> </p>",
};

}  // namespace

ResultsPage::ResultsPage(TextFiles& files, const std::string& path) {
    OnPage([&] {
        if (files.exists(path)) files.remove(path);
        page_ = files.create(path);
    });
}

void ResultsPage::writeHead() {
    OnPage([&] {
        for (std::string_view line : kHeadLines) {
            page_->write(line);
            page_->writeBlankLines(1);
        }
        for (std::string_view piece : kHeadingPieces) page_->write(piece);
    });
}

void ResultsPage::writeRow(std::string_view row) {
    OnPage([&] { page_->write(row); });
}

void ResultsPage::finish() {
    OnPage([&] {
        page_->write("</body>");
        page_->writeBlankLines(1);
        // The page ends right after the closing tag, with no line break.
        page_->write("</html>");
        page_->close();
    });
}

}  // namespace vendra
