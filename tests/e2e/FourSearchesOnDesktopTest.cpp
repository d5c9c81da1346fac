// All four searches on a real desktop: the real window, the real fetch against the sample auction
// site, and the desktop's own "open" (xdg-open, replaced by a recording one first on PATH), from
// the click on the search button to the results page handed to the browser; then the same search
// from the command line.

#include <signal.h>

#include <QtTest>

#include "Processes.h"
#include "RealWindow.h"
#include "SitePages.h"
#include "platform/qt/QtShell.h"

using namespace vendra;

namespace {

enum Tab { Featured = 0, Category = 1, Completed = 2, Keyword = 3 };

// The bid counts of the rows of the pages, in order; rows without bids count 0.
std::vector<int> BidsOf(const std::vector<std::string>& pages) {
    static const QRegularExpression cell(
        R"((?:WIDTH="12%">|width="12%"><font size=3>)(\d+|-)(?:<br>|</font>))");
    std::vector<int> bids;
    for (const std::string& page : pages)
        for (const auto& match : cell.globalMatch(QString::fromStdString(page)))
            bids.push_back(match.captured(1).toInt());  // "-" reads as 0
    return bids;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The request targets of the site's log lines, without their connection numbers.
QStringList Targets(const test::SampleSiteProcess& site) {
    QStringList targets;
    for (const QString& line : site.logLines()) targets << line.section(' ', 1);
    return targets;
}

}  // namespace

class FourSearchesOnDesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(tools_.isValid());
        QFile script(tools_.filePath("xdg-open"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record() + "'\n").toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", (tools_.path() + ":" + qgetenv("PATH")).toUtf8());
    }

    void searchFromTheButtonToTheOpenedResultsPage_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<std::vector<int>>("siteBids");  // of every row the search walks
        QTest::addColumn<QStringList>("options");        // the same search from the command line

        std::vector<std::string> category, featured, keyword, completed;
        for (int page = 1; page <= 4; ++page) {
            category.push_back(site::CategoryListingPage("267", page));
            featured.push_back(site::FeaturedPage(page));
            const int offset = (page - 1) * 50;
            keyword.push_back(site::SearchResultsPage(site::SearchHost::Keyword, "lamp", offset));
            completed.push_back(
                site::SearchResultsPage(site::SearchHost::Completed, "teddy bear", offset));
        }
        QTest::newRow("category") << int(Category) << "categoryNumber"
                                  << "267"
                                  << "categorySearchButton" << 3 << BidsOf(category)
                                  << QStringList{"--category", "267", "--min-bids", "3"};
        QTest::newRow("featured") << int(Featured) << ""
                                  << ""
                                  << "featuredSearchButton" << 10 << BidsOf(featured)
                                  << QStringList{"--featured", "--min-bids", "10"};
        QTest::newRow("keyword") << int(Keyword) << "titleWords"
                                 << "lamp"
                                 << "keywordSearchButton" << 2 << BidsOf(keyword)
                                 << QStringList{"--keywords", "lamp", "--min-bids", "2"};
        QTest::newRow("completed") << int(Completed) << "completedWords"
                                   << "teddy bear"
                                   << "completedSearchButton" << 0 << BidsOf(completed)
                                   << QStringList{"--completed", "teddy bear"};
    }

    void searchFromTheButtonToTheOpenedResultsPage() {
        QFETCH(int, tab);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(int, minimum);
        QFETCH(std::vector<int>, siteBids);
        QFETCH(QStringList, options);
        test::SampleSiteProcess site;
        QVERIFY(site.started());
        QFile::remove(record());
        QtShell shell;
        test::RealWindow window(&shell);
        QVERIFY(QTest::qWaitForWindowExposed(&window.form));
        window.search(tab, qPrintable(box), typed, qPrintable(button), minimum);

        // The browser is started on its own; the recording script creates its file before it
        // writes the line.
        const QString page = QString::fromStdString(window.identity.path("Finalsearch.htm"));
        QTRY_VERIFY_WITH_TIMEOUT(Read(record()).endsWith('\n'), 10000);
        QCOMPARE(Read(record()).trimmed(), QUrl::fromLocalFile(page).toEncoded());
        QVERIFY(window.messages.messages.empty());
        // The page holds every row of the site with at least the minimum, most bids first.
        const QByteArray written = Read(page);
        const std::vector<int> kept = BidsOf({written.toStdString()});
        QVERIFY(std::is_sorted(kept.rbegin(), kept.rend()) && kept.back() >= minimum);
        QCOMPARE(kept.size(),
                 std::size_t(std::count_if(siteBids.begin(), siteBids.end(),
                                           [&](int bids) { return bids >= minimum; })));

        // With no display: the same requests in the same order and the very same page.
        const QStringList windowRequests = Targets(site);
        test::ConsoleProgram console;
        console.start(options);
        console.finish();
        QCOMPARE(console.process.exitCode(), 0);
        QCOMPARE(Targets(site).mid(windowRequests.size()), windowRequests);
        QCOMPARE(Read(console.path("Finalsearch.htm")), written);
    }

    // Ctrl+C once ends the walk after the block in hand and writes what was collected; twice it
    // stops the search at once: no results page, exit status 130.
    void ctrlCOnceForTheIncompleteResultsTwiceToStop() {
        for (const int interrupts : {1, 2}) {
            test::SampleSiteProcess site({"latency=3000@category267/page3.html"});
            QVERIFY(site.started());
            test::ConsoleProgram console;
            console.start({"--category", "267"});
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

  private:
    QString record() const { return tools_.filePath("opened.txt"); }
    QTemporaryDir tools_;
};

QTEST_MAIN(FourSearchesOnDesktopTest)
#include "FourSearchesOnDesktopTest.moc"
