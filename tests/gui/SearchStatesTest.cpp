// Every state a search moves the window through, reached by clicks on the real window with
// scripted pages: which buttons are enabled, what they say, what the status line shows and what
// is left on disk; menu commands that run inside the walk's yield and leave the search going; a
// close that stops the search first and closes once it has returned.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "WindowHarness.h"
#include "query/SearchUrls.h"
#include "query/SiteAddresses.h"
#include "support/Pages.h"

using namespace vendra;
using test::Block;
using test::ListingsRow;
using test::WindowHarness;

namespace {

const char* const kSearchButtons[] = {"showCategoriesButton", "categorySearchButton",
                                      "featuredSearchButton", "completedSearchButton",
                                      "keywordSearchButton"};
enum Tab { Featured, Category, Completed, Keyword };

// What the user sees of a search's state, in one line.
const QString kIdleAfterStop =
    "search on, \"Stop Search\", incomplete off: Ready for another search";
const QString kFinished = "search off, \"Begin New Search\", incomplete on: Finished!!!";

class Window {
  public:
    Window() {
        h.form.show();
        h.find<QLineEdit>("minimumBids")->setText("3");
        type("categoryNumber", "7");
    }

    void press(const char* name) { QTest::mouseClick(h.find<QPushButton>(name), Qt::LeftButton); }
    void click(const char* name, Tab tab) {
        h.tabs()->setCurrentIndex(tab);
        press(name);
    }
    void type(const char* box, const QString& text) { QTest::keyClicks(h.find(box), text); }

    // A category search over `pages` pages with one row on each.
    void serveCategory(int pages) {
        h.desk.fetch.serve(CategoryFirstPageUrl("7"),
                           test::PageCount(std::to_string(pages)) + Block(ListingsRow("p1", "4")));
        for (int page = 2; page <= pages; ++page)
            h.desk.fetch.serve(CategoryPageUrl("7", page),
                               Block(ListingsRow("p", std::to_string(page))));
    }

    QString seen() const {
        int enabled = 0;
        for (const char* name : kSearchButtons) enabled += h.find(name)->isEnabled() ? 1 : 0;
        return QString("search %1, \"%2\", incomplete %3: %4")
            .arg(enabled == 5   ? "on"
                 : enabled == 0 ? "off"
                                : "mixed")
            .arg(h.find<QPushButton>("stopButton")->text())
            .arg(h.find("incompleteButton")->isEnabled() ? "on" : "off")
            .arg(h.find<QLabel>("statusLine")->text());
    }

    // What a search left: the pages it asked for, the files in the folder, its message.
    QString left() const {
        const std::vector<std::string>& messages = h.desk.messages.messages;
        return QString("%1 requests, results page %2, listing file %3, message \"%4\"")
            .arg(h.desk.fetch.requests.size())
            .arg(h.desk.read("Finalsearch.htm") ? "yes" : "no")
            .arg(h.desk.read("Listinglist.txt") ? "yes" : "no")
            .arg(QString::fromStdString(messages.empty() ? "" : messages.front()));
    }

    WindowHarness h;
};

}  // namespace

class SearchStatesTest : public QObject {
    Q_OBJECT

  private slots:
    void eachKindRunsFromTheClickToTheResultsPage() {
        const std::tuple<const char*, Tab, std::string> kinds[] = {
            {"categorySearchButton", Category, CategoryFirstPageUrl("7")},
            {"featuredSearchButton", Featured, FeaturedFirstPageUrl()},
            {"keywordSearchButton", Keyword,
             KeywordSearchPages({"lamp", "", 0, false, "", "", ""}).firstPage},
            {"completedSearchButton", Completed, CompletedSearchPages("lamp").firstPage}};
        for (const auto& [button, tab, firstUrl] : kinds) {
            Window w;
            // Stop Search before any search is the idle state after a stop.
            w.press("stopButton");
            QCOMPARE(w.seen(), kIdleAfterStop);
            w.type("titleWords", "lamp");
            w.type("completedWords", "lamp");
            const bool results = tab == Keyword || tab == Completed;
            const auto row = [&](const char* title, const char* bids) {
                return results ? test::ResultsRow(title, bids) : ListingsRow(title, bids);
            };
            w.h.desk.fetch.serve(firstUrl, (results ? test::CountCell("3") : test::PageCount("1")) +
                                               Block(row("two", "2") + "\r\n" + row("five", "5")));
            QString walking;
            w.h.desk.events.at(1, [&] { walking = w.seen(); });
            w.click(button, tab);

            QVERIFY2(walking.startsWith("search off, \"Stop Search\", incomplete on: "),
                     qPrintable(walking));
            QCOMPARE(w.h.desk.fetch.requests.front(), firstUrl);
            QCOMPARE(w.seen(), kFinished);
            const std::string page = w.h.desk.identity.path("Finalsearch.htm");
            QCOMPARE(w.h.desk.shell.opened, std::vector<std::string>{page});
            const std::string written = w.h.desk.read("Finalsearch.htm").value_or("");
            QVERIFY(written.find("five") != std::string::npos &&
                    written.find("two") == std::string::npos);
            QVERIFY(!w.h.desk.read("Listinglist.txt"));
            // Begin New Search: back to the idle state; the results page stays.
            w.press("stopButton");
            QCOMPARE(w.seen(), kIdleAfterStop);
            QVERIFY(w.h.desk.read("Finalsearch.htm"));
        }
    }

    // Category searches that end some other way: by a click at a yield, or by what the site sent.
    void aSearchThatEndsEarly_data() {
        QTest::addColumn<int>("scenario");
        for (int i = 0; i < int(std::size(kScenarios)); ++i) QTest::newRow(kScenarios[i].name) << i;
    }

    void aSearchThatEndsEarly() {
        QFETCH(int, scenario);
        const Scenario& s = kScenarios[scenario];
        Window w;
        s.prepare(w);
        w.click("categorySearchButton", Category);
        QCOMPARE(w.seen(), s.seen);
        QCOMPARE(w.left(), s.left);
    }

    // Menu commands run at the walk's yield, and the search goes on to its second page.
    void menuCommandsDuringSearchOpenTheirTargets() {
        Window w;
        const std::string folder = w.h.desk.identity.folder();
        std::vector<std::string> openedDuringSearch;
        w.h.desk.events.at(1, [&] {
            for (const char* item :
                 {"instructionsItem", "emailItem", "websiteItem", "lastResultsItem"})
                w.h.find<QAction>(item)->trigger();
            openedDuringSearch = w.h.desk.shell.opened;
        });
        w.serveCategory(2);
        w.click("categorySearchButton", Category);
        QCOMPARE(openedDuringSearch,
                 (std::vector<std::string>{
                     folder + "/instructions.htm", std::string("mailto:") + hosts::kAuthorMail,
                     std::string("http://") + hosts::kAuthorWebsite, folder + "/Finalsearch.htm"}));
        QCOMPARE(w.h.desk.fetch.requests.back(), CategoryPageUrl("7", 2));
    }

    void aboutClosedAndChosenAgainDuringSearchStaysOpen() {
        Window w;
        // Opened and closed at the first block; the closed box is only discarded once the search
        // has returned to the event loop.
        w.h.desk.events.at(1, [&] {
            w.h.find<QAction>("aboutItem")->trigger();
            QTest::keyClick(test::ShowingWindows("aboutBox").value(0), Qt::Key_Escape);
        });
        w.h.desk.events.at(2, [&] { w.h.find<QAction>("aboutItem")->trigger(); });
        w.serveCategory(2);
        w.click("categorySearchButton", Category);
        QCOMPARE(test::ShowingWindows("aboutBox").size(), 1);
        QPointer<QWidget> box = test::ShowingWindows("aboutBox").front();
        // Let the first box's discarding happen: the second one must not go with it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box && box->isVisible());
        box->close();
    }

    void closingDuringSearchStopsItThenCloses() {
        Window w;
        bool closedAtOnce = true;
        w.h.desk.events.at(1, [&] { closedAtOnce = w.h.form.close(); });
        w.serveCategory(2);
        w.click("categorySearchButton", Category);
        QVERIFY(!closedAtOnce);
        // The second page was never asked for, no results page was written, and the window is
        // closed now that the search has returned.
        QCOMPARE(w.h.desk.fetch.requests.back(), CategoryFirstPageUrl("7"));
        QVERIFY(!w.h.desk.read("Finalsearch.htm"));
        QVERIFY(!w.h.form.isVisible());
    }

  private:
    struct Scenario {
        const char* name;
        std::function<void(Window&)> prepare;
        QString seen, left;
    };

    static inline const Scenario kScenarios[] = {
        {"stop at page two of five",
         [](Window& w) {
             w.serveCategory(5);
             w.h.desk.events.at(2, [&w] { w.press("stopButton"); });
         },
         // The stopped step writes one more progress text over "Ready for another search".
         "search on, \"Stop Search\", incomplete off: 3 of 5 pages searched.",
         "3 requests, results page no, listing file yes, message \"\""},
        {"see incomplete results at the first block",
         [](Window& w) {
             w.serveCategory(3);
             w.h.desk.events.at(1, [&w] { w.press("incompleteButton"); });
         },
         "search off, \"Begin New Search\", incomplete off: Finished!!!",
         "2 requests, results page yes, listing file no, message \"\""},
        {"a start while the stopped search unwinds runs after it",
         [](Window& w) {
             w.serveCategory(5);
             w.h.desk.fetch.serve(FeaturedFirstPageUrl(), test::PageCount("1") + Block("featured"));
             w.h.desk.events.at(2, [&w] {
                 w.press("stopButton");
                 w.click("featuredSearchButton", Featured);
                 QCOMPARE(w.h.desk.fetch.requests.size(), 3u);  // the start waits
             });
         },
         kFinished, "5 requests, results page yes, listing file no, message \"\""},
        {"first page out of reach", [](Window&) {}, kIdleAfterStop,
         "1 requests, results page no, listing file no, message \"The auction site could not be "
         "reached: no scripted page for http://listings.ebay.com/aw/plistings/list/category7/"
         "index.html\""},
        {"a bad bid cell",
         [](Window& w) {
             w.h.desk.fetch.serve(CategoryFirstPageUrl("7"),
                                  test::PageCount("1") + Block(ListingsRow("x", "lots")));
         },
         "search off, \"Stop Search\", incomplete on: Finding Bid amounts.......",
         "2 requests, results page no, listing file yes, message \"\""},
        // See Incomplete Results during a search that ended with the too-many-listings message
        // must not cut the next search short.
        {"too many listings, then a whole search",
         [](Window& w) {
             w.type("completedWords", "lamp");
             w.h.desk.fetch.onFetch = [&w](const std::string& url) {
                 if (url.find("lamp") == std::string::npos) return;
                 w.h.desk.fetch.serve(url, test::CountCell("many"));
                 w.press("incompleteButton");
             };
             w.click("completedSearchButton", Completed);
             QCOMPARE(w.seen(), kIdleAfterStop);
             w.serveCategory(2);
         },
         kFinished,
         "4 requests, results page yes, listing file no, message \"eBay says your search "
         "returned too many listings. Please narrow it and try again\""},
    };
};

QTEST_MAIN(SearchStatesTest)
#include "SearchStatesTest.moc"
