#include "SiteServer.h"

// Boost 1.74's awaitable.hpp uses std::exchange without including <utility>, so that comes first.
#include <utility>
// Boost.Beast on Asio for the HTTP and the sockets, and the standard pieces.
#include <array>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <limits>
#include <memory>
#include <sstream>

#include "SitePages.h"
#include "SiteTarget.h"

namespace vendra::site {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::use_awaitable;
using asio::ip::tcp;

// A kept-alive connection that brings no new request for this long is closed.
constexpr std::chrono::seconds kIdleTime{5};

struct Site {
    std::vector<Fault> faults;
    std::FILE* log;
    int httpsPort;

    // On disk at once, before any fault can hold the request up.
    void Log(int connection, std::string_view method, std::string_view target) const {
        if (!log) return;
        const std::string line = std::to_string(connection) + " " + std::string(method) + " " +
                                 std::string(target) + "\n";
        std::fwrite(line.data(), 1, line.size(), log);
        std::fflush(log);
    }
};

SitePage Answer(const http::request<http::string_body>& request, const SiteTarget& target,
                const PageTwist& twist) {
    if (request.method() == http::verb::get || request.method() == http::verb::head)
        return RenderPage(target.request, twist);
    return {405, NotFoundPage(std::string(request.method_string()) + " " + target.full)};
}

// The header at once, then the body as it is, never compressed (the bytes on the wire are the
// page's bytes): whole, or its first half when truncated, and byte by byte when dripping. A huge
// body is the page's bytes again and again up to its length; an endless one goes on in chunks
// until the client goes.
asio::awaitable<void> Respond(boost::beast::tcp_stream& stream,
                              const http::request<http::string_body>& request, const SitePage& page,
                              const FaultPlan& plan) {
    const std::string_view body = page.body;
    const bool endless = plan.endless && !body.empty();
    std::uint64_t length = plan.huge && !body.empty() ? kHugeBodyBytes : body.size();
    http::response<http::empty_body> response(static_cast<http::status>(page.status),
                                              request.version());
    response.set(http::field::content_type, "text/html");
    if (plan.odd.retryAfter) response.set(http::field::retry_after, *plan.odd.retryAfter);
    if (endless)
        response.chunked(true);
    else
        response.content_length(plan.announced.value_or(length));
    response.keep_alive(request.keep_alive());
    http::response_serializer<http::empty_body> header(response);
    co_await http::async_write_header(stream, header, use_awaitable);

    if (request.method() == http::verb::head) co_return;
    if (endless) length = std::numeric_limits<std::uint64_t>::max();
    if (plan.truncate) length /= 2;
    asio::steady_timer pause(stream.get_executor());
    for (std::uint64_t sent = 0; sent < length;) {
        const auto at = static_cast<std::size_t>(sent % body.size());
        std::size_t size =
            static_cast<std::size_t>(std::min<std::uint64_t>(body.size() - at, length - sent));
        if (plan.drip.count() > 0) {
            pause.expires_after(plan.drip);
            co_await pause.async_wait(use_awaitable);
            size = 1;
        }
        const auto piece = asio::buffer(body.substr(at, size));
        if (endless) {
            const std::string chunkSize =
                (std::ostringstream() << std::hex << size << "\r\n").str();
            const std::array<asio::const_buffer, 3> chunk{asio::buffer(chunkSize), piece,
                                                          asio::buffer("\r\n", 2)};
            co_await asio::async_write(stream.socket(), chunk, use_awaitable);
        } else {
            co_await asio::async_write(stream.socket(), piece, use_awaitable);
        }
        sent += size;
    }
}

// Every error of the connection (the client gone, the idle time up) ends it by an exception,
// which the detached coroutine drops; the socket closes with the stream.
asio::awaitable<void> Serve(boost::beast::tcp_stream stream, int connection,
                            std::shared_ptr<const Site> site) {
    boost::beast::flat_buffer buffer;
    asio::steady_timer latency(stream.get_executor());
    tcp::socket& socket = stream.socket();
    while (true) {
        http::request_parser<http::string_body> parser;
        stream.expires_after(kIdleTime);
        co_await http::async_read(stream, buffer, parser, use_awaitable);
        stream.expires_never();
        const http::request<http::string_body>& request = parser.get();
        site->Log(connection, request.method_string(), request.target());
        const SiteTarget target = ReadTarget(request.target(), request[http::field::host]);
        const FaultPlan plan = PlanFor(site->faults, target.full);

        if (plan.latency.count() > 0) {
            latency.expires_after(plan.latency);
            co_await latency.async_wait(use_awaitable);
        }
        if (plan.stall) {
            // Held, and whatever else the client sends dropped, until it closes its side.
            char scrap[512];
            while (true) co_await socket.async_read_some(asio::buffer(scrap), use_awaitable);
        }
        if (plan.reset) {
            socket.close();
            co_return;
        }

        SitePage page = Answer(request, target, plan.twist);
        if (plan.odd.status) page.status = plan.odd.status;
        co_await WriteEarlyAnswer(socket, plan.odd);
        if (co_await WriteOddAnswer(socket, plan.odd, target.full, page, site->httpsPort)) {
            socket.close();
            co_return;
        }
        co_await Respond(stream, request, page, plan);
        if (plan.truncate || plan.announced || !request.keep_alive()) {
            socket.close();
            co_return;
        }
    }
}

asio::awaitable<void> Accept(tcp::acceptor acceptor, std::shared_ptr<const Site> site) {
    for (int connection = 1;; ++connection) {
        tcp::socket socket = co_await acceptor.async_accept(use_awaitable);
        // A dripping body goes out one byte per packet, not gathered up.
        boost::system::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        asio::co_spawn(acceptor.get_executor(),
                       Serve(boost::beast::tcp_stream(std::move(socket)), connection, site),
                       asio::detached);
    }
}

}  // namespace

int StartSite(asio::io_context& io, int port, std::vector<Fault> faults, std::FILE* log,
              int httpsPort) {
    tcp::acceptor acceptor(
        io, tcp::endpoint(asio::ip::address_v4::loopback(), static_cast<unsigned short>(port)));
    const int bound = acceptor.local_endpoint().port();
    asio::co_spawn(io,
                   Accept(std::move(acceptor),
                          std::make_shared<const Site>(Site{std::move(faults), log, httpsPort})),
                   asio::detached);
    return bound;
}

}  // namespace vendra::site
