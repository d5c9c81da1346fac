#pragma once

#include <curl/curl.h>

#include <chrono>

#include "platform/FetchLimits.h"
#include "platform/HttpFetch.h"
#include "platform/NetworkWait.h"
#include "platform/RetryingFetch.h"
#include "platform/curl/DesktopProxy.h"

namespace vendra {

// The page fetch on libcurl's multi interface. One multi handle for the program's life, so the
// pages of a walk reuse their connection; nothing else of a request outlives it. The desktop's
// proxy for each address (redirects included) comes from libproxy; redirects go to http and
// https only, never from https down to http; compressed bodies are decoded; https is verified
// against the system's certificates (or the file SSL_CERT_FILE names). While a request runs,
// `wait` keeps the desktop going. A request fails when it hears nothing for `timeout`, when it has
// not finished within `deadline` however steadily it goes on, as soon as its body (decoded) would
// pass limits::kPageBytes, or its headers limits::kHeaderBytes; a malformed answer (bad
// chunking, a body cut short or that does not decode) fails with curl's reason. Also the pause
// before a page is asked for again, which keeps the desktop going the same way.
class CurlFetch : public HttpFetch, public RetryPause {
  public:
    explicit CurlFetch(NetworkWait& wait, std::chrono::milliseconds timeout = limits::kFetchTimeout,
                       std::chrono::milliseconds deadline = limits::kFetchDeadline);
    ~CurlFetch() override;
    CurlFetch(const CurlFetch&) = delete;
    CurlFetch& operator=(const CurlFetch&) = delete;

    HttpAnswer get(const std::string& url) override;
    void cancel() override;

    bool wait(std::chrono::milliseconds howLong) override;
    void end() override;

  private:
    struct Exchange;
    void exchange(const std::string& url, Exchange& exchange,
                  std::chrono::steady_clock::time_point deadline);

    NetworkWait& wait_;
    std::chrono::milliseconds timeout_;
    std::chrono::milliseconds deadline_;
    CURLM* multi_;
    DesktopProxy proxy_;
    bool inFlight_ = false;
    bool cancelled_ = false;
    bool waitEnded_ = false;
};

}  // namespace vendra
