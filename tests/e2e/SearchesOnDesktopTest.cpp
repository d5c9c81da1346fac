// Searches on a real desktop against the sample auction site: the program's window with its
// controller and every port, wired as the program wires them, and the program itself from the
// command line. The desktop's "open" is xdg-open, replaced by a recording
// one first on PATH.

#include <signal.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include "RecordingBrowser.h"
#include "SampleSiteProcess.h"
#include "SitePages.h"
#include "app/DesktopProgram.h"
#include "gui/TabControl.h"
#include "support/Fakes.h"

using namespace vendra;
using test::SampleSiteProcess;

namespace {

enum Tab { Featured = 0, Category = 1, Completed = 2, Keyword = 3 };
// One search on each tab, by tab: the tab's search box (none on the featured tab) and button,
// what is typed there, the minimum of bids, and the command line option for the same search.
const struct {
    const char *box, *button, *typed;
    int minimum;
    const char* option;
} kSearches[] = {{"", "featuredSearchButton", "", 10, "--featured"},
                 {"categoryNumber", "categorySearchButton", "267", 3, "--category"},
                 {"completedWords", "completedSearchButton", "teddy bear", 0, "--completed"},
                 {"titleWords", "keywordSearchButton", "lamp", 2, "--keywords"}};

// The program's window, wired as the program wires it, in a fresh application folder. Message
// boxes are confirmed as soon as they show, and their texts noted.
struct RealWindow {
    test::FakeIdentity identity;
    DesktopProgram program{identity};
    MainWindow& form = program.window;
    QStringList messages;
    QTimer confirm;

    RealWindow() {
        QObject::connect(&confirm, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                box->done(0);
            }
        });
        confirm.start(10);
        form.show();
    }

    QWidget* find(const char* name) const { return form.findChild<QWidget*>(name); }
    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
    // Types a search into the tab's box and clicks its button; returns once the search has
    // returned.
    void search(Tab tab, const QString& typed, int minimumBids = 0) {
        form.findChild<QLineEdit*>("minimumBids")->setText(QString::number(minimumBids));
        form.findChild<TabControl*>("searchTabs")->setCurrentIndex(tab);
        if (*kSearches[tab].box) QTest::keyClicks(find(kSearches[tab].box), typed);
        click(kSearches[tab].button);
    }
    QString path(const char* name) const { return QString::fromStdString(identity.path(name)); }
};

// The program started from the command line with no display, copied into `folder` (a fresh one when
// none is given) so that the folder is its application folder.
struct ConsoleProcess {
    explicit ConsoleProcess(const QStringList& options, const QString& into = {})
        : folder(into.isEmpty() ? own.path() : into) {
        QFile::copy(VENDRA_PATH, path("vendra"));  // the folder may hold it already
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        process.setProcessEnvironment(environment);
        process.start(path("vendra"), options);
    }
    QString path(const QString& name) const { return folder + "/" + name; }
    // Waits for the program to end; what it said on stderr.
    QString finish() {
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardError());
    }

    QTemporaryDir own;
    QString folder;
    QProcess process;
};

// Page `page` (from 1) of those the search walks, as the site serves it.
std::string SitePage(Tab tab, const std::string& typed, std::uint64_t page) {
    if (tab == Category) return site::CategoryListingPage(typed, page);
    if (tab == Featured) return site::FeaturedPage(page);
    const auto host = tab == Keyword ? site::SearchHost::Keyword : site::SearchHost::Completed;
    return site::SearchResultsPage(host, typed, page * 50 - 50);
}

// The bid counts of the rows of a page, in order; rows without bids count 0.
std::vector<int> BidsOf(const std::string& page) {
    static const QRegularExpression cell(
        R"((?:WIDTH="12%">|width="12%"><font size=3>)(\d+|-)(?:<br>|</font>))");
    std::vector<int> bids;
    for (const auto& match : cell.globalMatch(QString::fromStdString(page)))
        bids.push_back(match.captured(1).toInt());  // "-" reads as 0
    return bids;
}

// A file's bytes; none when it cannot be read.
QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The request targets of the site's log lines, without their connection numbers.
QStringList Targets(const SampleSiteProcess& site) {
    return site.logLines().replaceInStrings(QRegularExpression("^\\d+ "), "");
}

}  // namespace

class SearchesOnDesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void searchFromTheButtonToTheOpenedResultsPage_data() {
        QTest::addColumn<int>("tab");
        for (const int tab : {Category, Featured, Keyword, Completed})
            QTest::newRow(kSearches[tab].button) << tab;
    }

    void searchFromTheButtonToTheOpenedResultsPage() {
        QFETCH(int, tab);
        const auto& [box, button, typed, minimum, option] = kSearches[tab];
        SampleSiteProcess site;
        browser_.clear();
        RealWindow window;
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.search(Tab(tab), typed, minimum);

        // The browser is started on its own; the recording script creates its file before it
        // writes the line.
        QTRY_VERIFY_WITH_TIMEOUT(browser_.opened().endsWith('\n'), 10000);
        QCOMPARE(QString(browser_.opened().trimmed()),
                 QUrl::fromLocalFile(window.path("Finalsearch.htm")).toString());
        QVERIFY(window.messages.isEmpty());
        // The page holds every row of the site with at least the minimum, most bids first.
        const QByteArray written = Read(window.path("Finalsearch.htm"));
        const std::vector<int> kept = BidsOf(written.toStdString());
        std::size_t siteRows = 0;
        for (std::uint64_t page = 1; page <= 4; ++page)
            for (int bids : BidsOf(SitePage(Tab(tab), typed, page))) siteRows += bids >= minimum;
        QCOMPARE(kept.size(), siteRows);
        QVERIFY(std::is_sorted(kept.rbegin(), kept.rend()) && kept.back() >= minimum);

        // With no display: the same requests in the same order and the very same page.
        const QStringList windowRequests = Targets(site);
        QStringList options{option};
        if (*typed) options << typed;
        ConsoleProcess console(options << "--min-bids" << QString::number(minimum));
        console.finish();
        QCOMPARE(Targets(site).mid(windowRequests.size()), windowRequests);
        QCOMPARE(Read(console.path("Finalsearch.htm")), written);
    }

    // Ctrl+C once ends the walk after the block in hand and writes what was collected; twice it
    // stops the search at once: no results page, exit status 130.
    void ctrlCOnceForTheIncompleteResultsTwiceToStop() {
        for (const int interrupts : {1, 2}) {
            SampleSiteProcess site({"latency=3000@category267/page3.html"});
            ConsoleProcess console({"--category", "267"});
            QTRY_VERIFY_WITH_TIMEOUT(site.requested("category267/page3.html"), 20000);
            ::kill(console.process.processId(), SIGINT);
            QString said;
            QTRY_VERIFY((said += console.process.readAllStandardError()).contains("Ctrl+C again"));
            if (interrupts == 2) ::kill(console.process.processId(), SIGINT);
            console.finish();
            QCOMPARE(console.process.exitCode(), interrupts == 1 ? 0 : 130);
            QCOMPARE(QFile::exists(console.path("Finalsearch.htm")), interrupts == 1);
            QVERIFY(!site.requested("page4"));
        }
    }

    // While the window waits for a stalled page, Stop Search abandons it at once (the program's
    // wiring lets the stop button's input through); other clicks wait for the walk.
    void stopSearchAbandonsAStalledPageAtOnce() {
        SampleSiteProcess site({"stall@category267/page2.html"});
        RealWindow window;  // a stalled page would hold the walk for 30 seconds
        QElapsedTimer sinceStop;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            window.click("incompleteButton");
            const bool incompleteWaits = window.find("incompleteButton")->isEnabled();
            sinceStop.start();
            window.click("stopButton");
            QVERIFY(incompleteWaits);  // held until the page had ended
        });
        poll.start(20);
        window.search(Category, "267");

        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 1000);
        QCOMPARE(window.program.controller.lastSearchEnd(), SearchEnd::Stopped);
        QCOMPARE(site.logLines().size(), 3);  // the first page twice, then page 2: nothing after
    }

    // While a page waits to be asked for again, See Incomplete Results ends the wait at once (the
    // program's wiring lets its input through then): the walk ends with what it has.
    void seeIncompleteResultsEndsAWaitAtOnce() {
        SampleSiteProcess site(
            {"status=503@category267/page2.html", "retryafter=30@category267/page2.html"});
        RealWindow window;
        QElapsedTimer sinceClick;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            sinceClick.start();
            window.click("incompleteButton");
        });
        poll.start(20);
        window.search(Category, "267");

        QVERIFY(sinceClick.isValid() && sinceClick.elapsed() < 1000);
        QCOMPARE(window.program.controller.lastSearchEnd(), SearchEnd::Finished);
        QCOMPARE(Targets(site).filter("page2.html").size(), 1);
        QVERIFY(!site.requested("page3.html"));
        QVERIFY(Read(window.path("Finalsearch.htm")).contains("(category 267 page 1 row 1)"));
    }

    // A second program started from the window's folder while the window waits for a page says
    // the folder is in use and touches nothing; the window's search ends with every row.
    void aSecondSearchFromTheFolderWaitsAndTouchesNothing() {
        SampleSiteProcess site({"latency=4000@category267/page2.html"});
        RealWindow window;
        QTimer poll;  // runs inside the window's walk, which cannot move on meanwhile
        connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            const QByteArray listing = Read(window.path("Listinglist.txt"));
            QVERIFY(listing.contains("page 1 row 1)"));
            ConsoleProcess second({"--category", "267"},
                                  QString::fromStdString(window.identity.folder()));
            const QString said = second.finish();
            QVERIFY2(
                said.contains("No results page: another Vendra is searching from this folder."),
                qPrintable(said));
            QCOMPARE(Read(window.path("Listinglist.txt")), listing);
            QVERIFY(!QFile::exists(window.path("Finalsearch.htm")));
        });
        poll.start(20);
        window.search(Category, "267");

        QVERIFY(!poll.isActive());            // the second program has run
        QCOMPARE(site.logLines().size(), 5);  // the window's own: the first page twice, 2 to 4
        const QByteArray page = Read(window.path("Finalsearch.htm"));
        for (const char* row : {"(category 267 page 1 row 1)", "(category 267 page 4 row 1)"})
            QVERIFY2(page.contains(row), row);
    }

    void aLockLeftByAKilledProgramIsTakenOver() {
        SampleSiteProcess site({"stall@category267/page2.html"});
        ConsoleProcess killed({"--category", "267"});
        QTRY_VERIFY_WITH_TIMEOUT(site.requested("category267/page2.html"), 20000);
        killed.process.kill();
        killed.finish();
        QVERIFY(QFile::exists(killed.path(PosixSearchLock::kFileName)));

        ConsoleProcess next({"--category", "6000"}, killed.folder);  // one page
        next.finish();
        QVERIFY(QFile::exists(next.path("Finalsearch.htm")));
    }

  private:
    test::RecordingBrowser browser_;
};

QTEST_MAIN(SearchesOnDesktopTest)
#include "SearchesOnDesktopTest.moc"
