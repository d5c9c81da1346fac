// Pages asked for again against the sample site: transient failures cost no listing, a page that
// keeps failing is lost and told with its status and its body never walked, Retry-After is waited
// out or, past 30 s, not at all, Stop ends a wait at once, and a redirect to https is verified.

#include <QtTest>
#include <chrono>

#include "ProgramRun.h"
#include "SampleSiteProcess.h"
#include "platform/RetryingFetch.h"
#include "platform/curl/CurlFetch.h"
#include "platform/qt/QtNetworkWait.h"

using namespace vendra;
using namespace std::chrono_literals;
using vendra::test::Program;
using vendra::test::SampleSiteProcess;

namespace {

const std::string kPage2 = "http://listings.ebay.com/aw/plistings/list/category267/page2.html";

// The program's fetch with the Qt event loop running while it waits, noting when each request
// goes out and every notice of a try again.
struct TimedFetch : HttpFetch, RetryObserver {
    TimedFetch() { asking.observe(this); }
    HttpAnswer get(const std::string& url) override {
        asked.push_back(std::chrono::steady_clock::now());
        return http.get(url);
    }
    void cancel() override { http.cancel(); }
    void retrying(const RetryNotice& notice) override { notices.push_back(notice); }
    // The page, or "failed: " and why.
    std::string fetch(const std::string& url) {
        try {
            return asking.fetch(url);
        } catch (const FetchError& failure) {
            return std::string("failed: ") + failure.what();
        }
    }

    QtNetworkWait wait;
    CurlFetch http{wait};
    RetryingFetch asking{*this, http};
    std::vector<std::chrono::steady_clock::time_point> asked;
    std::vector<RetryNotice> notices;
};

}  // namespace

class AskAgainTest : public QObject {
    Q_OBJECT

  private slots:
    void transientFailuresOnceLoseNothing() {
        SampleSiteProcess site(
            {"status=503/1@category267/page2.html", "reset/2@category267/page3.html"});
        Program run;
        run.run({"--category", "267"});  // four pages
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY2(run.said.contains("page 2: HTTP 503, asking again in 1 s\n") &&
                     run.said.contains("page 3: Server returned nothing"),
                 qPrintable(run.said));
        QVERIFY2(!run.said.contains("could not"), qPrintable(run.said));
        const QByteArray results = run.Read("Finalsearch.htm");
        for (const char* row :
             {"267 page 1 row 1)", "267 page 2 row 1)", "267 page 3 row 1)", "267 page 4 row 1)"})
            QVERIFY(results.contains(row));
    }

    // A page that keeps answering 503 is asked three times and lost; Retry-After: 3600 loses it at
    // once; a 404 page is text. Either way the other pages are walked.
    void statusesThatStay_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("requests");  // of page 2
        QTest::addColumn<QString>("told");  // empty: page 2's rows are in the results
        QTest::addRow("503") << QStringList{"status=503@page2.html"} << 3
                             << "(HTTP 503 Service Unavailable, 3 tries)";
        QTest::addRow("Retry-After: 3600")
            << QStringList{"status=503@page2.html", "retryafter=3600@page2.html"} << 1
            << "(HTTP 503 Service Unavailable, asked to wait 3600 s)";
        QTest::addRow("404") << QStringList{"status=404@page2.html"} << 1 << "";
    }
    void statusesThatStay() {
        QFETCH(QStringList, faults);
        QFETCH(int, requests);
        QFETCH(QString, told);
        SampleSiteProcess site(faults);
        Program run;
        run.run({"--category", "267"});  // four pages
        QCOMPARE(run.process.exitCode(), 0);
        QCOMPARE(site.logLines().filter("page2.html").size(), requests);
        const QByteArray results = run.Read("Finalsearch.htm");
        QVERIFY(results.contains("267 page 3 row 1)") && results.contains("267 page 4 row 1)"));
        QCOMPARE(results.contains("267 page 2 row 1)"), told.isEmpty());
        QVERIFY2(told.isEmpty()
                     ? !run.said.contains("could not")
                     : run.said.contains("1 page of the search could not be fetched " + told),
                 qPrintable(run.said));
    }

    void retryAfterIsWaitedOut() {
        SampleSiteProcess site({"status=429/1@page2.html", "retryafter=2/1@page2.html"});
        TimedFetch fetch;
        QVERIFY(fetch.fetch(kPage2).find("267 page 2 row 1)") != std::string::npos);
        QCOMPARE(fetch.asked.size(), std::size_t{2});
        QVERIFY(fetch.asked[1] - fetch.asked[0] >= 2s);
        QCOMPARE(fetch.notices.at(0).delay, std::chrono::seconds(2));
    }

    // Stop Search (a cancel) ends the wait as a cancelled request; See Incomplete Results ends it
    // with what failed. Both within a second of the click, while the window's events run.
    void stopAndIncompleteResultsEndAWait() {
        SampleSiteProcess site({"status=503@page2.html", "retryafter=30@page2.html"});
        for (const bool stop : {true, false}) {
            TimedFetch fetch;
            std::chrono::steady_clock::time_point clicked;
            QTimer::singleShot(300, [&] {
                clicked = std::chrono::steady_clock::now();
                stop ? fetch.asking.cancel() : fetch.asking.endWait();
            });
            QCOMPARE(fetch.fetch(kPage2), std::string(stop ? "failed: the request was cancelled"
                                                           : "failed: HTTP 503 Service "
                                                             "Unavailable, 1 try"));
            QVERIFY(std::chrono::steady_clock::now() - clicked < 1s);
            QCOMPARE(fetch.asked.size(), std::size_t{1});
        }
    }

    // A redirect to the site's own https endpoint is followed when its certificate's authority is
    // trusted (through SSL_CERT_FILE, as only the tests trust it), and refused when it is not.
    void redirectToHttpsIsVerified() {
        QTemporaryDir keys;
        const auto openssl = [&](const QStringList& arguments) {
            QProcess process;
            process.setWorkingDirectory(keys.path());
            process.start("openssl", arguments);
            return process.waitForFinished(30000) && process.exitCode() == 0;
        };
        const auto authority = [&](const QString& name) {
            return openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256",
                            "-nodes", "-days", "2", "-subj", "/CN=Vendra test " + name, "-keyout",
                            name + ".key", "-out", name + ".pem"});
        };
        QVERIFY(authority("trusted") && authority("untrusted"));
        QVERIFY(openssl({"req",
                         "-x509",
                         "-newkey",
                         "ec",
                         "-pkeyopt",
                         "ec_paramgen_curve:P-256",
                         "-nodes",
                         "-days",
                         "2",
                         "-subj",
                         "/CN=localhost",
                         "-addext",
                         "subjectAltName=DNS:localhost",
                         "-addext",
                         "basicConstraints=critical,CA:FALSE",
                         "-CA",
                         "trusted.pem",
                         "-CAkey",
                         "trusted.key",
                         "-keyout",
                         "site.key",
                         "-out",
                         "site.pem"}));
        SampleSiteProcess site({"https@page2.html"},
                               {"--https-certificate", keys.filePath("site.pem"), "--https-key",
                                keys.filePath("site.key")});
        QVERIFY(site.httpsPort() != 0);
        qputenv("no_proxy", "localhost");
        for (const QString authorityName : {"trusted", "untrusted"}) {
            qputenv("SSL_CERT_FILE", keys.filePath(authorityName + ".pem").toLocal8Bit());
            TimedFetch fetch;
            const std::string page = fetch.fetch(kPage2);
            if (authorityName == "trusted")
                QVERIFY(page.find("267 page 2 row 1)") != std::string::npos);
            else
                QVERIFY2(page.starts_with("failed: SSL peer certificate"), page.c_str());
        }
        qunsetenv("SSL_CERT_FILE");
        QCOMPARE(site.logLines()
                     .filter("https GET /listings.ebay.com/aw/plistings/list/"
                             "category267/page2.html")
                     .size(),
                 1);
    }
};

QTEST_GUILESS_MAIN(AskAgainTest)
#include "AskAgainTest.moc"
