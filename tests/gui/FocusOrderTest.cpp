// The keyboard focus order of the Main window, walked with Tab and Shift+Tab. A control on a tab
// that is not showing cannot be seen, so Tab passes over it to the next one that can.

#include <QtTest>

#include "FormHarness.h"
#include "platform/qt/TabControl.h"

using vendra::Control;
using vendra::TabControl;
using vendra::test::FormHarness;

namespace {

// Every control that takes the focus, in order, with its tab (-1: on the window itself).
const std::pair<const char*, int> kOrder[] = {
    {"Command1", -1},   {"txtBids", -1},      {"SSTab1", -1},     {"Command4(1)", 0},
    {"Command3(1)", 1}, {"Text1", 1},         {"txtTitle", 3},    {"Check1", 3},
    {"txtExcluded", 3}, {"txtBeginPrice", 3}, {"txtEndPrice", 3}, {"cmbCategories", 3},
    {"cmbSearch", 3},   {"cmdSearch", 3},     {"Command2", 1},    {"Command5", 2},
    {"Text2", 2},       {"Command6", -1},
};

// Presses the key on the focused control until the focus is back on Command1.
QStringList Walk(FormHarness& h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QStringList visited;
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(h.form.focusWidget(), key, modifiers);
        QWidget* focused = h.form.focusWidget();
        if (!focused || focused->objectName() == "Command1") break;
        visited << focused->objectName();
    }
    return visited;
}

}  // namespace

class FocusOrderTest : public QObject {
    Q_OBJECT
  private slots:
    void tabWalksTheShowingControlsInOrder_data();
    void tabWalksTheShowingControlsInOrder();
    void arrowKeysOnTheTabControlSwitchTabs();
};

void FocusOrderTest::tabWalksTheShowingControlsInOrder_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("command6Enabled");
    QTest::newRow("Featured") << 0 << true;
    QTest::newRow("Category") << 1 << true;
    QTest::newRow("Completed") << 2 << true;
    QTest::newRow("Keyword") << 3 << true;
    QTest::newRow("Keyword, See Incomplete Results disabled") << 3 << false;
}

void FocusOrderTest::tabWalksTheShowingControlsInOrder() {
    QFETCH(int, tab);
    QFETCH(bool, command6Enabled);
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    QCOMPARE(h.form.focusWidget()->objectName(), QString("Command1"));
    h.find<TabControl>("SSTab1")->setCurrentIndex(tab);
    h.form.setEnabled(Control::Command6, command6Enabled);

    QStringList expected;
    for (const auto& [name, onTab] : kOrder) {
        if (QString(name) == "Command1") continue;
        if (QString(name) == "Command6" && !command6Enabled) continue;
        if (onTab < 0 || onTab == tab) expected << name;
    }
    QCOMPARE(Walk(h, Qt::Key_Tab), expected);

    std::reverse(expected.begin(), expected.end());
    QCOMPARE(Walk(h, Qt::Key_Backtab, Qt::ShiftModifier), expected);
}

void FocusOrderTest::arrowKeysOnTheTabControlSwitchTabs() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    auto* tabs = h.find<TabControl>("SSTab1");
    tabs->setFocus(Qt::TabFocusReason);
    const struct {
        Qt::Key key;
        int tab;
    } steps[] = {{Qt::Key_Right, 3}, {Qt::Key_Left, 2}, {Qt::Key_Left, 1},
                 {Qt::Key_Left, 0},  {Qt::Key_Left, 0}, {Qt::Key_Right, 1}};
    for (const auto& step : steps) {
        QTest::keyClick(tabs, step.key);
        QCOMPARE(tabs->currentIndex(), step.tab);
        QCOMPARE(h.form.focusWidget(), tabs);
        QVERIFY(tabs->page(step.tab)->isVisible());
    }
}

QTEST_MAIN(FocusOrderTest)
#include "FocusOrderTest.moc"
