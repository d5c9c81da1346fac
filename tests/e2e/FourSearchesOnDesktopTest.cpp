// All four searches on a real desktop: the real window, the real fetch against the sample auction
// site, and the desktop's own "open" (xdg-open, replaced by a recording one first on PATH), from
// the click on the search button to the results page handed to the browser.

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "RealWindow.h"
#include "SampleSiteProcess.h"
#include "SitePages.h"
#include "platform/qt/QtShell.h"

using namespace vendra;

namespace {

enum Tab { Featured = 0, Category = 1, Completed = 2, Keyword = 3 };

// The bid counts of the rows of a page, in order; rows without bids count 0.
std::vector<int> BidsOf(const std::string& page) {
    static const QRegularExpression cell(
        R"((?:WIDTH="12%">|width="12%"><font size=3>)(\d+|-)(?:<br>|</font>))");
    std::vector<int> bids;
    auto matches = cell.globalMatch(QString::fromStdString(page));
    while (matches.hasNext()) {
        const QString text = matches.next().captured(1);
        bids.push_back(text == "-" ? 0 : text.toInt());
    }
    return bids;
}

// How many of the rows of these pages have at least `minimum` bids.
std::size_t RowsWithAtLeast(int minimum, const std::vector<std::string>& pages) {
    std::size_t rows = 0;
    for (const std::string& page : pages)
        for (int bids : BidsOf(page)) rows += bids >= minimum ? 1 : 0;
    return rows;
}

}  // namespace

class FourSearchesOnDesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(tools_.isValid());
        record_ = tools_.filePath("opened.txt");
        QFile script(tools_.filePath("xdg-open"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record_ + "'\n").toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", (tools_.path() + ":" + qgetenv("PATH")).toUtf8());
    }

    void searchFromTheButtonToTheOpenedResultsPage_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<QStringList>("options");  // the same search from the command line

        QTest::newRow("category") << "categorySearchButton" << int(Category) << "categoryNumber"
                                  << "267" << 3
                                  << QStringList{"--category", "267", "--min-bids", "3"};
        QTest::newRow("featured") << "featuredSearchButton" << int(Featured) << ""
                                  << "" << 10 << QStringList{"--featured", "--min-bids", "10"};
        QTest::newRow("keyword") << "keywordSearchButton" << int(Keyword) << "titleWords"
                                 << "lamp" << 2
                                 << QStringList{"--keywords", "lamp", "--min-bids", "2"};
        QTest::newRow("completed") << "completedSearchButton" << int(Completed) << "completedWords"
                                   << "teddy bear" << 0 << QStringList{"--completed", "teddy bear"};
    }

    void searchFromTheButtonToTheOpenedResultsPage() {
        QFETCH(QString, button);
        QFETCH(int, tab);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, minimum);
        QFETCH(QStringList, options);

        test::SampleSiteProcess site;
        QVERIFY(site.started());
        QFile::remove(record_);

        QtShell shell;
        test::RealWindow window(&shell);
        MainWindow& form = window.form;
        test::FakeIdentity& identity = window.identity;
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        auto* bids = form.findChild<QLineEdit*>("minimumBids");
        bids->selectAll();
        QTest::keyClicks(bids, QString::number(minimum));
        form.findChild<TabControl*>("searchTabs")->setCurrentIndex(tab);
        if (!box.isEmpty()) QTest::keyClicks(form.findChild<QLineEdit*>(box), typed);
        QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);

        // The search runs inside the click; the browser is started on its own.
        const QString page = QString::fromStdString(identity.path("Finalsearch.htm").string());
        // The recording script creates its file before it writes the line: wait for the line.
        const auto recorded = [this] {
            QFile record(record_);
            return record.open(QIODevice::ReadOnly) ? QString::fromUtf8(record.readAll()) : "";
        };
        QTRY_VERIFY_WITH_TIMEOUT(recorded().endsWith('\n'), 10000);
        QCOMPARE(recorded().trimmed(), QUrl::fromLocalFile(page).toString());
        QCOMPARE(form.findChild<QPushButton*>("stopButton")->text(), QString("Begin New Search"));
        QVERIFY(window.messages.messages.empty());

        // The page holds every row of the site with at least the minimum, most bids first.
        QFile results(page);
        QVERIFY(results.open(QIODevice::ReadOnly));
        const std::string written = results.readAll().toStdString();
        const std::vector<int> kept = BidsOf(written);
        QVERIFY(!kept.empty());
        QVERIFY(std::is_sorted(kept.rbegin(), kept.rend()));
        QVERIFY(kept.back() >= minimum);
        QCOMPARE(kept.size(), RowsWithAtLeast(minimum, SitePagesOf(button, typed)));
        QVERIFY(!QFile::exists(QString::fromStdString(identity.path("Listinglist.txt").string())));

        // The same search from the command line, with no display: the same requests and the
        // very same page.
        const QStringList windowRequests = Targets(site.logLines());
        QTemporaryDir folder;
        QVERIFY(QFile::copy(VENDRA_PATH, folder.filePath("vendra")));
        QProcess console;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        console.setProcessEnvironment(environment);
        console.start(folder.filePath("vendra"), options);
        QVERIFY(console.waitForFinished(60000));
        QCOMPARE(console.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(console.readAllStandardOutput()),
                 folder.filePath("Finalsearch.htm") + "\n");
        QVERIFY(QString::fromUtf8(console.readAllStandardError()).endsWith("Finished!!!\n"));
        QCOMPARE(Targets(site.logLines()).mid(windowRequests.size()), windowRequests);
        QFile consolePage(folder.filePath("Finalsearch.htm"));
        QVERIFY(consolePage.open(QIODevice::ReadOnly));
        QCOMPARE(consolePage.readAll().toStdString(), written);
    }

    // Ctrl+C once ends the walk after the block in hand and writes what was collected; twice it
    // stops the search at once: no results page, exit status 130.
    void ctrlCOnceForTheIncompleteResultsTwiceToStop() {
        for (const int interrupts : {1, 2}) {
            test::SampleSiteProcess site({"latency=3000@category267/page3.html"});
            QVERIFY(site.started());
            QTemporaryDir folder;
            QVERIFY(QFile::copy(VENDRA_PATH, folder.filePath("vendra")));
            QProcess console;
            console.start(folder.filePath("vendra"), {"--category", "267"});
            QTRY_VERIFY_WITH_TIMEOUT(Targets(site.logLines()).join(' ').contains("page3"), 20000);
            ::kill(console.processId(), SIGINT);
            QString said;
            QTRY_VERIFY((said += console.readAllStandardError()).contains("Ctrl+C again stops"));
            if (interrupts == 2) ::kill(console.processId(), SIGINT);
            QVERIFY(console.waitForFinished(60000));
            QCOMPARE(console.exitCode(), interrupts == 1 ? 0 : 130);
            QCOMPARE(QFile::exists(folder.filePath("Finalsearch.htm")), interrupts == 1);
            QVERIFY(!Targets(site.logLines()).join(' ').contains("page4"));
        }
    }

  private:
    // The request targets of the site's log lines, without their connection numbers.
    static QStringList Targets(const QStringList& log) {
        QStringList targets;
        for (const QString& line : log) targets << line.section(' ', 1);
        return targets;
    }

    // The pages the search walks, as the site serves them.
    static std::vector<std::string> SitePagesOf(const QString& button, const QString& typed) {
        std::vector<std::string> pages;
        const std::string text = typed.toStdString();
        if (button == "categorySearchButton")
            for (int page = 1; page <= 4; ++page)
                pages.push_back(site::CategoryListingPage(text, page));
        if (button == "featuredSearchButton")
            for (int page = 1; page <= 4; ++page) pages.push_back(site::FeaturedPage(page));
        if (button == "keywordSearchButton" || button == "completedSearchButton") {
            const auto host = button == "keywordSearchButton" ? site::SearchHost::Keyword
                                                              : site::SearchHost::Completed;
            for (int offset = 0; offset < 200; offset += 50)
                pages.push_back(site::SearchResultsPage(host, text, offset));
        }
        return pages;
    }

    QTemporaryDir tools_;
    QString record_;
};

QTEST_MAIN(FourSearchesOnDesktopTest)
#include "FourSearchesOnDesktopTest.moc"
