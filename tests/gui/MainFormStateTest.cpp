// The Main window as it opens, the order the Tab key walks its controls in, its lists and menu,
// and what the form hands to the logic. A control on a tab that is not showing cannot be seen,
// so Tab passes over it to the next one that can.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QtTest>

#include "FormHarness.h"
#include "platform/Hosts.h"

using vendra::Control;
using vendra::test::FormHarness;

namespace {

enum Tab { Featured, Category, Completed, Keyword };

// Every control that takes the focus, in order, with its tab (-1: on the window itself).
const std::pair<const char*, int> kOrder[] = {
    {"Command1", -1},   {"txtBids", -1},      {"SSTab1", -1},     {"Command4(1)", 0},
    {"Command3(1)", 1}, {"Text1", 1},         {"txtTitle", 3},    {"Check1", 3},
    {"txtExcluded", 3}, {"txtBeginPrice", 3}, {"txtEndPrice", 3}, {"cmbCategories", 3},
    {"cmbSearch", 3},   {"cmdSearch", 3},     {"Command2", 1},    {"Command5", 2},
    {"Text2", 2},       {"Command6", -1},
};

}  // namespace

class MainFormStateTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTheKeywordTabWithListsFilled();
    void tabWalksTheShowingControlsInOrder_data();
    void tabWalksTheShowingControlsInOrder();
    void categoryListShowsNamesAndGivesNumbers();
    void formHandsTheControlsToTheLogic();
    void menuHasItsItemsInOrder();
};

void MainFormStateTest::opensOnTheKeywordTabWithListsFilled() {
    FormHarness h;
    QCOMPARE(h.form.windowTitle(), QString("Vendra -- Your Key to the Online Auction Market"));
    QVERIFY(h.show());
    QCOMPARE(h.form.focusWidget(), h.find("Command1"));
    const QStringList tabs{"Featured", "Category", "Completed", "Keyword"};
    QCOMPARE(h.tabs()->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        QCOMPARE(h.tabs()->tabBar()->tabText(i), tabs[i]);
        QCOMPARE(h.tabs()->page(i)->isVisible(), i == Keyword);
    }
    auto* modes = h.find<QComboBox>("cmbSearch");
    QStringList entries;
    for (int i = 0; i < modes->count(); ++i) entries << modes->itemText(i);
    QCOMPARE(entries, QStringList({"All of these Words", "Any of these words", "Exact phrase"}));
    QCOMPARE(modes->currentIndex(), 0);
    QCOMPARE(h.find<QComboBox>("cmbCategories")->currentIndex(), 0);
    QVERIFY(!h.find<QCheckBox>("Check1")->isChecked());
}

void MainFormStateTest::tabWalksTheShowingControlsInOrder_data() {
    QTest::addColumn<int>("tab");
    QTest::newRow("Featured") << int(Featured);
    QTest::newRow("Category") << int(Category);
    QTest::newRow("Completed") << int(Completed);
    QTest::newRow("Keyword") << int(Keyword);
}

void MainFormStateTest::tabWalksTheShowingControlsInOrder() {
    QFETCH(int, tab);
    FormHarness h;
    QVERIFY(h.show());
    // The arrow keys on the tab control switch tabs: from "Keyword" to the left end, then right.
    for (int i = 0; i < 3; ++i) QTest::keyClick(h.tabs(), Qt::Key_Left);
    for (int i = 0; i < tab; ++i) QTest::keyClick(h.tabs(), Qt::Key_Right);
    QCOMPARE(h.tabs()->currentIndex(), tab);
    h.form.setEnabled(Control::Command6, true);
    h.find("Command1")->setFocus();

    QStringList expected;
    for (const auto& [name, onTab] : kOrder)
        if (onTab < 0 || onTab == tab) expected << name;
    QStringList visited;
    QWidget* focused = h.form.focusWidget();
    while (focused && visited.size() <= expected.size()) {
        visited << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
        focused = h.form.focusWidget();
        if (focused == h.find("Command1")) break;
    }
    QCOMPARE(visited, expected);
}

void MainFormStateTest::categoryListShowsNamesAndGivesNumbers() {
    // The list's index, the name it shows there, and the number getcatno gives for it.
    const std::tuple<int, const char*, const char*> rows[] = {
        {0, "All Categories", ""},
        {1, "Antiques & Art", "353"},
        {2, "Automotive, Ebay motors", "6000"},
        {3, "Books", "267"},
        {4, "Business, Office, Industrial", "12576"},
        {5, "Clothing and Accessories", "11450"},
        {6, "Coins", "11116"},
        {7, "Collectibles", "1"},
        {8, "Computers, Networking, IT", "160"},
        {9, "Consumer Electronics", "293"},
        {10, "Dolls & Bears", "237"},
        {11, "eBay Premier", "2038"},
        {12, "Home & Garden", "11700"},
        {13, "Jewelry, Gemstones, Watches", "281"},
        {14, "Movies", "11232"},
        {15, "Music", "11233"},
        {16, "Photo", "625"},
        {17, "Pottery & Glass", "870"},
        {18, "Real Estate", "10542"},
        {19, "Sports", "888"},
        {20, "Stamps", "260"},
        {21, "Tickets and Travel", "11730"},
        {22, "Toys & Hobbies", "220"},
        {23, "Everything Else", "99"},
        {-1, "", ""}};  // nothing selected
    FormHarness h;
    auto* categories = h.find<QComboBox>("cmbCategories");
    QCOMPARE(categories->count(), 24);
    for (const auto& [index, name, number] : rows) {
        QCOMPARE(categories->itemText(index), QString(name));
        categories->setCurrentIndex(index);
        QCOMPARE(h.logic.getcatno(), std::string(number));
    }
}

void MainFormStateTest::formHandsTheControlsToTheLogic() {
    FormHarness h;
    // Text comes back from the box it was typed into (the search tests type into the others).
    const std::pair<const char*, Control> boxes[] = {{"txtExcluded", Control::txtExcluded},
                                                     {"txtBeginPrice", Control::txtBeginPrice},
                                                     {"txtEndPrice", Control::txtEndPrice}};
    for (const auto& [name, control] : boxes) {
        h.find<QLineEdit>(name)->setText(name);
        QCOMPARE(h.form.text(control), std::string(name));
    }
    h.find<QCheckBox>("Check1")->click();
    QCOMPARE(h.form.checkState(Control::Check1), 1);
    h.find<QComboBox>("cmbSearch")->setCurrentIndex(2);
    QCOMPARE(h.form.listIndex(Control::cmbSearch), 2);

    h.tabs()->setCurrentIndex(Category);
    QTest::mouseClick(h.find("Command2"), Qt::LeftButton);
    QCOMPARE(h.desk.shell.opened,
             std::vector<std::string>{std::string("http://") + vendra::hosts::kListings +
                                      "/aw/listings/list/categories.html"});
}

void MainFormStateTest::menuHasItsItemsInOrder() {
    FormHarness h;
    const QList<QAction*> bar = h.form.menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QVERIFY(bar[0]->menu() && !bar[1]->menu());
    QStringList shown;
    for (QAction* item : bar + bar[0]->menu()->actions()) {
        shown << (item->isSeparator() ? QString("-") : item->text());
        QVERIFY(item->isEnabled());
    }
    QCOMPARE(shown, QStringList({"Help", "Open last Results", "Instructions", "-", "Email Author",
                                 "Visit Website", "-", "About"}));
}

QTEST_MAIN(MainFormStateTest)
#include "MainFormStateTest.moc"
