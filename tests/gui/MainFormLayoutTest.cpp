// Where the Main window's controls sit, what they show when it opens and what a screen reader
// is told; the window's fixed size, its colours and its icon.

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QtTest>

#include "FormHarness.h"

using vendra::test::FormHarness;

namespace {

enum Tab { Window = -1, Featured, Category, Completed, Keyword };

struct ControlRow {
    const char* name;
    Tab tab;  // the tab it sits on, or Window; a tab's positions count from the tab control
    QRect geometry;
    double points;  // bold Arial; 0 for a control without text
    const char* caption;
    const char* accessible;  // what a screen reader is told, for text boxes and lists
};

const char* const kWelcome =
    "Enter the minimum amount of bids you want the search to find and then choose a search.";

const ControlRow kControls[] = {
    {"Label1", Window, {32, 0, 489, 33}, 8.25, kWelcome, ""},
    {"Label3", Window, {40, 48, 273, 25}, 9.75, "Search for items that have at least", ""},
    {"txtBids", Window, {264, 40, 33, 25}, 9.75, "0", "Search for items that have at least"},
    {"Label11", Window, {304, 48, 57, 17}, 9.75, "bids.", ""},
    {"SSTab1", Window, {8, 80, 513, 235}, 9.75, "", ""},
    {"Command6", Window, {8, 328, 257, 41}, 9.75, "See Incomplete Results", ""},
    {"Command1", Window, {272, 328, 249, 41}, 9.75, "Stop Search", ""},
    {"Command4(1)", Featured, {112, 96, 281, 57}, 9.75, "Search Featured Auctions", ""},
    {"Command2", Category, {144, 64, 225, 25}, 9.75, "Show Categories", ""},
    {"Label2(1)", Category, {144, 128, 129, 25}, 9.75, "Enter Category #", ""},
    {"Text1", Category, {272, 120, 97, 25}, 9.75, "", "Enter Category #"},
    {"Command3(1)", Category, {144, 176, 225, 25}, 9, "Search", ""},
    {"Label12", Completed, {208, 64, 105, 25}, 9.75, "Enter Keywords", ""},
    {"Text2", Completed, {152, 88, 217, 25}, 9.75, "", "Enter Keywords"},
    {"Command5", Completed, {152, 136, 217, 25}, 9.75, "Search", ""},
    {"Label4", Keyword, {8, 32, 41, 25}, 9.75, "Title", ""},
    {"txtTitle", Keyword, {16, 48, 225, 25}, 9.75, "", "Title"},
    {"cmbSearch", Keyword, {272, 48, 217, 24}, 9.75, "", "Search mode"},
    {"Check1", Keyword, {16, 80, 185, 25}, 9.75, "Title and Description", ""},
    {"cmdSearch", Keyword, {272, 80, 217, 25}, 9.75, "Search", ""},
    {"Line1", Keyword, {8, 112, 497, 1}, 0, "", ""},
    {"Label5", Keyword, {8, 120, 169, 17}, 9.75, "Words to exclude", ""},
    {"txtExcluded", Keyword, {16, 144, 225, 25}, 9.75, "", "Words to exclude"},
    {"Label9", Keyword, {264, 120, 161, 17}, 9.75, "Search in Categories", ""},
    {"cmbCategories", Keyword, {272, 144, 225, 24}, 9.75, "", "Search in Categories"},
    {"Label6", Keyword, {8, 176, 137, 17}, 9.75, "Price Range", ""},
    {"Label7", Keyword, {8, 200, 81, 17}, 9.75, "Between  $", ""},
    {"txtBeginPrice", Keyword, {88, 192, 49, 25}, 9.75, "", "Between $"},
    {"Label8", Keyword, {144, 200, 49, 17}, 9.75, "and  $", ""},
    {"txtEndPrice", Keyword, {192, 192, 49, 25}, 9.75, "", "and $"},
};

}  // namespace

class MainFormLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsStartAsDefined_data();
    void controlsStartAsDefined();
    void clientAreaHasFixedSizeColoursAndIcon();
};

void MainFormLayoutTest::controlsStartAsDefined_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kControls)); ++i) QTest::newRow(kControls[i].name) << i;
}

void MainFormLayoutTest::controlsStartAsDefined() {
    QFETCH(int, row);
    const ControlRow& c = kControls[row];
    FormHarness h;
    QVERIFY(h.show());
    QWidget* w = h.find(c.name);
    QVERIFY(w);
    QWidget* container = c.tab == Window ? h.form.centralWidget() : h.tabs();
    QCOMPARE(QRect(w->mapTo(container, QPoint(0, 0)), w->size()), c.geometry);
    QCOMPARE(w->parentWidget(), c.tab == Window ? h.form.centralWidget() : h.tabs()->page(c.tab));
    QCOMPARE(w->property("text").toString(), QString(c.caption));
    // Only "See Incomplete Results" waits for a search.
    QCOMPARE(w->isEnabled(), QString(c.name) != "Command6");
    if (c.points > 0) {
        QCOMPARE(w->font().family(), QString("Arial"));
        QCOMPARE(w->font().pointSizeF(), c.points);
        QVERIFY(w->font().bold());
    }
    // A label's caption fits on its one line; only the status line wraps.
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 "the caption is cut off");
    if (*c.accessible)
        QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name),
                 QString(c.accessible));
}

void MainFormLayoutTest::clientAreaHasFixedSizeColoursAndIcon() {
    FormHarness h;
    QVERIFY(h.show());
    QCOMPARE(h.form.centralWidget()->size(), QSize(528, 379));
    QCOMPARE(h.form.centralWidget()->y(), h.form.menuBar()->height());
    QCOMPARE(h.form.size(), QSize(528, 379 + h.form.menuBar()->height()));
    QCOMPARE(h.form.minimumSize(), h.form.maximumSize());
    QVERIFY(!(h.form.windowFlags() & Qt::WindowMaximizeButtonHint));
    // The status line has room for two lines, and a text too long for one wraps.
    auto* status = h.find<QLabel>("Label1");
    QVERIFY(status->wordWrap());
    QVERIFY(2 * status->fontMetrics().lineSpacing() <= status->height());

    const QImage drawn = h.form.centralWidget()->grab().toImage();
    const QColor grey(128, 128, 128), light(224, 224, 224), dark(64, 64, 64);
    // A point of the client area (tab pages start at 8, 80) and the colour drawn there.
    const std::pair<QPoint, QColor> points[] = {
        {{4, 60}, grey},               // the window
        {{518, 30}, Qt::white},        // the status line
        {{292, 60}, light},            // txtBids
        {{8 + 440, 80 + 150}, light},  // cmbCategories
        {{8 + 400, 80 + 210}, grey},   // the Keyword tab's page
        {{8 + 280, 80 + 84}, grey},    // cmdSearch
        {{278, 334}, dark},            // Command1
    };
    for (const auto& [point, colour] : points)
        QCOMPARE(drawn.pixelColor(point).name(), colour.name());

    // The window's icon is painted over the grey at the top-left corner of the client area.
    QImage expected(32, 32, QImage::Format_ARGB32);
    expected.fill(grey);
    QPainter(&expected).drawPixmap(0, 0, h.form.windowIcon().pixmap(32, 32));
    QCOMPARE(drawn.copy(0, 0, 32, 32).convertToFormat(QImage::Format_ARGB32), expected);
}

QTEST_MAIN(MainFormLayoutTest)
#include "MainFormLayoutTest.moc"
