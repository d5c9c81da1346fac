// The page walk with the real fetch against the sample auction site: every block of every page
// arrives byte for byte, one connection serves the walk, no fault of the network hangs, crashes
// or loses a page that arrived, and nothing of a request outlives its fetch.

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <chrono>

#include "SampleSiteProcess.h"
#include "SitePages.h"
#include "platform/qt/QtUrlFetch.h"
#include "query/SearchUrls.h"
#include "retrieval/PageCountProbe.h"
#include "retrieval/PageWalk.h"
#include "support/Fakes.h"
#include "support/Pages.h"

using namespace vendra;
using namespace std::chrono_literals;
using vendra::test::SampleSiteProcess;

namespace {

// The listing file that the given pages of a category produce: each table, as served, then CR LF.
std::string ExpectedListing(const std::string& number, std::initializer_list<int> pages,
                            int bigPage = 0) {
    std::string blocks;
    for (int pageNumber : pages) {
        site::PageTwist twist;
        twist.big = pageNumber == bigPage;
        for (const std::string& block :
             test::PlainBlocks(site::CategoryListingPage(number, pageNumber, twist)))
            blocks += block + "\r\n";
    }
    return blocks;
}

// The probe and the walk of a category with the real fetch, watched, and fakes for the rest.
struct Walk : UrlFetch {
    explicit Walk(const std::string& number, std::chrono::milliseconds timeout = 5s,
                  std::chrono::milliseconds deadline = 60s)
        : real(timeout, deadline) {
        QObject::connect(&real.manager(), &QNetworkAccessManager::finished,
                         [this](QNetworkReply* reply) { replies << reply; });
        ProbePageCount(CategoryFirstPageUrl(number), state, *this, desk.locale, progress);
        WalkPages(CategoryFirstPageUrl(number), "", desk.identity.path("Listinglist.txt"), state,
                  {*this, desk.events, desk.files, progress, [number] { return number; }});
    }
    // Counts the replies that the requests before have left alive, and notes how this one ends.
    std::string fetch(const std::string& url) override {
        kept += replies.size() - int(replies.count(nullptr));
        ends.emplace_back();
        try {
            return real.fetch(url);
        } catch (const FetchError& failure) {
            ends.back() = failure.what();
            throw;
        }
    }
    void cancel() override { real.cancel(); }
    std::string Listing() const { return desk.read("Listinglist.txt").value_or(""); }

    test::FakeDesktop desk;
    test::ProgressLog progress;
    QtUrlFetch real;
    SearchState state{SearchKind::Category, 2};
    QList<QPointer<QNetworkReply>> replies;  // every reply the manager finished
    std::vector<std::string> ends;           // the error of each request; empty: the page came
    int kept = 0;
};

}  // namespace

class FetchWalkTest : public QObject {
    Q_OBJECT

  private slots:
    void walkKeepsEveryBlockOnOneConnection() {
        // Four pages, the last of about 5 MB; page 2 is one table with a row per line, the others
        // a table per listing.
        SampleSiteProcess site({"big@categorypages4/page4.html"});
        Walk walk("pages4");

        QVERIFY((walk.progress.all<progress::PagesAnnounced>() ==
                 std::vector<progress::PagesAnnounced>{{"4", 4}}));
        QVERIFY(walk.progress.all<progress::PagesSearched>() ==
                (std::vector<progress::PagesSearched>{{2, 4}, {3, 4}, {4, 4}}));
        QVERIFY(walk.progress.all<progress::PageLost>().empty());
        QVERIFY(walk.Listing().size() > 5'000'000);
        QVERIFY(walk.Listing() == ExpectedListing("pages4", {1, 2, 3, 4}, 4));
        const QStringList log = site.logLines();
        QCOMPARE(log.size(), 5);    // the first page twice, then pages 2 to 4
        QSet<QString> connections;  // each log line begins with its connection
        for (const QString& line : log) connections.insert(line.section(' ', 0, 0));
        QCOMPARE(connections.size(), 1);
    }

    // A silent page meets the idle time-out; one that drips a byte at a time never lets it fire,
    // so the deadline ends it; a reset or cut-short one fails at once. Each is lost alone, the walk
    // goes on, and whichever way a fetch ends (an error page is text), its reply is gone before
    // the next request starts: a search runs inside a click, so nothing may wait for the main loop.
    void faultyPagesAreLostAloneAndNoReplyOutlivesItsFetch() {
        SampleSiteProcess site(
            {"reset@categorypages7/page2.html", "stall@categorypages7/page3.html",
             "truncate@categorypages7/page4.html", "drip=0.05@categorypages7/page5.html"});
        Walk walk("pages7", 1s, 2500ms);  // seven; the seventh one table with a row per line
        QVERIFY(!walk.fetch("http://listings.ebay.com/no/such/page.html").empty());

        QVERIFY(walk.Listing() == ExpectedListing("pages7", {1, 6, 7}));
        QVERIFY(walk.progress.all<progress::PagesSearched>().back() ==
                (progress::PagesSearched{7, 7}));
        QCOMPARE(walk.progress.all<progress::PageLost>().size(), std::size_t{4});
        QCOMPARE(walk.ends.size(), std::size_t{9});  // the first page twice, 2 to 7, the 404
        QVERIFY(!walk.ends[2].empty() && !walk.ends[4].empty());
        QCOMPARE(walk.ends[3], std::string("the site did not answer in time"));
        QCOMPARE(walk.ends[5], std::string("the site took too long to send the page"));
        QCOMPARE(walk.kept, 0);
        QCOMPARE(walk.replies.count(nullptr), 9);  // every reply caught, and gone
    }

    // A compressed body counts by its decoded bytes: a body that decodes to the bound comes whole,
    // one byte more is abandoned, however little of it crossed the network; one that does not
    // decode is a failure, never a page cut short.
    void compressedBodiesCountDecodedAgainstTheBound() {
        QTcpServer direct;
        QVERIFY(direct.listen(QHostAddress::LocalHost));
        const auto deflated = [](qsizetype size) {
            return qCompress(QByteArray(size, 'x'), 9).mid(4);  // the zlib stream
        };
        const QMap<QByteArray, QByteArray> bodies{{"/bound", deflated(limits::kPageBytes)},
                                                  {"/past", deflated(limits::kPageBytes + 1)},
                                                  {"/broken", "not a zlib stream at all"}};
        QObject::connect(&direct, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = direct.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [&, socket] {
                const QByteArray body = bodies.value(socket->readAll().split(' ').value(1));
                socket->write("HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body);
            });
        });
        qputenv("no_proxy", "127.0.0.1");
        const std::string origin = "http://127.0.0.1:" + std::to_string(direct.serverPort());
        QtUrlFetch fetch;
        QCOMPARE(fetch.fetch(origin + "/bound").size(), limits::kPageBytes);
        QVERIFY_THROWS_EXCEPTION(FetchError, fetch.fetch(origin + "/broken"));
        try {
            fetch.fetch(origin + "/past");
            QFAIL("a page past the bound came");
        } catch (const FetchError& failure) {
            QCOMPARE(failure.what(), std::string("the page is larger than 32 MB"));
        }
        qunsetenv("no_proxy");
    }

    // Hosts in no_proxy are reached directly: redirects are followed, deflated bodies unpacked,
    // and a host that takes no connection is a failure. The rest go through the proxy, where what
    // a request line cannot carry is escaped and the rest goes out as built.
    void directAndProxiedRequests() {
        SampleSiteProcess site;
        QTcpServer direct, closed;  // closed: a loopback port that nothing listens on any more
        QVERIFY(direct.listen(QHostAddress::LocalHost) && closed.listen(QHostAddress::LocalHost));
        const std::string refused = "http://127.0.0.1:" + std::to_string(closed.serverPort());
        closed.close();
        const QByteArray page = "<html>" + QByteArray(20000, 'x') + "</html>";
        const QByteArray deflated = qCompress(page).mid(4);  // the zlib stream
        const QByteArray origin = "http://127.0.0.1:" + QByteArray::number(direct.serverPort());
        // The stand-in's answers: to a request for /moved, and to any other.
        const QByteArray answers[] = {
            "HTTP/1.1 302 Found\r\nLocation: " + origin + "/here\r\nContent-Length: 0\r\n\r\n",
            "HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\nContent-Length: " +
                QByteArray::number(deflated.size()) + "\r\n\r\n" + deflated};
        QObject::connect(&direct, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = direct.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [&, socket] {
                socket->write(answers[socket->readAll().contains("/moved") ? 0 : 1]);
            });
        });
        qputenv("no_proxy", "127.0.0.1");
        QtUrlFetch fetch;
        QCOMPARE(QByteArray::fromStdString(fetch.fetch(origin.toStdString() + "/moved")), page);
        QVERIFY_THROWS_EXCEPTION(FetchError, fetch.fetch(refused));
        fetch.fetch(
            "http://search.ebay.com/search/search.dll?query=\"a b\"+(c,d)&x=1#2%zz%41"
            "\r\nX-Injected: yes&y=\xc3\xa9|{}");
        qunsetenv("no_proxy");
        QCOMPARE(
            site.logLines(),
            QStringList{"1 GET http://search.ebay.com/search/search.dll?query=%22a%20b%22+(c,d)"
                        "&x=1%232%25zzA%0D%0AX-Injected:%20yes&y=%C3%A9%7C%7B%7D"});
    }
};

QTEST_GUILESS_MAIN(FetchWalkTest)
#include "FetchWalkTest.moc"
