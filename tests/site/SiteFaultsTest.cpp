// Each fault of the sample site as a client sees it: the site runs with the fault on its own thread
// on a free loopback port, and the test talks to it over plain sockets. The request log is seen
// by the end-to-end walk over the site.

#include <gtest/gtest.h>

// Boost 1.74's awaitable.hpp uses std::exchange without including <utility>, so that comes first.
#include <utility>
// Asio for the client sockets.
#include <boost/asio.hpp>
#include <chrono>
#include <thread>

#include "SitePages.h"
#include "SiteServer.h"

namespace {

namespace asio = boost::asio;
using namespace std::chrono_literals;

const std::string kCategory = "http://listings.ebay.com/aw/plistings/list/category267/";
const std::string kSearch = "http://search.ebay.com/search/search.dll?query=lamp";
const std::string kOther = "http://listings.ebay.com/aw/plistings/list/category1/index.html";

// Everything the site sends until it closes the connection, or its first `most` bytes.
std::string ReadToEnd(asio::ip::tcp::socket&& socket, std::size_t most = SIZE_MAX) {
    std::string bytes;
    boost::system::error_code end;
    asio::read(socket, asio::dynamic_buffer(bytes, most), end);
    return bytes;
}

// While the faulty request is out, another is answered; then the client stops sending, and the
// faulty answer shows and hides what the fault makes of it (nothing at all where nothing is
// shown), no sooner than the fault holds it back.
TEST(SiteFaults, EachChangesItsAnswerAndHoldsNoOtherUp) {
    const struct {
        const char* fault;
        std::string target, shown, hidden;
        std::chrono::milliseconds wait{};
        std::size_t most = SIZE_MAX;  // of the answer read
        std::size_t body = 0;         // the body's length, where it differs from the page's
    } cases[] = {
        {"badcount@267/", kCategory + "index.html", "of <b>many</b></font>", "of <b>4"},
        // The whole page announced, half of it sent.
        {"truncate@267/", kCategory + "index.html",
         "Content-Length: " + std::to_string(vendra::site::CategoryListingPage("267", 1).size()),
         "</html>"},
        {"nocount@267/", kCategory + "index.html", "Page 1</font>", "of <b>"},
        {"nocount@lamp", kSearch, "results for <b>lamp</b>", "items found"},
        {"bigcount=40000@267/", kCategory + "page5.html", "267 page 5 row 1)", "no items on"},
        {"bigcount=40000@lamp", kSearch + "&skip=100", "<b>40,000</b> items", "No items on"},
        {"big@267/", kCategory + "index.html", "267 page 1 row 2000)", ""},
        // One table with a row per line, not a table per listing.
        {"classic@lamp", kSearch, "\r\n<tr bgcolor=#eeeeee><td valign", "=#eeeeee><tr>"},
        // Past what any page holds: announced, sent in full, or without end.
        {"huge@267/", kCategory + "index.html", "Content-Length: 104857600\r\n", "", 0ms, SIZE_MAX,
         vendra::site::kHugeBodyBytes},
        {"endless@267/", kCategory + "index.html", "Transfer-Encoding: chunked", "\r\n0\r\n\r\n",
         0ms, 3 << 20},
        {"length=40000000@267/", kCategory + "index.html", "Content-Length: 40000000\r\n", "", 0ms,
         SIZE_MAX, vendra::site::CategoryListingPage("267", 1).size()},
        {"latency=300@267/", kCategory + "index.html", "</html>", "", 300ms},
        // A pause before each byte of the body.
        {"drip=0.002@none", "http://listings.ebay.com/none", "</html>", "",
         2ms * vendra::site::NotFoundPage("listings.ebay.com/none").size()},
        // Closed without a word; held without a word until the client stops sending.
        {"reset@267/", kCategory + "index.html", "", ""},
        {"stall@267/", kCategory + "index.html", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        asio::io_context site, client;
        const auto port = static_cast<unsigned short>(
            vendra::site::StartSite(site, 0, {*vendra::site::ParseFault(c.fault)}, nullptr));
        std::thread serving([&] { site.run(); });
        const auto ask = [&](const std::string& target) {
            asio::ip::tcp::socket socket(client);
            socket.connect({asio::ip::address_v4::loopback(), port});
            asio::write(socket,
                        asio::buffer("GET " + target + " HTTP/1.1\r\nConnection: close\r\n\r\n"));
            return socket;
        };
        const auto start = std::chrono::steady_clock::now();
        asio::ip::tcp::socket faulty = ask(c.target);
        EXPECT_NE(ReadToEnd(ask(kOther)).find("</html>"), std::string::npos);
        faulty.shutdown(asio::ip::tcp::socket::shutdown_send);
        const std::string answer = ReadToEnd(std::move(faulty), c.most);
        EXPECT_TRUE(c.shown.empty() ? answer.empty() : answer.find(c.shown) != std::string::npos);
        EXPECT_TRUE(c.body == 0 || answer.size() - answer.find("\r\n\r\n") - 4 == c.body);
        EXPECT_TRUE(c.most == SIZE_MAX || answer.size() == c.most);  // still coming
        EXPECT_TRUE(c.hidden.empty() || answer.find(c.hidden) == std::string::npos);
        EXPECT_TRUE(c.wait == 0ms || std::chrono::steady_clock::now() - start >= c.wait);
        site.stop();
        serving.join();
    }
}

}  // namespace
