#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/HttpFetch.h"
#include "platform/UrlFetch.h"

namespace vendra {

// The pause before a page is asked for again, while the desktop goes on.
class RetryPause {
  public:
    virtual ~RetryPause() = default;
    // Waits `howLong`; false when end() cut the wait short.
    virtual bool wait(std::chrono::milliseconds howLong) = 0;
    virtual void end() = 0;
};

// A page about to be asked for again: what failed, and when the next try goes out.
struct RetryNotice {
    std::string url;
    std::string failure;  // "HTTP 503", or why the request could not be completed
    std::chrono::seconds delay;
    int nextTry;  // 2 for the first try again
};

class RetryObserver {
  public:
    virtual ~RetryObserver() = default;
    virtual void retrying(const RetryNotice& notice) = 0;
};

// The seconds a Retry-After value asks for, given as delay-seconds or as an HTTP date (IMF
// fixdate, RFC 850 or asctime form), counted from `now`; a date already past asks for none.
// Nothing when the value is neither.
std::optional<std::chrono::seconds> ReadRetryAfter(std::string_view value,
                                                   std::chrono::system_clock::time_point now);

// The page fetch that asks again after a transient failure: a request that could not be
// completed (refused, reset, malformed, cut short) or an answer 408, 429, 500, 502, 503 or 504
// is asked again, up to `retries` more times, after 1 s, then 2 s, 4 s ... plus a small jitter,
// or after the answer's Retry-After when that is longer. A Retry-After past 30 s loses the page
// at once; a time-out, a page too large or a cancelled request is never asked again. After the
// last try the fetch fails with what failed and how often ("HTTP 503 Service Unavailable, 3
// tries"). Any other answer's body is the page (a 404 page is text).
class RetryingFetch : public UrlFetch {
  public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    using Jitter = std::function<std::chrono::milliseconds()>;

    static constexpr int kDefaultRetries = 2;
    static constexpr int kMostRetries = 10;
    // A longer Retry-After is not waited out.
    static constexpr std::chrono::seconds kLongestWait{30};

    // `now` reads the wall clock (for a Retry-After date); `jitter` draws the small random time
    // added to each pause.
    RetryingFetch(HttpFetch& http, RetryPause& pause, int retries = kDefaultRetries,
                  Clock now = &std::chrono::system_clock::now, Jitter jitter = SmallJitter());

    void observe(RetryObserver* observer) { observer_ = observer; }

    std::string fetch(const std::string& url) override;
    void cancel() override;
    void endWait() override;

    // Up to a quarter of a second, drawn anew for each pause.
    static Jitter SmallJitter();

  private:
    HttpFetch& http_;
    RetryPause& pause_;
    int retries_;
    Clock now_;
    Jitter jitter_;
    RetryObserver* observer_ = nullptr;
    bool cancelled_ = false;
    bool waitsEnded_ = false;
};

}  // namespace vendra
