// Each fault of the sample site as a client sees it: the site runs on its own thread on a free
// loopback port, and the tests talk to it over plain sockets.

#include <gtest/gtest.h>

// Boost 1.74's awaitable.hpp uses std::exchange without including <utility>, so that comes first.
#include <utility>
// Asio for the client sockets.
#include <boost/asio.hpp>
#include <chrono>
#include <fstream>
#include <thread>

#include "SitePages.h"
#include "SiteServer.h"

namespace {

namespace asio = boost::asio;
using asio::ip::tcp;
using vendra::site::CategoryListingPage;

const std::string kCategory = "http://listings.ebay.com/aw/plistings/list/category267/index.html";
const std::string kSearch = "http://search.ebay.com/search/search.dll?query=lamp";

class RunningSite {
  public:
    explicit RunningSite(const std::vector<std::string>& faultTexts, std::FILE* log = nullptr) {
        std::vector<vendra::site::Fault> faults;
        for (const std::string& text : faultTexts)
            faults.push_back(*vendra::site::ParseFault(text));
        port_ = static_cast<unsigned short>(vendra::site::StartSite(site_, 0, faults, log));
        thread_ = std::thread([this] { site_.run(); });
    }
    ~RunningSite() {
        site_.stop();
        thread_.join();
    }

    // A new connection that has sent a GET of `target`, which is in origin form when it
    // starts with "/".
    tcp::socket Ask(const std::string& target) {
        tcp::socket socket(client_);
        socket.connect({asio::ip::address_v4::loopback(), port_});
        Send(socket, target);
        return socket;
    }
    static void Send(tcp::socket& socket, const std::string& target) {
        asio::write(socket, asio::buffer("GET " + target +
                                         " HTTP/1.1\r\nHost: listings.ebay.com:80\r\n\r\n"));
    }

  private:
    asio::io_context site_;
    asio::io_context client_;
    unsigned short port_ = 0;
    std::thread thread_;
};

// What arrived of an answer: the status line and headers, and as much of the announced body as
// came before the connection closed.
struct Answer {
    std::string head;
    std::string body;
    std::size_t announced = 0;
    bool Whole() const {
        return head.starts_with("HTTP/1.1 200 OK\r\n") && body.size() == announced;
    }
};

Answer Receive(tcp::socket& socket) {
    std::string bytes;
    boost::system::error_code end;
    const std::size_t headSize =
        asio::read_until(socket, asio::dynamic_buffer(bytes), "\r\n\r\n", end);
    Answer answer{bytes.substr(0, headSize), bytes.substr(headSize)};
    const std::size_t length = answer.head.find("\r\nContent-Length: ");
    if (length != std::string::npos) answer.announced = std::stoul(answer.head.substr(length + 18));
    if (answer.body.size() < answer.announced)
        asio::read(socket, asio::dynamic_buffer(answer.body),
                   asio::transfer_exactly(answer.announced - answer.body.size()), end);
    return answer;
}

std::string ReadToEnd(tcp::socket& socket) {
    std::string bytes;
    boost::system::error_code end;
    asio::read(socket, asio::dynamic_buffer(bytes), end);
    return bytes;
}

struct ContentCase {
    std::string fault;
    std::string target;
    std::string shown;   // in the page
    std::string hidden;  // not in the page
};

class ContentFaults : public testing::TestWithParam<ContentCase> {};

TEST_P(ContentFaults, ChangeOnlyWhatThePageShows) {
    RunningSite site({GetParam().fault});
    tcp::socket socket = site.Ask(GetParam().target);
    const Answer answer = Receive(socket);
    ASSERT_TRUE(answer.Whole()) << answer.head;
    EXPECT_NE(answer.body.find(GetParam().shown), std::string::npos);
    EXPECT_EQ(answer.body.find(GetParam().hidden), std::string::npos);
}

const std::string kPage5 = "http://listings.ebay.com/aw/plistings/list/category267/page5.html";

INSTANTIATE_TEST_SUITE_P(
    SiteFaults, ContentFaults,
    testing::Values(
        ContentCase{"badcount@category999/", kCategory, "of <b>4</b></font>", "many"},
        ContentCase{"badcount@category267/", kCategory, "of <b>many</b></font>", "of <b>4"},
        ContentCase{"badcount@query=lamp", kSearch, "<b>many</b> items found", "<b>61</b>"},
        ContentCase{"nocount@category267/", kCategory, "Page 1</font>", "of <b>"},
        ContentCase{"nocount@lamp", kSearch, "results for <b>lamp</b>", "items found"},
        ContentCase{"bigcount=40000@category267/", kPage5, "(category 267 page 5 row 1)",
                    "no items on this page"},
        ContentCase{"bigcount=40000@lamp", kSearch + "&skip=100", "<b>40,000</b> items found",
                    "No items on this page"},
        ContentCase{"big@category267/", kCategory, "(category 267 page 1 row 8000)",
                    "(category 267 page 1 row 20000)"}));

TEST(SiteFaults, TextsThatAreNotFaultsAreTurnedDown) {
    for (const char* text : {"stall", "drip=0@x", "drip=-1@x", "drip@x", "latency=soon@x",
                             "latency=@x", "stall=1@x", "sleep@x"})
        EXPECT_FALSE(vendra::site::ParseFault(text)) << text;
}

TEST(SiteFaults, LatencyHoldsTheAnswerBack) {
    RunningSite site({"latency=300@category267/"});
    const auto start = std::chrono::steady_clock::now();
    tcp::socket socket = site.Ask(kCategory);
    EXPECT_EQ(Receive(socket).body, CategoryListingPage("267", 1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(SiteFaults, StallSaysNothingUntilTheClientGivesUpAndHoldsNoOneElseUp) {
    RunningSite site({"stall@category267/"});
    tcp::socket stalled = site.Ask(kCategory);
    tcp::socket other = site.Ask(kSearch);
    EXPECT_TRUE(Receive(other).Whole());
    stalled.shutdown(tcp::socket::shutdown_send);
    EXPECT_EQ(ReadToEnd(stalled), "");
}

TEST(SiteFaults, ResetClosesWithoutAWord) {
    RunningSite site({"reset@category267/"});
    tcp::socket socket = site.Ask(kCategory);
    EXPECT_EQ(ReadToEnd(socket), "");
}

TEST(SiteFaults, TruncateAnnouncesTheWholePageAndSendsHalf) {
    RunningSite site({"truncate@category267/"});
    tcp::socket socket = site.Ask(kCategory);
    const Answer answer = Receive(socket);
    const std::string page = CategoryListingPage("267", 1);
    EXPECT_EQ(answer.announced, page.size());
    EXPECT_EQ(answer.body, page.substr(0, page.size() / 2));
}

TEST(SiteFaults, DripSendsTheHeadersAtOnceThenTheBodyByteByByte) {
    RunningSite site({"drip=0.1@category267/"});
    tcp::socket dripping = site.Ask(kCategory);
    std::string head;
    const std::size_t headSize = asio::read_until(dripping, asio::dynamic_buffer(head), "\r\n\r\n");
    EXPECT_EQ(head.size(), headSize);  // nothing of the body with the headers
    const std::string page = CategoryListingPage("267", 1);
    EXPECT_NE(head.find("Content-Length: " + std::to_string(page.size())), std::string::npos);

    std::string body;
    for (int read = 0; read < 3; ++read) {
        char bytes[256];
        const std::size_t got = dripping.read_some(asio::buffer(bytes));
        EXPECT_EQ(got, 1u);
        body.append(bytes, got);
    }
    EXPECT_EQ(body, page.substr(0, body.size()));
    tcp::socket other = site.Ask(kSearch);
    EXPECT_TRUE(Receive(other).Whole());
}

TEST(SiteLog, NumbersConnectionsInOrderAndKeepsThemAlive) {
    const std::string path = testing::TempDir() + "site-log-test.log";
    std::remove(path.c_str());
    std::FILE* log = std::fopen(path.c_str(), "ab");
    {
        RunningSite site({"reset@category1/"}, log);
        tcp::socket first = site.Ask(kCategory);
        EXPECT_EQ(Receive(first).body, CategoryListingPage("267", 1));
        RunningSite::Send(first, "/aw/plistings/list/category267/page2.html");
        EXPECT_EQ(Receive(first).body, CategoryListingPage("267", 2));
        tcp::socket second = site.Ask("http://listings.ebay.com/aw/plistings/list/category1/");
        EXPECT_EQ(ReadToEnd(second), "");
    }
    std::fclose(log);
    std::ifstream written(path);
    const std::string lines{std::istreambuf_iterator<char>(written), {}};
    EXPECT_EQ(lines, "1 GET " + kCategory + "\n1 GET /aw/plistings/list/category267/page2.html\n" +
                         "2 GET http://listings.ebay.com/aw/plistings/list/category1/\n");
}

}  // namespace
