// The real window while its walk waits for a page of the sample auction site. Stop Search
// abandons the page at once, while other clicks wait for the walk. A second program started from
// the same application folder says the folder is in use and touches nothing, and the window's
// search ends with every row; a lock left by a program that was killed is taken over.

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QElapsedTimer>
#include <QtTest>

#include "RealWindow.h"
#include "SampleSiteProcess.h"

using namespace vendra;

namespace {

const QString kInUse = "Another Vendra window is searching from this folder.";

// The second program, copied into the folder so that the folder is its application folder.
struct SecondProgram {
    explicit SecondProgram(const QString& folder) : path(folder + "/vendra") {
        if (!QFile::exists(path)) QFile::copy(VENDRA_PATH, path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        process.setProcessChannelMode(QProcess::MergedChannels);
    }
    void start(const QString& category) { process.start(path, {"--category", category}); }
    QString finish() {
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAll());
    }
    QString path;
    QProcess process;
};

std::optional<std::string> Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll().toStdString();
}

bool Requested(const test::SampleSiteProcess& site, const QString& target) {
    return site.logLines().join('\n').contains(target);
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
            if (!Requested(site, "category267/page2.html")) return;
            poll.stop();
            window.click("incompleteButton");
            incompleteWaited = window.find("incompleteButton")->isEnabled();
            sinceStop.start();
            window.click("stopButton");
        });
        poll.start(20);
        window.searchCategory("267");

        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 1000);
        QVERIFY(incompleteWaited);  // held until the page had ended
        QCOMPARE(window.logic.lastSearchEnd(), SearchEnd::Stopped);
        QCOMPARE(site.logLines().size(), 3);  // the first page twice, then page 2: nothing after
        QVERIFY(window.find("categorySearchButton")->isEnabled());
        QCOMPARE(window.find<QPushButton>("stopButton")->text(), QString("Stop Search"));
        QVERIFY(window.messages.messages.empty());
        QVERIFY(!QFile::exists(QString::fromStdString(window.identity.path("Finalsearch.htm"))));
    }

    void aSecondSearchFromTheFolderWaitsAndTouchesNothing() {
        test::SampleSiteProcess site({"latency=4000@category267/page2.html"});
        QVERIFY(site.started());
        test::RealWindow window;
        test::FakeIdentity& identity = window.identity;
        // Runs inside the window's walk, once it waits for page 2; the window's search cannot
        // move on while the second program runs.
        const QString folder = QString::fromStdString(identity.folder());
        const std::string listing = identity.path("Listinglist.txt").string();
        SecondProgram second(folder);
        QString secondSaid;
        std::optional<std::string> listingBefore, listingAfter, resultsAfter;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!Requested(site, "category267/page2.html")) return;
            poll.stop();
            listingBefore = Bytes(listing);
            second.start("267");
            secondSaid = second.finish();
            listingAfter = Bytes(listing);
            resultsAfter = Bytes(identity.path("Finalsearch.htm").string());
        });
        poll.start(20);
        window.searchCategory("267");

        QVERIFY2(secondSaid.contains(kInUse), qPrintable(secondSaid));
        QVERIFY(listingBefore && listingBefore->find("page 1 row 1)") != std::string::npos);
        QVERIFY(listingAfter == listingBefore && !resultsAfter);
        QCOMPARE(site.logLines().size(), 5);  // the window's own: the first page twice, 2 to 4
        QVERIFY(window.messages.messages.empty());
        QCOMPARE(window.logic.lastSearchEnd(), SearchEnd::Finished);
        const std::string page = Bytes(identity.path("Finalsearch.htm").string()).value_or("");
        for (const char* row : {"(category 267 page 1 row 1)", "(category 267 page 4 row 1)"})
            QVERIFY2(page.find(row) != std::string::npos, row);
    }

    void aLockLeftByAKilledProgramIsTakenOver() {
        test::SampleSiteProcess site({"stall@category267/page2.html"});
        QVERIFY(site.started());
        test::FakeIdentity identity;
        const QString folder = QString::fromStdString(identity.folder());
        SecondProgram killed(folder);
        killed.start("267");
        QTRY_VERIFY_WITH_TIMEOUT(Requested(site, "category267/page2.html"), 20000);
        killed.process.kill();
        killed.finish();
        QVERIFY(QFile::exists(folder + "/" + QtSearchLock::kFileName));

        SecondProgram next(folder);
        next.start("6000");  // one page
        const QString said = next.finish();
        QVERIFY2(!said.contains(kInUse), qPrintable(said));
        QVERIFY(QFile::exists(folder + "/Finalsearch.htm"));
    }
};

QTEST_MAIN(RealWindowDuringAPageTest)
#include "RealWindowDuringAPageTest.moc"
