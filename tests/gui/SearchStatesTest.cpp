// Every state a search moves the window through, reached by clicks on the real window, with
// scripted pages: which buttons are enabled, what they say and what the status line shows; menu
// commands that run inside the walk's yield and leave the search going; a close that stops the
// search first and closes once it has returned.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "WindowHarness.h"
#include "platform/Hosts.h"
#include "support/Pages.h"

using vendra::test::Block;
using vendra::test::ShowingWindows;
using vendra::test::WindowHarness;

namespace {

const std::string kListings = std::string("http://") + vendra::hosts::kListings;
const std::string kCountCell = "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
const char* const kSearchButtons[] = {"showCategoriesButton", "categorySearchButton",
                                      "featuredSearchButton", "completedSearchButton",
                                      "keywordSearchButton"};
enum Tab { Featured = 0, Category = 1, Completed = 2, Keyword = 3 };

// A listing row with its bid cell in the markup of category and featured pages, or of search
// result pages.
std::string Row(int bids, bool searchResults = false) {
    const std::string cell =
        searchResults ? "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>" +
                            std::to_string(bids) + "</font>"
                      : "</TD><TD ALIGN=CENTER WIDTH=\"12%\">" + std::to_string(bids) + "<br>";
    return "<tr><td>item with " + std::to_string(bids) + " bids" + cell + "</td></tr>";
}

std::string CategoryPage(int page) {
    return kListings + "/aw/plistings/list/category7/" +
           (page == 1 ? std::string("index.html") : "page" + std::to_string(page) + ".html");
}

// What the user sees of a search's state.
struct Seen {
    bool searchButtons;
    QString command1;
    bool command6;
    QString status;
    bool operator==(const Seen&) const = default;
};

char* toString(const Seen& s) {
    return QTest::toString(
        QString("search buttons %1, stop button \"%2\", incomplete button %3, status \"%4\"")
            .arg(s.searchButtons)
            .arg(s.command1)
            .arg(s.command6)
            .arg(s.status));
}

class Window {
  public:
    Window() { h.form.show(); }

    QPushButton* button(const char* name) { return h.find<QPushButton>(name); }

    void click(const char* name, Tab tab) {
        h.tabs()->setCurrentIndex(tab);
        press(name);
    }
    void press(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void type(const char* box, const QString& text) {
        h.find<QWidget>(box)->setFocus();
        QTest::keyClicks(h.find<QWidget>(box), text);
    }

    Seen seen() {
        bool all = true, none = true;
        for (const char* name : kSearchButtons) {
            all = all && button(name)->isEnabled();
            none = none && !button(name)->isEnabled();
        }
        if (!all && !none) qWarning("the search buttons disagree");
        return {all, button("stopButton")->text(), button("incompleteButton")->isEnabled(),
                h.find<QLabel>("statusLine")->text()};
    }

    void serveCategory(int pages, const std::string& rows = Row(4)) {
        h.desk.fetch.serve(CategoryPage(1),
                           "Page 1 of <b>" + std::to_string(pages) + "</b></font>" + Block(rows));
        for (int page = 2; page <= pages; ++page)
            h.desk.fetch.serve(CategoryPage(page), Block(Row(page)));
    }

    WindowHarness h;
};

// A category search over two pages, one block of listings on each: the walk yields once per page.
void RunCategorySearch(WindowHarness& h) {
    const std::string block = Block("<tr><td>a listing</td></tr>");
    h.desk.fetch.serve(CategoryPage(1), "Page 1 of <b>2</b></font>" + block);
    h.desk.fetch.serve(CategoryPage(2), block);
    h.tabs()->setCurrentIndex(1);
    QTest::keyClicks(h.find("categoryNumber"), "7");
    QTest::mouseClick(h.find("categorySearchButton"), Qt::LeftButton);
}

const Seen kIdleAfterStop{true, "Stop Search", false, "Ready for another search"};

}  // namespace

class SearchStatesTest : public QObject {
    Q_OBJECT

  private slots:
    void eachKindRunsFromTheClickToTheResultsPage_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("firstUrl");
        QTest::addColumn<QString>("countPage");
        const QString count = QString::fromStdString(kCountCell) + "3</b>";
        QTest::newRow("category") << "categorySearchButton" << int(Category)
                                  << QString::fromStdString(CategoryPage(1))
                                  << "Page 1 of <b>1</b></font>";
        QTest::newRow("featured") << "featuredSearchButton" << int(Featured)
                                  << QString::fromStdString(
                                         kListings + "/aw/plistings/list/featured/index.html")
                                  << "Page 1 of <b>1</b></font>";
        QTest::newRow("keyword") << "keywordSearchButton" << int(Keyword)
                                 << QString("http://") + vendra::hosts::kKeywordSearch +
                                        "/search/search.dll?MfcISAPICommand=GetResult&ht=1&"
                                        "ebaytag1=ebayreg&query=lamp&query2=lamp&search_option=1&"
                                        "exclude=&category0=&minPrice=&maxPrice=&ebaytag1code=0&"
                                        "st=&SortProperty=MetaEndSort"
                                 << count;
        QTest::newRow("completed") << "completedSearchButton" << int(Completed)
                                   << QString("http://") + vendra::hosts::kCompletedSearch +
                                          "/search/search.dll?ht=1&query=lamp&"
                                          "SortProperty=MetaEndSort"
                                   << count;
    }

    void eachKindRunsFromTheClickToTheResultsPage() {
        QFETCH(QString, button);
        QFETCH(int, tab);
        QFETCH(QString, firstUrl);
        QFETCH(QString, countPage);
        Window w;
        QCOMPARE(w.seen(),
                 (Seen{true, "Stop Search", false,
                       "Enter the minimum amount of bids you want the search to find and then "
                       "choose a search."}));
        w.h.find<QLineEdit>("minimumBids")->clear();
        w.type("minimumBids", "3");
        w.type("categoryNumber", "7");
        w.type("titleWords", "lamp");
        w.type("completedWords", "lamp");
        const bool searchResults = countPage.contains("face=");
        w.h.desk.fetch.serve(firstUrl.toStdString(),
                             countPage.toStdString() +
                                 Block(Row(2, searchResults) + "\r\n" + Row(5, searchResults)));

        std::optional<Seen> walking;
        w.h.desk.events.at(1, [&] { walking = w.seen(); });
        w.click(button.toLatin1().constData(), Tab(tab));

        QVERIFY(walking);
        QCOMPARE(*walking, (Seen{false, "Stop Search", true, walking->status}));
        QCOMPARE(w.h.desk.fetch.requests.front(), firstUrl.toStdString());
        QCOMPARE(w.seen(), (Seen{false, "Begin New Search", true, "Finished!!!"}));
        QCOMPARE(w.h.desk.shell.opened,
                 std::vector<std::string>{w.h.desk.identity.path("Finalsearch.htm").string()});
        const std::string page = w.h.desk.read("Finalsearch.htm").value_or("");
        QVERIFY(page.find("item with 5 bids") != std::string::npos);
        QVERIFY(page.find("item with 2 bids") == std::string::npos);
        QVERIFY(!w.h.desk.read("Listinglist.txt"));

        // Begin New Search: back to the idle state; the results page stays.
        w.press("stopButton");
        QCOMPARE(w.seen(), kIdleAfterStop);
        QVERIFY(w.h.desk.read("Finalsearch.htm"));
    }

    void stopSearchDuringPageTwoOfFive() {
        Window w;
        w.type("categoryNumber", "7");
        w.serveCategory(5);
        w.h.desk.events.at(2, [&] { w.press("stopButton"); });
        w.click("categorySearchButton", Category);

        QCOMPARE(w.h.desk.fetch.requests.size(), std::size_t{3});  // the probe, pages 1 and 2
        // The stopped step writes one more progress text over "Ready for another search".
        QCOMPARE(w.seen(), (Seen{true, "Stop Search", false, "3 of 5 pages searched."}));
        QVERIFY(!w.h.desk.read("Finalsearch.htm"));
        QVERIFY(w.h.desk.read("Listinglist.txt"));
        QVERIFY(w.h.desk.shell.opened.empty());
    }

    void seeIncompleteResultsDuringTheFirstPage() {
        Window w;
        w.type("categoryNumber", "7");
        w.serveCategory(3);
        w.h.desk.fetch.serve(CategoryPage(1), "of <b>3</b></font>" + Block(Row(6)) + Block(Row(9)));
        w.h.desk.events.at(1, [&] { w.press("incompleteButton"); });
        w.click("categorySearchButton", Category);

        QCOMPARE(w.h.desk.fetch.requests.size(), std::size_t{2});
        QCOMPARE(w.seen(), (Seen{false, "Begin New Search", false, "Finished!!!"}));
        const std::string page = w.h.desk.read("Finalsearch.htm").value_or("");
        QVERIFY(page.find("item with 6 bids") != std::string::npos);
        QVERIFY(page.find("item with 9 bids") == std::string::npos);
    }

    void stopSearchBeforeAnySearch() {
        Window w;
        w.press("stopButton");
        QCOMPARE(w.seen(), kIdleAfterStop);
        QVERIFY(w.h.logic.state().stopRequested);
    }

    void aStartDuringTheUnwindingRunsAfterTheStoppedSearch() {
        Window w;
        w.type("categoryNumber", "7");
        w.serveCategory(5);
        const std::string featured = kListings + "/aw/plistings/list/featured/index.html";
        w.h.desk.fetch.serve(featured, "Page 1 of <b>1</b></font>" + Block(Row(8)));
        w.h.desk.events.at(2, [&] {
            w.press("stopButton");
            w.click("featuredSearchButton", Featured);
            QCOMPARE(w.h.desk.fetch.requests.back(), CategoryPage(2));
        });
        w.click("categorySearchButton", Category);

        QCOMPARE(w.h.desk.fetch.requests,
                 (std::vector<std::string>{CategoryPage(1), CategoryPage(1), CategoryPage(2),
                                           featured, featured}));
        QCOMPARE(w.seen(), (Seen{false, "Begin New Search", true, "Finished!!!"}));
    }

    void aFailedFirstPageEndsWithAMessage() {
        Window w;
        w.type("categoryNumber", "7");  // nothing served: the fetch fails
        w.click("categorySearchButton", Category);
        QCOMPARE(w.h.desk.messages.messages.size(), std::size_t{1});
        QVERIFY(
            w.h.desk.messages.messages[0].starts_with("The auction site could not be reached: "));
        QCOMPARE(w.seen(), kIdleAfterStop);
    }

    void tooManyListingsReturnsToTheReadyState() {
        Window w;
        w.type("completedWords", "lamp");
        w.h.desk.fetch.onFetch = [&](const std::string& url) {
            w.h.desk.fetch.serve(url, kCountCell + "many</b>");
        };
        w.click("completedSearchButton", Completed);
        QCOMPARE(w.h.desk.messages.messages,
                 std::vector<std::string>{"eBay says your search returned too many listings. "
                                          "Please narrow it and try again"});
        QCOMPARE(w.seen(), (Seen{true, "Stop Search", false, "Ready for another search"}));
        QVERIFY(w.h.logic.state().stopRequested);
    }

    void aBadBidCellEndsWithoutResults() {
        Window w;
        w.type("categoryNumber", "7");
        w.h.desk.fetch.serve(
            CategoryPage(1),
            "of <b>1</b></font>" + Block("<tr></TD><TD ALIGN=CENTER WIDTH=\"12%\">lots<br></tr>"));
        w.click("categorySearchButton", Category);
        QCOMPARE(w.seen(), (Seen{false, "Stop Search", true, "Finding Bid amounts......."}));
        QVERIFY(w.h.desk.messages.messages.empty());
        QVERIFY(w.h.desk.read("Listinglist.txt"));
        // Stop Search returns the window to the idle state.
        w.press("stopButton");
        QCOMPARE(w.seen(), kIdleAfterStop);
    }

    void menuCommandDuringSearchOpensItsTarget_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("instructionsItem") << "{folder}/instructions.htm";
        QTest::newRow("emailItem") << QString("mailto:") + vendra::hosts::kAuthorMail;
        QTest::newRow("websiteItem") << QString("http://") + vendra::hosts::kAuthorWebsite;
        QTest::newRow("lastResultsItem") << "{folder}/Finalsearch.htm";
    }

    void menuCommandDuringSearchOpensItsTarget() {
        QFETCH(QString, target);
        Window w;
        WindowHarness& h = w.h;
        target.replace("{folder}", QString::fromStdString(h.desk.identity.folder()));
        std::vector<std::string> openedDuringSearch;
        h.desk.events.at(1, [&] {
            h.find<QAction>(QTest::currentDataTag())->trigger();
            openedDuringSearch = h.desk.shell.opened;
        });
        RunCategorySearch(h);

        QCOMPARE(openedDuringSearch, std::vector<std::string>{target.toStdString()});
        // The search went on to its second page after the command.
        QCOMPARE(h.desk.fetch.requests.back(), CategoryPage(2));
    }

    void aboutClosedAndChosenAgainDuringSearchStaysOpen() {
        Window w;
        WindowHarness& h = w.h;
        // Opened and closed at the first block; the closed box is only discarded once the search
        // has returned to the event loop.
        h.desk.events.at(1, [&] {
            h.find<QAction>("aboutItem")->trigger();
            QCOMPARE(ShowingWindows("aboutBox").size(), 1);
            QTest::keyClick(ShowingWindows("aboutBox").front(), Qt::Key_Escape);
        });
        h.desk.events.at(2, [&] { h.find<QAction>("aboutItem")->trigger(); });
        RunCategorySearch(h);

        QCOMPARE(ShowingWindows("aboutBox").size(), 1);
        QPointer<QWidget> box = ShowingWindows("aboutBox").front();
        // Let the first box's discarding happen: the second one must not go with it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box && box->isVisible());
        box->close();
    }

    void closingDuringSearchStopsItThenCloses() {
        Window w;
        WindowHarness& h = w.h;
        bool closedAtOnce = true;
        h.desk.events.at(1, [&] { closedAtOnce = h.form.close(); });
        RunCategorySearch(h);

        QVERIFY(!closedAtOnce);
        QVERIFY(h.logic.state().stopRequested);
        // The second page was never asked for, no results page was written, and the window is
        // closed now that the search has returned.
        QCOMPARE(h.desk.fetch.requests.back(), CategoryPage(1));
        QVERIFY(!h.desk.read("Finalsearch.htm"));
        QVERIFY(!h.form.isVisible());
    }
};

QTEST_MAIN(SearchStatesTest)
#include "SearchStatesTest.moc"
