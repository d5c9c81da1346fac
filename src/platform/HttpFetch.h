#pragma once

#include <string>

#include "platform/UrlFetch.h"

namespace vendra {

// The final answer to one HTTP GET, redirects followed.
struct HttpAnswer {
    int status = 0;
    std::string retryAfter;  // the Retry-After header's value as sent; empty when there was none
    std::string body;
};

// One synchronous HTTP GET that returns the answer whatever its status; throws FetchError when
// no answer could be had.
class HttpFetch {
  public:
    virtual ~HttpFetch() = default;
    virtual HttpAnswer get(const std::string& url) = 0;
    // Abandons the request in flight, if any: its get fails at once.
    virtual void cancel() {}
};

}  // namespace vendra
