// The window during a search: menu commands run inside the walk's yield and leave the search
// going; closing the window stops the search first and closes once it has returned.

#include <QAction>
#include <QLabel>
#include <QtTest>

#include "FormHarness.h"
#include "platform/Hosts.h"
#include "platform/qt/TabControl.h"

using vendra::Control;
using vendra::test::FormHarness;

namespace {

const std::string kListings = std::string("http://") + vendra::hosts::kListings;
const std::string kFirstPage = kListings + "/aw/plistings/list/category7/index.html";
const std::string kSecondPage = kListings + "/aw/plistings/list/category7/page2.html";

std::string Block(const std::string& row) {
    return "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#ffffff><tr><td>" +
           row + "</td></tr></table>";
}

// A category of two pages, one block of listings on each.
void ServeTwoPages(FormHarness& h) {
    h.desk.fetch.serve(kFirstPage, "Page 1 of <b>2</b></font>" + Block("first"));
    h.desk.fetch.serve(kSecondPage, Block("second"));
}

void StartCategorySearch(FormHarness& h) {
    h.form.findChild<vendra::TabControl*>("SSTab1")->setCurrentIndex(1);
    QTest::keyClicks(h.find("Text1"), "7");
    QTest::mouseClick(h.find("Command3(1)"), Qt::LeftButton);
}

}  // namespace

class RunningSearchTest : public QObject {
    Q_OBJECT
  private slots:
    void menuCommandDuringSearchOpensItsTarget_data();
    void menuCommandDuringSearchOpensItsTarget();
    void aboutClosedAndChosenAgainDuringSearchStaysOpen();
    void closingDuringSearchStopsItThenCloses();
};

void RunningSearchTest::menuCommandDuringSearchOpensItsTarget_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("hlpInstruct") << "{folder}/instructions.htm";
    QTest::newRow("hlpEmail") << QString("mailto:") + vendra::hosts::kAuthorMail;
    QTest::newRow("hlpWebsite") << QString("http://") + vendra::hosts::kAuthorWebsite;
    QTest::newRow("mnuOpen") << "{folder}/Finalsearch.htm";
}

void RunningSearchTest::menuCommandDuringSearchOpensItsTarget() {
    QFETCH(QString, target);
    FormHarness h;
    target.replace("{folder}", QString::fromStdString(h.desk.identity.folder()));
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    ServeTwoPages(h);

    std::vector<std::string> openedDuringSearch;
    std::size_t requestsSoFar = 0;
    bool running = false;
    h.desk.events.at(1, [&] {
        running = h.logic.searchRunning();
        requestsSoFar = h.desk.fetch.requests.size();
        h.find<QAction>(QTest::currentDataTag())->trigger();
        openedDuringSearch = h.desk.shell.opened;
    });
    StartCategorySearch(h);

    QVERIFY(running);
    QCOMPARE(openedDuringSearch, std::vector<std::string>{target.toStdString()});
    // The search went on to its second page after the command.
    QVERIFY(requestsSoFar < h.desk.fetch.requests.size());
    QCOMPARE(h.desk.fetch.requests.back(), kSecondPage);
    QVERIFY(!h.logic.searchRunning());
}

void RunningSearchTest::aboutClosedAndChosenAgainDuringSearchStaysOpen() {
    FormHarness h;
    h.form.show();
    ServeTwoPages(h);
    auto openBoxes = [] {
        QList<QWidget*> boxes;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmAbout" && w->isVisible()) boxes << w;
        return boxes;
    };
    // Opened and closed at the first block; the closed box is only discarded once the search
    // has returned to the event loop.
    h.desk.events.at(1, [&] {
        h.find<QAction>("hlpAbout")->trigger();
        QCOMPARE(openBoxes().size(), 1);
        QTest::keyClick(openBoxes().front(), Qt::Key_Escape);
        QVERIFY(openBoxes().isEmpty());
    });
    h.desk.events.at(2, [&] { h.find<QAction>("hlpAbout")->trigger(); });
    StartCategorySearch(h);
    QCOMPARE(h.desk.fetch.requests.back(), kSecondPage);

    QCOMPARE(openBoxes().size(), 1);
    QPointer<QWidget> box = openBoxes().front();
    // Let the first box's discarding happen: the second one must not go with it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box);
    QCOMPARE(openBoxes().size(), 1);
    box->close();
}

void RunningSearchTest::closingDuringSearchStopsItThenCloses() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    ServeTwoPages(h);
    bool closedAtOnce = true;
    h.desk.events.at(1, [&] {
        closedAtOnce = h.form.close();
        QVERIFY(h.form.isVisible());
    });
    StartCategorySearch(h);

    QVERIFY(!closedAtOnce);
    QVERIFY(h.logic.StopFlag);
    QCOMPARE(h.desk.fetch.cancelCount, 1);
    // The second page was never asked for, no results page was written, and the window is
    // closed now that the search has returned.
    QCOMPARE(h.desk.fetch.requests.back(), kFirstPage);
    QVERIFY(!h.desk.read("Finalsearch.htm"));
    QVERIFY(!h.form.isVisible());
}

QTEST_MAIN(RunningSearchTest)
#include "RunningSearchTest.moc"
