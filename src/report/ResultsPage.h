#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/TextFiles.h"

namespace vendra {

// Finalsearch.htm being written: the fixed head and heading table, the rows, the end. Failures
// of the page itself are raised as FileError of kind Access, never NotFound, so that they cannot
// be mistaken for a missing listing file.
class ResultsPage {
  public:
    // Deletes an existing page, then creates it anew.
    ResultsPage(TextFiles& files, const std::string& path);

    void writeHead();
    void writeRow(std::string_view row);
    // Writes the end of the page and closes it.
    void finish();

  private:
    std::unique_ptr<TextWriter> page_;
};

}  // namespace vendra
