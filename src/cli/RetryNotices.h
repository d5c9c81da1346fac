#pragma once

#include <string>

#include "cli/ConsoleOutput.h"
#include "platform/RetryingFetch.h"

namespace vendra {

// Tells the console what a walk waits for when a page is asked for again, on a line of its own
// (above the progress line on a terminal): "page 2: HTTP 503, asking again in 2 s".
class RetryNotices : public RetryObserver {
  public:
    explicit RetryNotices(ConsoleOutput& output) : output_(output) {}
    void retrying(const RetryNotice& notice) override;

  private:
    ConsoleOutput& output_;
};

// "page K" for a page's address: the number of a category or featured page, the results page of
// a result offset, page 1 for the first page of either.
std::string PageOfAddress(const std::string& url);

}  // namespace vendra
