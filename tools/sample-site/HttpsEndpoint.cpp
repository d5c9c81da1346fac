#include "HttpsEndpoint.h"

// Boost 1.74's awaitable.hpp uses std::exchange without including <utility>, so that comes first.
#include <utility>
// Boost.Beast over Asio's OpenSSL stream.
#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <memory>

#include "SitePages.h"
#include "SiteTarget.h"

namespace vendra::site {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::use_awaitable;
using asio::ip::tcp;
using TlsStream = boost::beast::ssl_stream<boost::beast::tcp_stream>;

struct Endpoint {
    asio::ssl::context tls{asio::ssl::context::tls_server};
    std::FILE* log;
};

// A client that refuses the certificate ends the handshake with an error, which ends the
// coroutine; so does a client gone or idle.
asio::awaitable<void> Serve(TlsStream stream, std::shared_ptr<Endpoint> endpoint) {
    co_await stream.async_handshake(asio::ssl::stream_base::server, use_awaitable);
    boost::beast::flat_buffer buffer;
    while (true) {
        http::request<http::string_body> request;
        boost::beast::get_lowest_layer(stream).expires_after(std::chrono::seconds(5));
        co_await http::async_read(stream, buffer, request, use_awaitable);
        if (endpoint->log) {
            const std::string line = "https GET " + std::string(request.target()) + "\n";
            std::fwrite(line.data(), 1, line.size(), endpoint->log);
            std::fflush(endpoint->log);
        }
        const SitePage page =
            RenderPage(ReadTarget("http:/" + std::string(request.target()), "").request);
        http::response<http::string_body> response(static_cast<http::status>(page.status),
                                                   request.version());
        response.set(http::field::content_type, "text/html");
        response.body() = page.body;
        response.keep_alive(request.keep_alive());
        response.prepare_payload();
        co_await http::async_write(stream, response, use_awaitable);
        if (!request.keep_alive()) co_return;
    }
}

asio::awaitable<void> Accept(tcp::acceptor acceptor, std::shared_ptr<Endpoint> endpoint) {
    while (true) {
        tcp::socket socket = co_await acceptor.async_accept(use_awaitable);
        asio::co_spawn(
            acceptor.get_executor(),
            Serve(TlsStream(boost::beast::tcp_stream(std::move(socket)), endpoint->tls), endpoint),
            asio::detached);
    }
}

}  // namespace

int StartHttpsEndpoint(asio::io_context& io, const std::string& certificateFile,
                       const std::string& keyFile, std::FILE* log) {
    auto endpoint = std::make_shared<Endpoint>();
    endpoint->log = log;
    endpoint->tls.use_certificate_chain_file(certificateFile);
    endpoint->tls.use_private_key_file(keyFile, asio::ssl::context::pem);
    tcp::acceptor acceptor(io, tcp::endpoint(asio::ip::address_v4::loopback(), 0));
    const int port = acceptor.local_endpoint().port();
    asio::co_spawn(io, Accept(std::move(acceptor), std::move(endpoint)), asio::detached);
    return port;
}

}  // namespace vendra::site
