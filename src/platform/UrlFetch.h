#pragma once

#include <stdexcept>
#include <string>

namespace vendra {

// A request that could not be completed: no connection, name not resolved, time-out, body cut
// short. what() says why, in words a user can act on.
class FetchError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
};

}  // namespace vendra
