#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "SitePages.h"

// The furniture every page of the site shares, and a writer that ends each line with CR LF.
namespace vendra::site {

class PageText {
  public:
    void Line(std::string_view line) {
        text_ += line;
        text_ += "\r\n";
    }
    std::size_t Size() const { return text_.size(); }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

// The marker-free opening of a page: head, logo and navigation bar.
void PageTop(PageText& page, std::string_view title);

// The marker-free end of a page: navigation, copyright, closing tags.
void PageBottom(PageText& page);

// The line that opens every listing table; nothing else on a page starts this way.
std::string ListingTableStart(std::string_view colour);

// Pages give each listing a one-line table of its own, so that the lines a reader takes out one
// by one still show as a table. The classic layout, one table with a row per line, stays on pages
// 2, 7, 12, ... of the categories outside the 23 top-level ones (`classicPages`) and on any page a
// twist asks it of, so that readers meet both.
bool IsClassicPage(std::uint64_t pageNumber, bool classicPages, const PageTwist& twist);

// Listings alternate between a white and a grey background.
std::string_view RowColour(std::uint64_t row);

// The page line of one listing: a row of the classic table, or a table of its own.
std::string ListingLine(bool classic, std::string_view cells, std::string_view colour);

// The column headings shown above listing tables, outside them.
void ColumnHeadings(PageText& page, std::string_view endsHeading);

}  // namespace vendra::site
