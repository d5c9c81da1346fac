// The results page of the search scripts/run makes (category 267, at least 2 bids) as a browser
// builds it: the program writes the page from the sample site, headless Chromium loads it and
// gives back its DOM. Every kept line stands as one whole table under the heading's columns, and
// every picture is inside the page, so the page shows whole with no network.

#include <QtTest>

#include "SampleSiteProcess.h"
#include "SitePages.h"

namespace {

// The DOM of a local page as headless Chromium builds it, from a fresh profile.
QString BrowserDom(const QString& page) {
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty()) qFatal("chromium is missing: scripts/install-deps installs it");
    QTemporaryDir profile;
    QProcess browser;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", profile.path());
    browser.setProcessEnvironment(environment);
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                             "--no-first-run", "--disable-background-networking",
                             "--disable-component-update", "--disable-sync",
                             "--user-data-dir=" + profile.filePath("profile"), "--dump-dom",
                             QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(120000) || browser.exitCode() != 0)
        qWarning("chromium: %s", browser.readAllStandardError().constData());
    return QString::fromUtf8(browser.readAllStandardOutput());
}

// The widths of the cells of a table's markup, in order.
QStringList CellWidths(const QString& table) {
    static const QRegularExpression cell("<td [^>]*?\\bwidth=\"([^\"]*)\"");
    QStringList widths;
    for (const auto& match : cell.globalMatch(table)) widths << match.captured(1);
    return widths;
}

}  // namespace

class ResultsInBrowserTest : public QObject {
    Q_OBJECT

  private slots:
    void everyKeptLineIsATableWithItsPictureInside() {
        constexpr int kMinimum = 2;
        int kept = 0;  // the site's listings with at least the minimum
        static const QRegularExpression bidCell(R"(WIDTH="12%">(\d+|-)<br>)");
        for (int page = 1; page <= 4; ++page)
            for (const auto& bids : bidCell.globalMatch(QString::fromStdString(
                     vendra::site::CategoryListingPage("267", static_cast<std::uint64_t>(page)))))
                kept += bids.captured(1).toInt() >= kMinimum;

        vendra::test::SampleSiteProcess site;
        QTemporaryDir folder;
        QVERIFY(QFile::copy(VENDRA_PATH, folder.filePath("vendra")));
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        program.setProcessEnvironment(environment);
        program.start(folder.filePath("vendra"),
                      {"--category", "267", "--min-bids", QString::number(kMinimum)});
        QVERIFY(program.waitForFinished(60000) && program.exitCode() == 0);
        const QString dom = BrowserDom(folder.filePath("Finalsearch.htm"));

        // Tables do not nest on this page; the first is the heading. Each listing's table holds
        // its picture, a small SVG inside the page, each listing's its own.
        static const QRegularExpression table("<table([^>]*)>(.*?)</table>",
                                              QRegularExpression::DotMatchesEverythingOption),
            inlineSource(" src=\"data:image/svg\\+xml;base64,([A-Za-z0-9+/]+=*)\"");
        QStringList headingWidths;
        QSet<QString> pictures;
        int listingTables = 0;
        for (const auto& match : table.globalMatch(dom)) {
            const QString inside = match.captured(2);
            if (headingWidths.isEmpty()) headingWidths = CellWidths(inside);
            if (!inside.contains("ViewItem")) continue;
            ++listingTables;
            const QString picture = inlineSource.match(inside).captured(1);
            const auto svg = QByteArray::fromBase64Encoding(
                picture.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            // One row of the heading's cells; the picture's link and the title's.
            QVERIFY2(match.captured(1).contains(R"(width="100%")") && inside.count("<tr") == 1 &&
                         inside.count("ViewItem") == 2 && CellWidths(inside) == headingWidths &&
                         svg && svg.decoded.startsWith("<svg ") && svg.decoded.endsWith("</svg>") &&
                         picture.size() < 1000,
                     qPrintable(match.captured(0)));
            pictures.insert(picture);
        }
        QCOMPARE(headingWidths, QStringList({"12%", "50%", "12%", "12%", "16%"}));
        QCOMPARE(listingTables, kept);
        QCOMPARE(int(dom.count("ViewItem")), 2 * kept);  // none stands outside its table
        QCOMPARE(int(dom.count("<img ")), kept);         // no picture but those
        QCOMPARE(int(pictures.size()), kept);
    }
};

QTEST_GUILESS_MAIN(ResultsInBrowserTest)
#include "ResultsInBrowserTest.moc"
