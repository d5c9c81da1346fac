#include "OddAnswers.h"

#include <boost/asio.hpp>
#include <charconv>
#include <sstream>

namespace vendra::site {
namespace {

namespace asio = boost::asio;
using asio::use_awaitable;

std::string Hex(std::size_t size) { return (std::ostringstream() << std::hex << size).str(); }

asio::awaitable<void> Write(asio::ip::tcp::socket& socket, const std::string& bytes) {
    co_await asio::async_write(socket, asio::buffer(bytes), use_awaitable);
}

}  // namespace

std::function<void(OddAnswer&)> OddEffect(std::string_view name,
                                          std::optional<std::string_view> value) {
    if (name == "status" && value) {
        int status = 0;
        const auto [end, problem] =
            std::from_chars(value->data(), value->data() + value->size(), status);
        if (problem != std::errc() || end != value->data() + value->size() || status < 200 ||
            status > 599)
            return nullptr;
        return [status](OddAnswer& odd) { odd.status = status; };
    }
    if (name == "retryafter" && value)
        return [text = std::string(*value)](OddAnswer& odd) { odd.retryAfter = text; };
    if (name == "badchunk")
        return [text = std::string(value.value_or("zz"))](OddAnswer& odd) { odd.badChunk = text; };
    if (value) return nullptr;
    if (name == "earlyhints") return [](OddAnswer& odd) { odd.earlyHints = true; };
    if (name == "endlessheaders") return [](OddAnswer& odd) { odd.endlessHeaders = true; };
    if (name == "badgzip") return [](OddAnswer& odd) { odd.badGzip = true; };
    if (name == "https") return [](OddAnswer& odd) { odd.toHttps = true; };
    return nullptr;
}

asio::awaitable<void> WriteEarlyAnswer(asio::ip::tcp::socket& socket, const OddAnswer& odd) {
    if (odd.earlyHints)
        co_await Write(socket,
                       "HTTP/1.1 103 Early Hints\r\nLink: </style.css>; rel=preload\r\n\r\n");
}

asio::awaitable<bool> WriteOddAnswer(asio::ip::tcp::socket& socket, const OddAnswer& odd,
                                     std::string_view fullTarget, const SitePage& page,
                                     int httpsPort) {
    const std::string status = "HTTP/1.1 " + std::to_string(page.status) + " Answer\r\n";
    if (odd.endlessHeaders) {
        co_await Write(socket, status + "Content-Type: text/html\r\n");
        const std::string line = "X-Filler: " + std::string(1000, 'x') + "\r\n";
        while (true) co_await Write(socket, line);
    }
    if (odd.badChunk) {
        // A good first chunk of half the page, then a size line that is not one.
        const std::string_view body = page.body;
        const std::size_t half = body.size() / 2;
        co_await Write(
            socket, status + "Content-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n" +
                        Hex(half) + "\r\n" + std::string(body.substr(0, half)) + "\r\n" +
                        *odd.badChunk + "\r\n" + std::string(body.substr(half)) + "\r\n0\r\n\r\n");
        co_return true;
    }
    if (odd.badGzip) {
        // The gzip magic, then the page's bytes as they are.
        const std::string body = "\x1f\x8b\x08\x00" + page.body;
        co_await Write(socket, status +
                                   "Content-Type: text/html\r\nContent-Encoding: gzip\r\n"
                                   "Content-Length: " +
                                   std::to_string(body.size()) + "\r\n\r\n" + body);
        co_return true;
    }
    if (odd.toHttps) {
        // https://localhost:PORT/HOST/PATH?QUERY: the endpoint reads the host off the path.
        std::string_view rest = fullTarget;
        if (rest.starts_with("http://")) rest.remove_prefix(7);
        co_await Write(socket, "HTTP/1.1 302 Found\r\nLocation: https://localhost:" +
                                   std::to_string(httpsPort) + "/" + std::string(rest) +
                                   "\r\nContent-Length: 0\r\n\r\n");
        co_return true;
    }
    co_return false;
}

}  // namespace vendra::site
