#pragma once

#include <stdexcept>
#include <string>

namespace vendra {

// A request that could not be completed: no connection, name not resolved, time-out, body cut
// short. what() says why, in words a user can act on. A transient failure (a connection refused
// or reset, an answer malformed or cut short) may well not happen again when the page is asked
// for once more; a time-out, a page too large or a cancelled request would.
class FetchError : public std::runtime_error {
  public:
    explicit FetchError(const std::string& reason, bool transient = false)
        : std::runtime_error(reason), transient_(transient) {}
    bool transient() const { return transient_; }

  private:
    bool transient_;
};

// One synchronous HTTP GET. Returns the whole response body as bytes, whatever the HTTP status;
// throws FetchError when the request cannot be completed.
class UrlFetch {
  public:
    virtual ~UrlFetch() = default;
    virtual std::string fetch(const std::string& url) = 0;
    // Abandons the request in flight, if any: its fetch fails at once. Used when a search is
    // stopped or its window closed.
    virtual void cancel() {}
    // Ends a wait before the page is asked for again, if one runs, and lets the fetch in hand
    // wait no more: it fails at once with what failed so far. A request in flight goes on. Used
    // when the incomplete results are asked for.
    virtual void endWait() {}
};

}  // namespace vendra
