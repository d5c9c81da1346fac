// Where the Main window's controls sit, their fonts and colours, and the window's fixed size.

#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QtTest>

#include "FormHarness.h"

using vendra::test::FormHarness;

namespace {

enum class In { Window, Tab };

struct Placement {
    const char* name;
    In container;
    int x, y, w, h;
    double points;  // 0: the control shows no text
};

// Positions on the tabs count from the tab control's top-left corner, its strip included.
const Placement kPlacements[] = {
    {"Label1", In::Window, 32, 0, 489, 33, 8.25},
    {"Label3", In::Window, 40, 48, 273, 25, 9.75},
    {"txtBids", In::Window, 264, 40, 33, 25, 9.75},
    {"Label11", In::Window, 304, 48, 57, 17, 9.75},
    {"SSTab1", In::Window, 8, 80, 513, 235, 9.75},
    {"Command6", In::Window, 8, 328, 257, 41, 9.75},
    {"Command1", In::Window, 272, 328, 249, 41, 9.75},
    {"Command4(1)", In::Tab, 112, 96, 281, 57, 9.75},
    {"Command2", In::Tab, 144, 64, 225, 25, 9.75},
    {"Label2(1)", In::Tab, 144, 128, 129, 25, 9.75},
    {"Text1", In::Tab, 272, 120, 97, 25, 9.75},
    {"Command3(1)", In::Tab, 144, 176, 225, 25, 9},
    {"Label12", In::Tab, 208, 64, 105, 25, 9.75},
    {"Text2", In::Tab, 152, 88, 217, 25, 9.75},
    {"Command5", In::Tab, 152, 136, 217, 25, 9.75},
    {"Label4", In::Tab, 8, 32, 41, 25, 9.75},
    {"txtTitle", In::Tab, 16, 48, 225, 25, 9.75},
    {"cmbSearch", In::Tab, 272, 48, 217, 24, 9.75},
    {"Check1", In::Tab, 16, 80, 185, 25, 9.75},
    {"cmdSearch", In::Tab, 272, 80, 217, 25, 9.75},
    {"Line1", In::Tab, 8, 112, 497, 1, 0},
    {"Label5", In::Tab, 8, 120, 169, 17, 9.75},
    {"txtExcluded", In::Tab, 16, 144, 225, 25, 9.75},
    {"Label9", In::Tab, 264, 120, 161, 17, 9.75},
    {"cmbCategories", In::Tab, 272, 144, 225, 24, 9.75},
    {"Label6", In::Tab, 8, 176, 137, 17, 9.75},
    {"Label7", In::Tab, 8, 200, 81, 17, 9.75},
    {"txtBeginPrice", In::Tab, 88, 192, 49, 25, 9.75},
    {"Label8", In::Tab, 144, 200, 49, 17, 9.75},
    {"txtEndPrice", In::Tab, 192, 192, 49, 25, 9.75},
};

}  // namespace

class MainFormLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsSitWhereDefined_data();
    void controlsSitWhereDefined();
    void clientAreaHasFixedSizeBelowTheMenu();
    void arialIsDrawnWithArialMetrics();
    void statusLineHoldsTwoLines();
    void colours_data();
    void colours();
    void iconIsPaintedAtTopLeft();
};

void MainFormLayoutTest::controlsSitWhereDefined_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kPlacements)); ++i) QTest::newRow(kPlacements[i].name) << i;
}

void MainFormLayoutTest::controlsSitWhereDefined() {
    QFETCH(int, index);
    const Placement& p = kPlacements[index];
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    QWidget* w = h.find(p.name);
    QVERIFY(w);
    QWidget* container = p.container == In::Tab ? h.find("SSTab1") : h.form.centralWidget();
    QCOMPARE(QRect(w->mapTo(container, QPoint(0, 0)), w->size()), QRect(p.x, p.y, p.w, p.h));
    if (p.points > 0) {
        QCOMPARE(w->font().family(), QString("Arial"));
        QCOMPARE(w->font().pointSizeF(), p.points);
        QVERIFY(w->font().bold());
    }
    // A label's caption fits on its one line; only the status line wraps.
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->text() + " is cut off"));
}

void MainFormLayoutTest::clientAreaHasFixedSizeBelowTheMenu() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    QWidget* client = h.form.centralWidget();
    QCOMPARE(client->size(), QSize(528, 379));
    QCOMPARE(client->y(), h.form.menuBar()->height());
    QCOMPARE(h.form.size(), QSize(528, 379 + h.form.menuBar()->height()));
    QCOMPARE(h.form.minimumSize(), h.form.maximumSize());
    QVERIFY(!(h.form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(h.form.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void MainFormLayoutTest::arialIsDrawnWithArialMetrics() {
    FormHarness h;
    // Liberation Sans has Arial's metrics; any other stand-in would move the texts.
    const QString drawn = QFontInfo(h.find("txtBids")->font()).family();
    QVERIFY2(drawn == "Arial" || drawn == "Liberation Sans", qPrintable(drawn));
}

void MainFormLayoutTest::statusLineHoldsTwoLines() {
    FormHarness h;
    auto* status = h.find<QLabel>("Label1");
    QVERIFY(status->wordWrap());
    QVERIFY(2 * status->fontMetrics().lineSpacing() <= status->height());
    // A text too long for one line wraps within the label instead of being cut at its edge.
    status->setText(
        "Finding # of Auctions in Category....... 12 pages of listings found and "
        "then some more words to fill the line");
    QVERIFY(status->heightForWidth(status->width()) > status->fontMetrics().lineSpacing());
    QVERIFY(status->heightForWidth(status->width()) <= status->height());
}

// A point of the client area and the colour drawn there.
void MainFormLayoutTest::colours_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("colour");
    const QColor grey(128, 128, 128), light(224, 224, 224), dark(64, 64, 64);
    QTest::newRow("window") << QPoint(4, 60) << grey;
    QTest::newRow("status line") << QPoint(518, 30) << QColor(Qt::white);
    QTest::newRow("txtBids") << QPoint(292, 60) << light;
    QTest::newRow("txtTitle") << QPoint(8 + 200, 80 + 60) << light;
    QTest::newRow("cmbCategories") << QPoint(8 + 440, 80 + 150) << light;
    QTest::newRow("keyword tab page") << QPoint(8 + 400, 80 + 210) << grey;
    QTest::newRow("cmdSearch") << QPoint(8 + 280, 80 + 84) << grey;
    QTest::newRow("Command6") << QPoint(14, 334) << dark;
    QTest::newRow("Command1") << QPoint(278, 334) << dark;
}

void MainFormLayoutTest::colours() {
    QFETCH(QPoint, point);
    QFETCH(QColor, colour);
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    const QImage drawn = h.form.centralWidget()->grab().toImage();
    QCOMPARE(drawn.pixelColor(point).name(), colour.name());
}

void MainFormLayoutTest::iconIsPaintedAtTopLeft() {
    FormHarness h;
    h.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.form));
    const QImage drawn = h.form.centralWidget()->grab().toImage();
    const QImage icon = h.form.windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (icon.pixelColor(x, y).alpha() < 255) continue;
            ++opaque;
            QCOMPARE(drawn.pixelColor(x, y).name(), icon.pixelColor(x, y).name());
        }
    }
    QVERIFY(opaque > 32 * 32 / 2);
}

QTEST_MAIN(MainFormLayoutTest)
#include "MainFormLayoutTest.moc"
