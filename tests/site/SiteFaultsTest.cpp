// Each fault of the sample site as a client sees it: the site runs on its own thread on a free
// loopback port, and the tests talk to it over plain sockets.

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
using asio::ip::tcp;
using vendra::site::CategoryListingPage;

const std::string kCategory = "http://listings.ebay.com/aw/plistings/list/category267/index.html";
// The rest of a request after its target; the site closes the connection after its answer.
const std::string kRequestEnd = " HTTP/1.1\r\nHost: listings.ebay.com\r\nConnection: close\r\n\r\n";
const std::string kSearch = "http://search.ebay.com/search/search.dll?query=lamp";

// The site on its own thread, with the faults of these texts.
struct RunningSite {
    explicit RunningSite(std::initializer_list<const char*> faults, std::FILE* log = nullptr) {
        std::vector<vendra::site::Fault> parsed;
        for (const char* text : faults) parsed.push_back(*vendra::site::ParseFault(text));
        port = static_cast<unsigned short>(vendra::site::StartSite(site, 0, parsed, log));
        thread = std::thread([this] { site.run(); });
    }
    ~RunningSite() {
        site.stop();
        thread.join();
    }

    // A new connection that has sent a GET of `target` (origin form when it starts with "/").
    tcp::socket Ask(const std::string& target) {
        tcp::socket socket(client);
        socket.connect({asio::ip::address_v4::loopback(), port});
        asio::write(socket, asio::buffer("GET " + target + kRequestEnd));
        return socket;
    }

    asio::io_context site, client;
    unsigned short port = 0;
    std::thread thread;
};

// Everything the site sends until it closes the connection.
std::string ReadToEnd(tcp::socket&& socket) {
    std::string bytes;
    boost::system::error_code end;
    asio::read(socket, asio::dynamic_buffer(bytes), end);
    return bytes;
}

TEST(SiteFaults, ContentFaultsChangeOnlyWhatTheAnswerShows) {
    const struct {
        const char* fault;
        std::string target, shown, hidden;
    } cases[] = {
        {"badcount@category267/", kCategory, "of <b>many</b></font>", "of <b>4"},
        // The whole page announced, half of it sent.
        {"truncate@category267/", kCategory,
         "Content-Length: " + std::to_string(CategoryListingPage("267", 1).size()), "</html>"},
        {"nocount@category267/", kCategory, "Page 1</font>", "of <b>"},
        {"nocount@lamp", kSearch, "results for <b>lamp</b>", "items found"},
        {"bigcount=40000@category267/",
         "http://listings.ebay.com/aw/plistings/list/category267/page5.html",
         "(category 267 page 5 row 1)", "no items on this page"},
        {"bigcount=40000@lamp", kSearch + "&skip=100", "<b>40,000</b> items found",
         "No items on this page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const std::string answer = ReadToEnd(RunningSite({c.fault}).Ask(c.target));
        EXPECT_NE(answer.find(c.shown), std::string::npos);
        EXPECT_EQ(answer.find(c.hidden), std::string::npos);
    }
}

TEST(SiteFaults, LatencyHoldsTheAnswerBack) {
    RunningSite site({"latency=300@category267/"});
    const auto start = std::chrono::steady_clock::now();
    ReadToEnd(site.Ask(kCategory));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(SiteFaults, StallSaysNothingUntilTheClientGivesUpAndHoldsNoOneElseUp) {
    RunningSite site({"stall@category267/"});
    tcp::socket stalled = site.Ask(kCategory);
    EXPECT_NE(ReadToEnd(site.Ask(kSearch)).find("items found"), std::string::npos);
    stalled.shutdown(tcp::socket::shutdown_send);
    EXPECT_EQ(ReadToEnd(std::move(stalled)), "");
}

TEST(SiteFaults, DripSendsTheHeadersAtOnceThenTheBodyByteByByte) {
    RunningSite site({"drip=0.1@category267/"});
    tcp::socket dripping = site.Ask(kCategory);
    std::string bytes;
    const std::size_t head = asio::read_until(dripping, asio::dynamic_buffer(bytes), "\r\n\r\n");
    EXPECT_EQ(bytes.size(), head);                           // nothing of the body with the headers
    EXPECT_EQ(dripping.read_some(asio::buffer(bytes)), 1u);  // room for more, one byte came
}

// Every request is logged as sent, with its connection's number; a reset closes without a word.
TEST(SiteLog, NumbersConnectionsAndLogsTargetsAsSent) {
    std::FILE* log = std::tmpfile();
    {
        RunningSite site({"reset@category1/"}, log);
        ReadToEnd(site.Ask("/aw/plistings/list/category267/page2.html"));
        EXPECT_EQ(ReadToEnd(site.Ask("http://listings.ebay.com/aw/plistings/list/category1/")), "");
    }
    std::rewind(log);
    char lines[512];
    EXPECT_EQ(std::string(lines, std::fread(lines, 1, sizeof lines, log)),
              "1 GET /aw/plistings/list/category267/page2.html\n"
              "2 GET http://listings.ebay.com/aw/plistings/list/category1/\n");
    std::fclose(log);
}

}  // namespace
