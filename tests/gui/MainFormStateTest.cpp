// The Main window as it opens, what it hands back to the logic, and where its clicks and menu
// commands go.

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include "FormHarness.h"
#include "platform/Hosts.h"
#include "platform/qt/TabControl.h"

using vendra::Control;
using vendra::TabControl;
using vendra::test::FormHarness;

class MainFormStateTest : public QObject {
    Q_OBJECT
  private slots:
    void opensWithCaptionTabsAndFocus();
    void controlsStartAsDefined_data();
    void controlsStartAsDefined();
    void listsStartFilledAndSelected();
    void categoryNumberFollowsTheSelection_data();
    void categoryNumberFollowsTheSelection();
    void controlsHandBackWhatTheUserEntered();
    void statusLineShowsTextAsItIs();
    void searchButtonsStartTheirSearch_data();
    void searchButtonsStartTheirSearch();
    void stopIncompleteAndCategoriesButtonsReachTheLogic();
    void menuHasItsItemsInOrder();
    void menuCommandsOpenTheirTargets_data();
    void menuCommandsOpenTheirTargets();
    void everyInputHasAnAccessibleName_data();
    void everyInputHasAnAccessibleName();
    void closingWhenIdleClosesTheWindowAndTheAboutBox();
};

void MainFormStateTest::opensWithCaptionTabsAndFocus() {
    FormHarness h;
    QCOMPARE(h.form.windowTitle(), QString("Vendra -- Your Key to the Online Auction Market"));
    auto* tabs = h.find<TabControl>("SSTab1");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 4);
    const QStringList captions{"Featured", "Category", "Completed", "Keyword"};
    for (int i = 0; i < 4; ++i) QCOMPARE(tabs->tabBar()->tabText(i), captions[i]);
    QCOMPARE(tabs->currentIndex(), 3);
    QVERIFY(!h.form.windowIcon().isNull());
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    QCOMPARE(h.form.focusWidget(), h.find("Command1"));
    QVERIFY(tabs->page(3)->isVisible());
    for (int i = 0; i < 3; ++i) QVERIFY(!tabs->page(i)->isVisible());
}

// name, caption or text, enabled, the tab it sits on (-1: the window itself)
void MainFormStateTest::controlsStartAsDefined_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("tab");
    auto row = [](const char* name, const char* caption, bool enabled, int tab) {
        QTest::newRow(name) << QString(caption) << enabled << tab;
    };
    row("Label1",
        "Enter the minimum amount of bids you want the search to find and then choose a search.",
        true, -1);
    row("Label3", "Search for items that have at least", true, -1);
    row("txtBids", "0", true, -1);
    row("Label11", "bids.", true, -1);
    row("Command6", "See Incomplete Results", false, -1);
    row("Command1", "Stop Search", true, -1);
    row("Command4(1)", "Search Featured Auctions", true, 0);
    row("Command2", "Show Categories", true, 1);
    row("Label2(1)", "Enter Category #", true, 1);
    row("Text1", "", true, 1);
    row("Command3(1)", "Search", true, 1);
    row("Label12", "Enter Keywords", true, 2);
    row("Text2", "", true, 2);
    row("Command5", "Search", true, 2);
    row("Label4", "Title", true, 3);
    row("txtTitle", "", true, 3);
    row("Check1", "Title and Description", true, 3);
    row("cmdSearch", "Search", true, 3);
    row("Label5", "Words to exclude", true, 3);
    row("txtExcluded", "", true, 3);
    row("Label9", "Search in Categories", true, 3);
    row("Label6", "Price Range", true, 3);
    row("Label7", "Between  $", true, 3);
    row("txtBeginPrice", "", true, 3);
    row("Label8", "and  $", true, 3);
    row("txtEndPrice", "", true, 3);
}

void MainFormStateTest::controlsStartAsDefined() {
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(int, tab);
    FormHarness h;
    QWidget* w = h.find(QTest::currentDataTag());
    QVERIFY(w);
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
    if (auto* box = qobject_cast<QLineEdit*>(w)) shown = box->text();
    QCOMPARE(shown, caption);
    QCOMPARE(w->isEnabled(), enabled);
    auto* tabs = h.find<TabControl>("SSTab1");
    if (tab < 0) {
        QVERIFY(!tabs->isAncestorOf(w));
    } else {
        QVERIFY(tabs->page(tab)->isAncestorOf(w));
    }
    if (auto* check = qobject_cast<QCheckBox*>(w)) QVERIFY(!check->isChecked());
}

void MainFormStateTest::listsStartFilledAndSelected() {
    FormHarness h;
    auto* modes = h.find<QComboBox>("cmbSearch");
    QCOMPARE(modes->count(), 3);
    QCOMPARE(modes->itemText(0), QString("All of these Words"));
    QCOMPARE(modes->itemText(1), QString("Any of these words"));
    QCOMPARE(modes->itemText(2), QString("Exact phrase"));
    QCOMPARE(modes->currentText(), QString("All of these Words"));
    auto* categories = h.find<QComboBox>("cmbCategories");
    QCOMPARE(categories->count(), 24);
    QCOMPARE(categories->currentText(), QString("All Categories"));
    QCOMPARE(h.logic.getcatno(), std::string());
}

void MainFormStateTest::categoryNumberFollowsTheSelection_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    const char* rows[][2] = {{"All Categories", ""},
                             {"Antiques & Art", "353"},
                             {"Automotive, Ebay motors", "6000"},
                             {"Books", "267"},
                             {"Business, Office, Industrial", "12576"},
                             {"Clothing and Accessories", "11450"},
                             {"Coins", "11116"},
                             {"Collectibles", "1"},
                             {"Computers, Networking, IT", "160"},
                             {"Consumer Electronics", "293"},
                             {"Dolls & Bears", "237"},
                             {"eBay Premier", "2038"},
                             {"Home & Garden", "11700"},
                             {"Jewelry, Gemstones, Watches", "281"},
                             {"Movies", "11232"},
                             {"Music", "11233"},
                             {"Photo", "625"},
                             {"Pottery & Glass", "870"},
                             {"Real Estate", "10542"},
                             {"Sports", "888"},
                             {"Stamps", "260"},
                             {"Tickets and Travel", "11730"},
                             {"Toys & Hobbies", "220"},
                             {"Everything Else", "99"}};
    int index = 0;
    for (const auto& row : rows) {
        QTest::addRow("%d %s", index, row[0]) << index << QString(row[0]) << QString(row[1]);
        ++index;
    }
    QTest::newRow("nothing selected") << -1 << QString() << QString();
}

void MainFormStateTest::categoryNumberFollowsTheSelection() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, number);
    FormHarness h;
    auto* categories = h.find<QComboBox>("cmbCategories");
    categories->setCurrentIndex(index);
    QCOMPARE(categories->currentText(), name);
    QCOMPARE(h.form.listIndex(Control::cmbCategories), index);
    QCOMPARE(QString::fromStdString(h.logic.getcatno()), number);
}

void MainFormStateTest::controlsHandBackWhatTheUserEntered() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    const struct {
        const char* name;
        Control control;
    } boxes[] = {{"txtBids", Control::txtBids},
                 {"Text1", Control::Text1},
                 {"Text2", Control::Text2},
                 {"txtTitle", Control::txtTitle},
                 {"txtExcluded", Control::txtExcluded},
                 {"txtBeginPrice", Control::txtBeginPrice},
                 {"txtEndPrice", Control::txtEndPrice}};
    for (const auto& box : boxes) {
        auto* edit = h.find<QLineEdit>(box.name);
        edit->clear();
        // Typed text comes back unchanged, blanks and non-ASCII letters included, as UTF-8.
        for (QChar typed : QString::fromUtf8(" Zürich & 12 "))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(typed),
                                Qt::NoModifier);
        QCOMPARE(h.form.text(box.control), std::string(" Zürich & 12 "));
    }
    QCOMPARE(h.form.checkState(Control::Check1), 0);
    h.find<QCheckBox>("Check1")->click();
    QCOMPARE(h.form.checkState(Control::Check1), 1);
    h.find<QComboBox>("cmbSearch")->setCurrentIndex(2);
    QCOMPARE(h.form.listIndex(Control::cmbSearch), 2);
    h.form.setEnabled(Control::Command6, true);
    QVERIFY(h.find("Command6")->isEnabled());
    h.form.setCaption(Control::Command1, "Begin New Search");
    QCOMPARE(h.find<QPushButton>("Command1")->text(), QString("Begin New Search"));
}

void MainFormStateTest::statusLineShowsTextAsItIs() {
    FormHarness h;
    h.form.setCaption(Control::Label1, "<b>12</b> pages of listings found & more");
    auto* status = h.find<QLabel>("Label1");
    QCOMPARE(status->text(), QString("<b>12</b> pages of listings found & more"));
    QCOMPARE(status->textFormat(), Qt::PlainText);
    QVERIFY(status->wordWrap());
}

void MainFormStateTest::searchButtonsStartTheirSearch_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("kind");
    QTest::newRow("cmdSearch") << 3 << 1;
    QTest::newRow("Command3(1)") << 1 << 2;
    QTest::newRow("Command4(1)") << 0 << 3;
    QTest::newRow("Command5") << 2 << 4;
}

void MainFormStateTest::searchButtonsStartTheirSearch() {
    QFETCH(int, tab);
    QFETCH(int, kind);
    FormHarness h;
    h.form.show();
    h.find<TabControl>("SSTab1")->setCurrentIndex(tab);
    QTest::mouseClick(h.find(QTest::currentDataTag()), Qt::LeftButton);
    // The start ran in the logic: its kind is set and the working files were cleared.
    QCOMPARE(int(h.logic.SearchKind), kind);
    QVERIFY(!h.desk.files.removed.empty());
    QCOMPARE(h.desk.files.removed.front(), h.logic.listingFilePath());
}

void MainFormStateTest::stopIncompleteAndCategoriesButtonsReachTheLogic() {
    FormHarness h;
    h.form.show();
    h.form.setEnabled(Control::Command6, true);
    QTest::mouseClick(h.find("Command6"), Qt::LeftButton);
    QVERIFY(h.logic.IncompleteFlag);
    QVERIFY(!h.find("Command6")->isEnabled());

    h.find<TabControl>("SSTab1")->setCurrentIndex(1);
    QTest::mouseClick(h.find("Command2"), Qt::LeftButton);
    QCOMPARE(h.desk.shell.opened,
             std::vector<std::string>{std::string("http://") + vendra::hosts::kListings +
                                      "/aw/listings/list/categories.html"});

    h.form.setCaption(Control::Command1, "Begin New Search");
    QTest::mouseClick(h.find("Command1"), Qt::LeftButton);
    QCOMPARE(h.find<QLabel>("Label1")->text(), QString("Ready for another search"));
    QCOMPARE(h.find<QPushButton>("Command1")->text(), QString("Stop Search"));
    QVERIFY(!h.logic.IncompleteFlag);
}

void MainFormStateTest::menuHasItsItemsInOrder() {
    FormHarness h;
    const QList<QAction*> bar = h.form.menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QString("Help"));
    QVERIFY(bar[0]->menu());
    QCOMPARE(bar[1]->objectName(), QString("mnuOpen"));
    QCOMPARE(bar[1]->text(), QString("Open last Results"));
    QVERIFY(!bar[1]->menu());

    const QList<QAction*> help = bar[0]->menu()->actions();
    const QStringList expected{"Instructions", "-", "Email Author", "Visit Website", "-", "About"};
    QCOMPARE(help.size(), expected.size());
    for (int i = 0; i < help.size(); ++i) {
        if (expected[i] == "-") {
            QVERIFY(help[i]->isSeparator());
        } else {
            QCOMPARE(help[i]->text(), expected[i]);
        }
    }
    for (QAction* action : bar + help) QVERIFY(action->isEnabled());
}

void MainFormStateTest::menuCommandsOpenTheirTargets_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("hlpInstruct") << "{folder}/instructions.htm";
    QTest::newRow("hlpEmail") << QString("mailto:") + vendra::hosts::kAuthorMail;
    QTest::newRow("hlpWebsite") << QString("http://") + vendra::hosts::kAuthorWebsite;
    QTest::newRow("mnuOpen") << "{folder}/Finalsearch.htm";
}

void MainFormStateTest::menuCommandsOpenTheirTargets() {
    QFETCH(QString, target);
    FormHarness h;
    target.replace("{folder}", QString::fromStdString(h.desk.identity.folder()));
    auto* action = h.find<QAction>(QTest::currentDataTag());
    QVERIFY(action);
    action->trigger();
    QCOMPARE(h.desk.shell.opened, std::vector<std::string>{target.toStdString()});
}

void MainFormStateTest::everyInputHasAnAccessibleName_data() {
    QTest::addColumn<QString>("accessible");
    QTest::newRow("txtBids") << "Search for items that have at least";
    QTest::newRow("Text1") << "Enter Category #";
    QTest::newRow("Text2") << "Enter Keywords";
    QTest::newRow("txtTitle") << "Title";
    QTest::newRow("cmbSearch") << "Search mode";
    QTest::newRow("txtExcluded") << "Words to exclude";
    QTest::newRow("cmbCategories") << "Search in Categories";
    QTest::newRow("txtBeginPrice") << "Between $";
    QTest::newRow("txtEndPrice") << "and $";
}

void MainFormStateTest::everyInputHasAnAccessibleName() {
    QFETCH(QString, accessible);
    FormHarness h;
    QWidget* w = h.find(QTest::currentDataTag());
    QVERIFY(w);
    // What a screen reader is told, not only the property.
    QAccessibleInterface* reported = QAccessible::queryAccessibleInterface(w);
    QVERIFY(reported);
    QCOMPARE(reported->text(QAccessible::Name), accessible);
    if (auto* list = qobject_cast<QComboBox*>(w)) {
        QCOMPARE(reported->role(), QAccessible::ComboBox);
        QCOMPARE(reported->text(QAccessible::Value), list->currentText());
        QVERIFY(!list->currentText().isEmpty());
    }
}

void MainFormStateTest::closingWhenIdleClosesTheWindowAndTheAboutBox() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    h.find<QAction>("hlpAbout")->trigger();
    QPointer<QWidget> about;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmAbout") about = w;
    QVERIFY(about && about->isVisible());
    QVERIFY(h.form.close());
    QVERIFY(!h.form.isVisible());
    QTRY_VERIFY(!about);
}

QTEST_MAIN(MainFormStateTest)
#include "MainFormStateTest.moc"
