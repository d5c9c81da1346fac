#include "platform/curl/CurlFetch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/PageBody.h"
#include "platform/RequestLine.h"

namespace vendra {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long curl may wait on the network before the desktop gets its turn again.
constexpr int kPumpMilliseconds = 10;

// Failures that may well not happen again: the connection refused, reset or closed early, the
// answer malformed, cut short or not decodable.
bool IsTransient(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_CONNECT:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_BAD_CONTENT_ENCODING:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return true;
        default:
            return false;
    }
}

std::string TooLargeMessage() {
    return "the page is larger than " + std::to_string(limits::kPageBytes >> 20) + " MB";
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

CURLM* NewMulti() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return curl_multi_init();
}

// An address the fetch can ask for: http or https, with a host.
bool IsWebAddress(const std::string& url) {
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parts(curl_url(), &curl_url_cleanup);
    char* scheme = nullptr;
    char* host = nullptr;
    bool ok = parts && curl_url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
              curl_url_get(parts.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
              curl_url_get(parts.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK;
    ok = ok && (std::strcmp(scheme, "http") == 0 || std::strcmp(scheme, "https") == 0) && *host;
    curl_free(scheme);
    curl_free(host);
    return ok;
}

}  // namespace

// One request and its answer, as it arrives.
struct CurlFetch::Exchange {
    explicit Exchange(std::size_t& allHeaderBytes) : headerBytes(allHeaderBytes) {}

    CURL* easy = nullptr;
    PageBody body{limits::kPageBytes};
    std::size_t& headerBytes;  // of every answer of the fetch
    int status = 0;
    std::string retryAfter;
    std::string redirect;
    Clock::time_point lastHeard = Clock::now();
    bool tooLarge = false;
    bool headersTooLarge = false;

    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
        Exchange& x = *static_cast<Exchange*>(self);
        const std::size_t bytes = size * count;
        x.lastHeard = Clock::now();
        x.headerBytes += bytes;
        if (x.headerBytes > limits::kHeaderBytes) {
            x.headersTooLarge = true;
            return 0;
        }
        const std::string_view line(data, bytes);
        if (line.starts_with("HTTP/")) {
            // A new answer: an interim one (1xx) or a redirect is followed by the real one.
            const std::size_t space = line.find(' ');
            x.status = 0;
            if (space != std::string_view::npos)
                std::from_chars(line.data() + space + 1, line.data() + line.size(), x.status);
            x.retryAfter.clear();
        } else if (StartsWithNoCase(line, "retry-after:")) {
            x.retryAfter = Trimmed(line.substr(12));
        } else if (Trimmed(line).empty() && x.status >= 200) {
            // The header of an answer has ended: one that announces a body past the bound is
            // abandoned before any of it is taken.
            curl_off_t length = -1;
            curl_easy_getinfo(x.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
            if (!x.body.expect(length)) {
                x.tooLarge = true;
                return 0;
            }
        }
        return bytes;
    }

    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
        Exchange& x = *static_cast<Exchange*>(self);
        const std::size_t bytes = size * count;
        x.lastHeard = Clock::now();
        const bool taken = x.body.append(bytes, [&](char* into, std::size_t room) {
            std::memcpy(into, data, room);
            return room;
        });
        if (!taken) {
            x.tooLarge = true;
            return 0;
        }
        return bytes;
    }
};

CurlFetch::CurlFetch(NetworkWait& wait, milliseconds timeout, milliseconds deadline)
    : wait_(wait),
      timeout_(timeout),
      deadline_(deadline),
      multi_(NewMulti()),
      proxy_(limits::kProxySettingsLifetime) {}

CurlFetch::~CurlFetch() {
    curl_multi_cleanup(multi_);
    curl_global_cleanup();
}

HttpAnswer CurlFetch::get(const std::string& url) {
    std::string target = EncodeForRequestLine(url);
    if (!IsWebAddress(target))
        throw FetchError("the address " + url + " is not a valid web address");
    cancelled_ = false;
    const Clock::time_point deadline = Clock::now() + deadline_;
    std::size_t headerBytes = 0;
    for (int redirects = 0;; ++redirects) {
        Exchange x(headerBytes);
        exchange(target, x, deadline);
        if (x.redirect.empty() || x.status < 300 || x.status > 399)
            return {x.status, std::move(x.retryAfter), x.body.take()};
        const bool secure = StartsWithNoCase(target, "https://");
        if (!StartsWithNoCase(x.redirect, "https://") &&
            (secure || !StartsWithNoCase(x.redirect, "http://")))
            throw FetchError("the site redirected the page to an address it may not go to: " +
                             x.redirect);
        if (redirects == limits::kRedirects)
            throw FetchError("the site redirected the page too often");
        target = std::move(x.redirect);
    }
}

void CurlFetch::exchange(const std::string& url, Exchange& x, Clock::time_point deadline) {
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(),
                                                                   &curl_easy_cleanup);
    if (!easy) throw FetchError("the request could not be made: out of memory");
    x.easy = easy.get();
    char error[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    // As the program built it (and EncodeForRequestLine escaped it): no dot segment taken out.
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // Redirects are followed here, each with its own proxy.
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    // Only libproxy decides: curl reads no proxy variable of its own.
    const std::string proxy = proxy_.forUrl(url);
    curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    // A tunnel's own answer is no answer of the page's.
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Mozilla/5.0");
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout_.count()));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    // curl reads no SSL_CERT_FILE by itself; the system's store otherwise.
    if (const char* authorities = std::getenv("SSL_CERT_FILE"); authorities && *authorities)
        curl_easy_setopt(e, CURLOPT_CAINFO, authorities);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Exchange::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &x);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Exchange::OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &x);

    curl_multi_add_handle(multi_, e);
    inFlight_ = true;
    wait_.begin(NetworkWait::For::Page);
    struct Finally {
        CurlFetch& fetch;
        CURL* easy;
        ~Finally() {
            fetch.wait_.end();
            fetch.inFlight_ = false;
            curl_multi_remove_handle(fetch.multi_, easy);
        }
    } finally{*this, e};

    std::optional<CURLcode> result;
    bool stalled = false, pastDeadline = false;
    while (true) {
        int running = 0;
        curl_multi_perform(multi_, &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued))
            if (message->msg == CURLMSG_DONE && message->easy_handle == e)
                result = message->data.result;
        if (result || cancelled_) break;
        const Clock::time_point now = Clock::now();
        if ((pastDeadline = now >= deadline) || (stalled = now - x.lastHeard >= timeout_)) break;
        curl_multi_poll(multi_, nullptr, 0, kPumpMilliseconds, nullptr);
        wait_.pump();
    }

    if (cancelled_) throw FetchError("the request was cancelled");
    if (x.tooLarge) throw FetchError(TooLargeMessage());
    if (x.headersTooLarge)
        throw FetchError("the site sent more than " + std::to_string(limits::kHeaderBytes >> 10) +
                         " KB of headers");
    if (pastDeadline) throw FetchError("the site took too long to send the page");
    if (stalled || *result == CURLE_OPERATION_TIMEDOUT)
        throw FetchError("the site did not answer in time");
    if (*result != CURLE_OK) {
        std::string reason = curl_easy_strerror(*result);
        if (*error) reason += std::string(": ") + error;
        throw FetchError(reason, IsTransient(*result));
    }
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    x.status = static_cast<int>(status);
    char* location = nullptr;
    if (curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        x.redirect = location;
}

void CurlFetch::cancel() {
    if (inFlight_) cancelled_ = true;
}

bool CurlFetch::wait(milliseconds howLong) {
    waitEnded_ = false;
    const Clock::time_point until = Clock::now() + howLong;
    wait_.begin(NetworkWait::For::NextTry);
    while (!waitEnded_) {
        const auto left = std::chrono::ceil<milliseconds>(until - Clock::now());
        if (left.count() <= 0) break;
        curl_multi_poll(multi_, nullptr, 0,
                        static_cast<int>(std::min<long long>(left.count(), kPumpMilliseconds)),
                        nullptr);
        wait_.pump();
    }
    wait_.end();
    return !waitEnded_;
}

void CurlFetch::end() { waitEnded_ = true; }

}  // namespace vendra
