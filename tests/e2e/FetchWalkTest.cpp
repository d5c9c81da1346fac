// The page walk with the real fetch against the sample auction site: every block of every page
// arrives byte for byte, one connection serves the walk, and no fault of the network hangs,
// crashes or loses a page that arrived.

#include <QNetworkAccessManager>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <chrono>

#include "SampleSiteProcess.h"
#include "SitePages.h"
#include "platform/Hosts.h"
#include "platform/qt/QtUrlFetch.h"
#include "query/SearchUrls.h"
#include "retrieval/PageCountProbe.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"

using namespace vendra;
using vendra::test::FakeDesktop;
using vendra::test::SampleSiteProcess;

namespace {

const std::string kStart = "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";

// The listing file that the given pages of a category produce: each table, as served, then CR LF.
std::string ExpectedListing(const std::string& number, std::initializer_list<int> pages,
                            const site::PageTwist& twist = {}) {
    std::string blocks;
    for (int pageNumber : pages) {
        const std::string page = site::CategoryListingPage(number, pageNumber, twist);
        for (std::size_t start = page.find(kStart); start != std::string::npos;
             start = page.find(kStart, start + 1))
            blocks += page.substr(start, page.find("</table>", start) + 8 - start) + "\r\n";
    }
    return blocks;
}

// The probe and the walk with the real fetch and fakes for everything else.
struct Walk {
    explicit Walk(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000),
                  std::chrono::milliseconds deadline = std::chrono::milliseconds(60000))
        : fetch(timeout, deadline) {}

    void Category(const std::string& number) {
        desk.controls.type(Control::CategoryNumber, number);
        state = {SearchKind::Category, 2};
        ProbePageCount(CategoryFirstPageUrl(number), state, fetch, desk.controls, desk.locale);
        WalkPages(CategoryFirstPageUrl(number), "", desk.identity.path("Listinglist.txt"), state,
                  {fetch, desk.events, desk.files, desk.controls});
    }

    std::string Listing() const { return desk.read("Listinglist.txt").value_or(""); }

    FakeDesktop desk;
    QtUrlFetch fetch;
    SearchState state;
};

}  // namespace

class FetchWalkTest : public QObject {
    Q_OBJECT

  private slots:
    void walkOfSeveralPagesKeepsEveryBlockOnOneConnection() {
        SampleSiteProcess site;
        QVERIFY(site.started());
        Walk walk;
        walk.Category("267");  // four pages

        QCOMPARE(walk.state.pageTotal, std::int16_t{4});
        QCOMPARE(walk.desk.controls.statusHistory.front(),
                 std::string("4 pages of listings found"));
        QCOMPARE(walk.desk.controls.status(), std::string("4 of 4 pages searched."));
        const std::string expected = ExpectedListing("267", {1, 2, 3, 4});
        QVERIFY(!expected.empty());
        QVERIFY(walk.Listing() == expected);

        const QStringList log = site.logLines();
        QCOMPARE(log.size(), 5);    // the first page twice, then pages 2 to 4
        QSet<QString> connections;  // each log line begins with its connection
        for (const QString& line : log) connections.insert(line.section(' ', 0, 0));
        QCOMPARE(connections.size(), 1);
        QVERIFY(log[0].endsWith(
            "GET http://listings.ebay.com/aw/plistings/list/category267/index.html"));
        QVERIFY(log[4].endsWith(
            "GET http://listings.ebay.com/aw/plistings/list/category267/page4.html"));
    }

    // A silent page meets the idle time-out, a dripping one the deadline, a reset or cut-short
    // one fails at once; each is lost alone and the walk goes on.
    void aFaultyPageIsLostAloneAndTheWalkGoesOn() {
        SampleSiteProcess site({"reset@category237/page2.html", "stall@category237/page3.html",
                                "truncate@category237/page4.html",
                                "drip=0.05@category237/page5.html"});
        QVERIFY(site.started());
        Walk walk(std::chrono::milliseconds(1000), std::chrono::milliseconds(2500));
        QElapsedTimer timer;
        timer.start();
        walk.Category("237");  // seven pages

        QVERIFY(timer.elapsed() < 20000);
        QVERIFY(walk.Listing() == ExpectedListing("237", {1, 6, 7}));
        QCOMPARE(walk.desk.controls.status(), std::string("7 of 7 pages searched."));
    }

    void aFiveMegabytePageArrivesWhole() {
        SampleSiteProcess site({"big@category6000/"});
        QVERIFY(site.started());
        Walk walk;
        walk.Category("6000");  // one page

        site::PageTwist big;
        big.big = true;
        const std::string expected = ExpectedListing("6000", {1}, big);
        QVERIFY(expected.size() > 4'000'000);
        QVERIFY(walk.Listing() == expected);
    }

    // Whichever way a fetch ends, its reply is gone when it returns, so nothing of one page is kept
    // while the next is fetched. An error page is text; a silent server meets the idle time-out,
    // and one that drips a byte at a time never lets it fire, so the deadline ends it.
    void aFetchLeavesNoReplyBehindWhicheverWayItEnds() {
        SampleSiteProcess site({"reset@category2/", "stall@category3/", "drip=0.05@category4/"});
        QVERIFY(site.started());
        QtUrlFetch fetch(std::chrono::milliseconds(1000), std::chrono::milliseconds(2500));
        QList<QPointer<QNetworkReply>> replies;
        QObject::connect(&fetch.manager(), &QNetworkAccessManager::finished,
                         [&](QNetworkReply* reply) { replies << reply; });
        const struct {
            const char* url;
            const char* error;  // none: the page arrives; empty: any failure
        } cases[] = {
            {"http://listings.ebay.com/aw/plistings/list/category1/index.html", nullptr},
            {"http://listings.ebay.com/no/such/page.html", nullptr},
            {"http://listings.ebay.com/aw/plistings/list/category2/index.html", ""},
            {"http://listings.ebay.com/aw/plistings/list/category3/index.html",
             "the site did not answer in time"},
            {"http://listings.ebay.com/aw/plistings/list/category4/index.html",
             "the site took too long to send the page"},
            {"http://listings.ebay.com/aw/plistings/list/category1/page2.html", nullptr},
        };
        for (const auto& c : cases) {
            std::string error;
            try {
                QVERIFY(!fetch.fetch(c.url).empty());
            } catch (const FetchError& failure) {
                error = failure.what();
            }
            QVERIFY2(c.error ? !error.empty() && (!*c.error || error == c.error) : error.empty(),
                     c.url);
            QCOMPARE(replies.size(), &c - cases + 1);
            QVERIFY(replies.back().isNull());
            QVERIFY(fetch.manager().findChildren<QNetworkReply*>().isEmpty());
        }
    }

    void noConnectionIsAFailure() {
        QTcpServer closed;  // a loopback port that nothing listens on any more
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(closed.serverPort()));
        closed.close();
        QtUrlFetch fetch;
        QVERIFY_THROWS_EXCEPTION(FetchError, fetch.fetch("http://listings.ebay.com/x.html"));
        qunsetenv("http_proxy");
    }

    void followsRedirectsAndUnpacksCompressedBodies() {
        // A stand-in proxy: the first page has moved, the second comes deflated.
        QTcpServer proxy;
        QVERIFY(proxy.listen(QHostAddress::LocalHost));
        const QByteArray page = "<html>" + QByteArray(20000, 'x') + "</html>";
        QObject::connect(&proxy, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = proxy.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [socket, page] {
                const QByteArray request = socket->readAll();
                if (request.contains("/moved")) {
                    socket->write(
                        "HTTP/1.1 302 Found\r\nLocation: http://listings.ebay.com/here\r\n"
                        "Content-Length: 0\r\n\r\n");
                } else {
                    const QByteArray deflated = qCompress(page).mid(4);  // the zlib stream
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\nContent-Length: " +
                        QByteArray::number(deflated.size()) + "\r\n\r\n" + deflated);
                }
            });
        });
        qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.serverPort()));
        QtUrlFetch fetch;
        QCOMPARE(QByteArray::fromStdString(fetch.fetch("http://listings.ebay.com/moved")), page);
        qunsetenv("http_proxy");
    }

    void hostsInNoProxyBypassTheProxy() {
        SampleSiteProcess site;
        QVERIFY(site.started());
        // A second server on loopback, listed in no_proxy: reached directly, never by the proxy.
        QTcpServer direct;
        QVERIFY(direct.listen(QHostAddress::LocalHost));
        QObject::connect(&direct, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = direct.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [socket] {
                socket->readAll();
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\ndirect");
            });
        });
        qputenv("no_proxy", "127.0.0.1");
        QtUrlFetch fetch;
        QCOMPARE(fetch.fetch("http://127.0.0.1:" + std::to_string(direct.serverPort()) + "/page"),
                 std::string("direct"));
        fetch.fetch(CategoryFirstPageUrl("1"));
        qunsetenv("no_proxy");
        const QStringList log = site.logLines();
        QCOMPARE(log.size(), 1);
        QVERIFY(log[0].contains("listings.ebay.com"));
    }

    void typedTextCannotBreakTheRequest() {
        SampleSiteProcess site;
        QVERIFY(site.started());
        QtUrlFetch fetch;
        fetch.fetch(
            "http://search.ebay.com/search/search.dll?query=\"a b\"+(c,d)&x=1#2%zz%41"
            "\r\nX-Injected: yes&y=\xc3\xa9|{}");
        const QStringList log = site.logLines();
        QCOMPARE(log.size(), 1);
        const QString target = log[0].section(' ', 2);
        // What a request line cannot carry is escaped; the rest goes out as built.
        QCOMPARE(target, QString("http://search.ebay.com/search/search.dll?query=%22a%20b%22+(c,d)"
                                 "&x=1%232%25zzA%0D%0AX-Injected:%20yes&y=%C3%A9%7C%7B%7D"));
    }
};

QTEST_GUILESS_MAIN(FetchWalkTest)
#include "FetchWalkTest.moc"
