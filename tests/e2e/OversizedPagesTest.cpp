// The program from the command line against pages past any page's size, and against malformed
// answers, as the first page and as a later one: each ends well before the fetch's deadline with
// little memory, the first with the message that the site could not be reached and why, a later
// one lost and told while the walk goes on. An early 1xx answer loses nothing. GNU time runs the
// program and tells its peak resident memory, as the kernel counts it.

#include <QtTest>

#include "ProgramRun.h"
#include "SampleSiteProcess.h"

using vendra::test::kMostKilobytes;
using vendra::test::kMostMilliseconds;
using vendra::test::Program;
using vendra::test::SampleSiteProcess;

class OversizedPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void pagePastTheBoundEndsInBoundedTimeAndMemory_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("reason");  // empty: nothing is lost
        const char* const tooLarge = "the page is larger than 32 MB";
        const char* const badChunk =
            "Failure when receiving data from the peer: Illegal or "
            "missing hexadecimal sequence in chunked-encoding, 3 tries";
        const struct {
            const char* fault;
            const char* reason;
        } faults[] = {
            {"endless", tooLarge},
            {"huge", tooLarge},
            {"length=40000000", tooLarge},
            {"endlessheaders", "the site sent more than 256 KB of headers"},
            {"badchunk", badChunk},
            {"badchunk=ffffffffffffffff", badChunk},
            {"badgzip",
             "Unrecognized or bad HTTP Content or Transfer-Encoding: Error while "
             "processing content unencoding: unknown header flags set, 3 tries"},
            {"earlyhints", ""},
        };
        for (const auto& f : faults)
            for (const char* page : {"index.html", "page3.html"})
                QTest::addRow("%s on %s", f.fault, page) << f.fault << page << f.reason;
    }

    void pagePastTheBoundEndsInBoundedTimeAndMemory() {
        QFETCH(QString, fault);
        QFETCH(QString, page);
        QFETCH(QString, reason);
        SampleSiteProcess site({fault + "@category267/" + page});
        Program run;
        run.run({"--category", "267"});
        qInfo("peak %lld kB in %lld ms", run.kilobytes, run.milliseconds);
        QVERIFY2(run.kilobytes > 0 && run.kilobytes < kMostKilobytes, qPrintable(run.said));
        QVERIFY(run.milliseconds < kMostMilliseconds);
        if (reason.isEmpty()) {
            QCOMPARE(run.process.exitCode(), 0);
            QVERIFY2(!run.said.contains("could not"), qPrintable(run.said));
            const QByteArray results = run.Read("Finalsearch.htm");
            for (const char* row : {"267 page 1 row 1)", "267 page 3 row 1)", "267 page 4 row 1)"})
                QVERIFY(results.contains(row));
        } else if (page == "index.html") {
            QCOMPARE(run.process.exitCode(), 1);
            QVERIFY2(run.said.contains("The auction site could not be reached: " + reason + "\n"),
                     qPrintable(run.said));
            QVERIFY(!site.requested("page2.html"));
        } else {
            // Pages 1, 2 and 4 are in the results, page 3 is lost.
            QCOMPARE(run.process.exitCode(), 0);
            QCOMPARE(QString(run.process.readAllStandardOutput()).trimmed(),
                     run.path("Finalsearch.htm"));
            QVERIFY(run.said.contains("4 of 4 pages searched.\n"));
            QVERIFY2(
                run.said.contains("1 page of the search could not be fetched (" + reason + ")"),
                qPrintable(run.said));
            const QByteArray results = run.Read("Finalsearch.htm");
            QVERIFY(results.contains("267 page 2 row 1)") && results.contains("267 page 4 row 1)"));
            QVERIFY(!results.contains("267 page 3 row"));
        }
    }

    // A bad option is refused before anything is fetched or deleted.
    void malformedMinimumTouchesNothing() {
        SampleSiteProcess site;
        Program run;
        QFile last(run.path("Finalsearch.htm"));
        QVERIFY(last.open(QIODevice::WriteOnly) && last.write("last results") && last.flush());
        run.run({"--category", "267", "--min-bids", "+-5"});
        QCOMPARE(run.process.exitCode(), 2);
        QVERIFY(run.said.contains("--min-bids"));
        QCOMPARE(run.Read("Finalsearch.htm"), QByteArray("last results"));
        QVERIFY(site.logLines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(OversizedPagesTest)
#include "OversizedPagesTest.moc"
