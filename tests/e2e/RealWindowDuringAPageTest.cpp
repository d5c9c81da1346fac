// The real window while its walk waits for a page of the sample auction site. Stop Search
// abandons the page at once, while other clicks wait for the walk. A second program started from
// the same application folder says the folder is in use and touches nothing, and the window's
// search ends with every row; a lock left by a program that was killed is taken over.

#include <QtTest>

#include "Processes.h"
#include "RealWindow.h"

using namespace vendra;
using test::ConsoleProgram;

namespace {

const QString kInUse = "Another Vendra window is searching from this folder.";

std::optional<QByteArray> Bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

}  // namespace

class RealWindowDuringAPageTest : public QObject {
    Q_OBJECT

  private slots:
    void stopSearchAbandonsAStalledPageAtOnce() {
        test::SampleSiteProcess site({"stall@category267/page2.html"});
        QVERIFY(site.started());
        test::RealWindow window;  // a stalled page would hold the walk for 30 seconds
        QElapsedTimer sinceStop;
        bool incompleteWaited = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            window.click("incompleteButton");
            incompleteWaited = window.find("incompleteButton")->isEnabled();
            sinceStop.start();
            window.click("stopButton");
        });
        poll.start(20);
        window.search(1, "categoryNumber", "267", "categorySearchButton");

        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 1000);
        QVERIFY(incompleteWaited);  // held until the page had ended
        QCOMPARE(window.logic.lastSearchEnd(), SearchEnd::Stopped);
        QCOMPARE(site.logLines().size(), 3);  // the first page twice, then page 2: nothing after
    }

    void aSecondSearchFromTheFolderWaitsAndTouchesNothing() {
        test::SampleSiteProcess site({"latency=4000@category267/page2.html"});
        QVERIFY(site.started());
        test::RealWindow window;
        // Runs inside the window's walk, once it waits for page 2; the window's search cannot
        // move on while the second program runs.
        ConsoleProgram second(QString::fromStdString(window.identity.folder()));
        QString secondSaid;
        std::optional<QByteArray> listingBefore, listingAfter, resultsAfter;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            listingBefore = Bytes(second.path("Listinglist.txt"));
            second.start({"--category", "267"});
            secondSaid = second.finish();
            listingAfter = Bytes(second.path("Listinglist.txt"));
            resultsAfter = Bytes(second.path("Finalsearch.htm"));
        });
        poll.start(20);
        window.search(1, "categoryNumber", "267", "categorySearchButton");

        QVERIFY2(secondSaid.contains(kInUse), qPrintable(secondSaid));
        QVERIFY(listingBefore && listingBefore->contains("page 1 row 1)"));
        QVERIFY(listingAfter == listingBefore && !resultsAfter);
        QCOMPARE(site.logLines().size(), 5);  // the window's own: the first page twice, 2 to 4
        QVERIFY(window.messages.messages.empty());
        QCOMPARE(window.logic.lastSearchEnd(), SearchEnd::Finished);
        const QByteArray page = Bytes(second.path("Finalsearch.htm")).value_or("");
        for (const char* row : {"(category 267 page 1 row 1)", "(category 267 page 4 row 1)"})
            QVERIFY2(page.contains(row), row);
    }

    void aLockLeftByAKilledProgramIsTakenOver() {
        test::SampleSiteProcess site({"stall@category267/page2.html"});
        QVERIFY(site.started());
        ConsoleProgram killed;
        killed.start({"--category", "267"});
        QTRY_VERIFY_WITH_TIMEOUT(site.requested("category267/page2.html"), 20000);
        killed.process.kill();
        killed.finish();
        QVERIFY(QFile::exists(killed.path(QtSearchLock::kFileName)));

        ConsoleProgram next(killed.folder);
        next.start({"--category", "6000"});  // one page
        const QString said = next.finish();
        QVERIFY2(!said.contains(kInUse), qPrintable(said));
        QVERIFY(QFile::exists(next.path("Finalsearch.htm")));
    }
};

QTEST_MAIN(RealWindowDuringAPageTest)
#include "RealWindowDuringAPageTest.moc"
