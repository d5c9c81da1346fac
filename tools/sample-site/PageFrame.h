#pragma once

#include <string>
#include <string_view>

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

// The column headings shown above listing tables, outside them.
void ColumnHeadings(PageText& page, std::string_view endsHeading);

}  // namespace vendra::site
