// The window during a search: menu commands run inside the walk's yield and leave the search
// going; closing the window stops the search first and closes once it has returned.

#include <QAction>
#include <QtTest>

#include "FormHarness.h"
#include "platform/Hosts.h"

using vendra::test::FormHarness;
using vendra::test::ShowingWindows;

namespace {

const std::string kCategory =
    std::string("http://") + vendra::hosts::kListings + "/aw/plistings/list/category7/";
const std::string kFirstPage = kCategory + "index.html", kSecondPage = kCategory + "page2.html";

// A category search over two pages, one block of listings on each: the walk yields once per page.
void RunCategorySearch(FormHarness& h) {
    const std::string block =
        "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#ffffff><tr><td>"
        "a listing</td></tr></table>";
    h.desk.fetch.serve(kFirstPage, "Page 1 of <b>2</b></font>" + block);
    h.desk.fetch.serve(kSecondPage, block);
    h.tabs()->setCurrentIndex(1);
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
    QVERIFY(h.show());
    std::vector<std::string> openedDuringSearch;
    h.desk.events.at(1, [&] {
        h.find<QAction>(QTest::currentDataTag())->trigger();
        openedDuringSearch = h.desk.shell.opened;
    });
    RunCategorySearch(h);

    QCOMPARE(openedDuringSearch, std::vector<std::string>{target.toStdString()});
    // The search went on to its second page after the command.
    QCOMPARE(h.desk.fetch.requests.back(), kSecondPage);
}

void RunningSearchTest::aboutClosedAndChosenAgainDuringSearchStaysOpen() {
    FormHarness h;
    QVERIFY(h.show());
    // Opened and closed at the first block; the closed box is only discarded once the search
    // has returned to the event loop.
    h.desk.events.at(1, [&] {
        h.find<QAction>("hlpAbout")->trigger();
        QCOMPARE(ShowingWindows("frmAbout").size(), 1);
        QTest::keyClick(ShowingWindows("frmAbout").front(), Qt::Key_Escape);
    });
    h.desk.events.at(2, [&] { h.find<QAction>("hlpAbout")->trigger(); });
    RunCategorySearch(h);

    QCOMPARE(ShowingWindows("frmAbout").size(), 1);
    QPointer<QWidget> box = ShowingWindows("frmAbout").front();
    // Let the first box's discarding happen: the second one must not go with it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box && box->isVisible());
    box->close();
}

void RunningSearchTest::closingDuringSearchStopsItThenCloses() {
    FormHarness h;
    QVERIFY(h.show());
    bool closedAtOnce = true;
    h.desk.events.at(1, [&] { closedAtOnce = h.form.close(); });
    RunCategorySearch(h);

    QVERIFY(!closedAtOnce);
    QVERIFY(h.logic.StopFlag);
    // The second page was never asked for, no results page was written, and the window is
    // closed now that the search has returned.
    QCOMPARE(h.desk.fetch.requests.back(), kFirstPage);
    QVERIFY(!h.desk.read("Finalsearch.htm"));
    QVERIFY(!h.form.isVisible());
}

QTEST_MAIN(RunningSearchTest)
#include "RunningSearchTest.moc"
