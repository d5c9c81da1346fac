#pragma once

// Boost 1.74's awaitable.hpp uses std::exchange without including <utility>, so that comes first.
#include <utility>
// Asio for the socket the odd answers are written to.
#include <boost/asio/awaitable.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "SitePages.h"

namespace vendra::site {

// The faults that change what the answer says rather than how it travels: a status of its own,
// interim answers, headers or framing no well-behaved server sends, a redirect to the https
// endpoint.
struct OddAnswer {
    int status = 0;                         // the page's body under this status instead
    std::optional<std::string> retryAfter;  // a Retry-After header with this value
    bool earlyHints = false;                // a 103 Early Hints answer before the real one
    bool endlessHeaders = false;            // the status line, then header lines without end
    std::optional<std::string> badChunk;    // chunked, the second chunk's size line reads this
    bool badGzip = false;                   // said to be gzip, and not gzip at all
    bool toHttps = false;                   // a redirect to the same page on the https endpoint
};

// The effect of a fault KIND of this kind ("status=503", "retryafter=2", "earlyhints",
// "endlessheaders", "badchunk[=TEXT]", "badgzip", "https"); null for any other kind.
std::function<void(OddAnswer&)> OddEffect(std::string_view name,
                                          std::optional<std::string_view> value);

// Writes an early answer (103 Early Hints) when asked for; the real answer follows.
boost::asio::awaitable<void> WriteEarlyAnswer(boost::asio::ip::tcp::socket& socket,
                                              const OddAnswer& odd);

// Writes the whole answer when it is one the site's serializer cannot write (endless headers, a
// bad chunk, a body that does not decode, the redirect to the https endpoint on `httpsPort`);
// true when it did, and the connection is to close.
boost::asio::awaitable<bool> WriteOddAnswer(boost::asio::ip::tcp::socket& socket,
                                            const OddAnswer& odd, std::string_view fullTarget,
                                            const SitePage& page, int httpsPort);

}  // namespace vendra::site
