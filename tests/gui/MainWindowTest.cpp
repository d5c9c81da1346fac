// The main window as it opens: where each control sits with its font, caption and accessible
// name, the window's size, colours and icon, the order the Tab key walks, its lists and menu,
// and what the window hands to the logic. A control on a tab that is not showing cannot be
// seen, so Tab passes over it to the next one that can.

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTabBar>
#include <QtTest>

#include "WindowHarness.h"
#include "query/Categories.h"
#include "query/SearchUrls.h"

using vendra::Control;
using vendra::KeywordSearchPages;
using vendra::test::WindowHarness;

namespace {

enum Tab { Window = -1, Featured, Category, Completed, Keyword };

struct ControlRow {
    const char* name;
    Tab tab;  // the tab it sits on, or Window; a tab's positions count from the tab control
    QRect geometry;
    double points;  // bold Arial; 0 for a control without text
    const char* caption;
    const char* accessible = "";  // what a screen reader is told, for text boxes and lists
};

const char* const kWelcome =
    "Enter the minimum amount of bids you want the search to find and then choose a search.";

const ControlRow kControls[] = {
    {"statusLine", Window, {32, 0, 489, 33}, 8.25, kWelcome},
    {"minimumBidsLabel", Window, {40, 48, 273, 25}, 9.75, "Search for items that have at least"},
    {"minimumBids", Window, {264, 40, 33, 25}, 9.75, "0", "Search for items that have at least"},
    {"bidsLabel", Window, {304, 48, 57, 17}, 9.75, "bids."},
    {"searchTabs", Window, {8, 80, 513, 235}, 9.75, ""},
    {"incompleteButton", Window, {8, 328, 257, 41}, 9.75, "See Incomplete Results"},
    {"stopButton", Window, {272, 328, 249, 41}, 9.75, "Stop Search"},
    {"featuredSearchButton", Featured, {112, 96, 281, 57}, 9.75, "Search Featured Auctions"},
    {"showCategoriesButton", Category, {144, 64, 225, 25}, 9.75, "Show Categories"},
    {"categoryNumberLabel", Category, {144, 128, 129, 25}, 9.75, "Enter Category #"},
    {"categoryNumber", Category, {272, 120, 97, 25}, 9.75, "", "Enter Category #"},
    {"categorySearchButton", Category, {144, 176, 225, 25}, 9, "Search"},
    {"completedWordsLabel", Completed, {208, 64, 105, 25}, 9.75, "Enter Keywords"},
    {"completedWords", Completed, {152, 88, 217, 25}, 9.75, "", "Enter Keywords"},
    {"completedSearchButton", Completed, {152, 136, 217, 25}, 9.75, "Search"},
    {"titleWordsLabel", Keyword, {8, 32, 41, 25}, 9.75, "Title"},
    {"titleWords", Keyword, {16, 48, 225, 25}, 9.75, "", "Title"},
    {"searchMode", Keyword, {272, 48, 217, 24}, 9.75, "", "Search mode"},
    {"descriptionsBox", Keyword, {16, 80, 185, 25}, 9.75, "Title and Description"},
    {"keywordSearchButton", Keyword, {272, 80, 217, 25}, 9.75, "Search"},
    {"keywordLine", Keyword, {8, 112, 497, 1}, 0, ""},
    {"excludedWordsLabel", Keyword, {8, 120, 169, 17}, 9.75, "Words to exclude"},
    {"excludedWords", Keyword, {16, 144, 225, 25}, 9.75, "", "Words to exclude"},
    {"categoryListLabel", Keyword, {264, 120, 161, 17}, 9.75, "Search in Categories"},
    {"categoryList", Keyword, {272, 144, 225, 24}, 9.75, "", "Search in Categories"},
    {"priceRangeLabel", Keyword, {8, 176, 137, 17}, 9.75, "Price Range"},
    {"priceFromLabel", Keyword, {8, 200, 81, 17}, 9.75, "Between  $"},
    {"priceFrom", Keyword, {88, 192, 49, 25}, 9.75, "", "Between $"},
    {"priceToLabel", Keyword, {144, 200, 49, 17}, 9.75, "and  $"},
    {"priceTo", Keyword, {192, 192, 49, 25}, 9.75, "", "and $"},
};

// The controls that take the focus, in the order Tab walks them; a tab's controls are walked only
// while it shows.
const QStringList kTabOrder =
    QString(
        "stopButton minimumBids searchTabs featuredSearchButton categorySearchButton "
        "categoryNumber "
        "titleWords descriptionsBox excludedWords priceFrom priceTo categoryList searchMode "
        "keywordSearchButton showCategoriesButton completedSearchButton completedWords "
        "incompleteButton")
        .split(' ');

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsStartAsDefined_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kControls)); ++i) QTest::newRow(kControls[i].name) << i;
    }

    void controlsStartAsDefined() {
        QFETCH(int, row);
        const ControlRow& c = kControls[row];
        WindowHarness h;
        QVERIFY(h.show());
        QWidget* w = h.find(c.name);
        QVERIFY(w);
        QWidget* container = c.tab == Window ? h.form.centralWidget() : h.tabs();
        QCOMPARE(QRect(w->mapTo(container, QPoint(0, 0)), w->size()), c.geometry);
        QCOMPARE(w->parentWidget(),
                 c.tab == Window ? h.form.centralWidget() : h.tabs()->page(c.tab));
        QCOMPARE(w->property("text").toString(), QString(c.caption));
        // Only "See Incomplete Results" waits for a search.
        QCOMPARE(w->isEnabled(), QString(c.name) != "incompleteButton");
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

    void clientAreaHasFixedSizeColoursAndIcon() {
        WindowHarness h;
        QVERIFY(h.show());
        QCOMPARE(h.form.centralWidget()->size(), QSize(528, 379));
        QCOMPARE(h.form.centralWidget()->y(), h.form.menuBar()->height());
        QCOMPARE(h.form.size(), QSize(528, 379 + h.form.menuBar()->height()));
        QCOMPARE(h.form.minimumSize(), h.form.maximumSize());
        QVERIFY(!(h.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        // The status line has room for two lines, and a text too long for one wraps.
        auto* status = h.find<QLabel>("statusLine");
        QVERIFY(status->wordWrap());
        QVERIFY(2 * status->fontMetrics().lineSpacing() <= status->height());

        const QImage drawn = h.form.centralWidget()->grab().toImage();
        const QColor grey(128, 128, 128), light(224, 224, 224), dark(64, 64, 64);
        // A point of the client area (tab pages start at 8, 80) and the colour drawn there.
        const std::pair<QPoint, QColor> points[] = {
            {{4, 60}, grey},               // the window
            {{518, 30}, Qt::white},        // the status line
            {{292, 60}, light},            // the minimum bids box
            {{8 + 440, 80 + 150}, light},  // the category list
            {{8 + 400, 80 + 210}, grey},   // the Keyword tab's page
            {{8 + 280, 80 + 84}, grey},    // the keyword search button
            {{278, 334}, dark},            // the stop button
        };
        for (const auto& [point, colour] : points)
            QCOMPARE(drawn.pixelColor(point).name(), colour.name());

        // The window's icon is painted over the grey at the top-left corner of the client area.
        QImage expected(32, 32, QImage::Format_ARGB32);
        expected.fill(grey);
        QPainter(&expected).drawPixmap(0, 0, h.form.windowIcon().pixmap(32, 32));
        QCOMPARE(drawn.copy(0, 0, 32, 32).convertToFormat(QImage::Format_ARGB32), expected);
    }

    // The title, the tabs, the lists with the entry a screen reader hears, and the menu.
    void opensOnTheKeywordTabWithListsAndMenuFilled() {
        WindowHarness h;
        QCOMPARE(h.form.windowTitle(), QString("Vendra -- Your Key to the Online Auction Market"));
        QVERIFY(h.show());
        QCOMPARE(h.form.focusWidget(), h.find("stopButton"));
        const QStringList tabs{"Featured", "Category", "Completed", "Keyword"};
        QCOMPARE(h.tabs()->count(), tabs.size());
        for (int i = 0; i < tabs.size(); ++i) {
            QCOMPARE(h.tabs()->findChild<QTabBar*>()->tabText(i), tabs[i]);
            QCOMPARE(h.tabs()->page(i)->isVisible(), i == Keyword);
        }
        auto* modes = h.find<QComboBox>("searchMode");
        QStringList entries;
        for (int i = 0; i < modes->count(); ++i) entries << modes->itemText(i);
        QCOMPARE(entries,
                 QStringList({"All of these Words", "Any of these words", "Exact phrase"}));
        QCOMPARE(modes->currentIndex(), 0);
        QCOMPARE(h.find<QComboBox>("categoryList")->currentIndex(), 0);
        QVERIFY(!h.find<QCheckBox>("descriptionsBox")->isChecked());
        const std::tuple<const char*, int, QString> lists[] = {{"searchMode", 2, "Exact phrase"},
                                                               {"categoryList", 3, "Books"}};
        for (const auto& [name, index, entry] : lists) {
            h.find<QComboBox>(name)->setCurrentIndex(index);
            QAccessibleInterface* list = QAccessible::queryAccessibleInterface(h.find(name));
            QCOMPARE(list->textInterface()->text(0, list->textInterface()->characterCount()),
                     entry);
        }

        const QList<QAction*> bar = h.form.menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QVERIFY(bar[0]->menu() && !bar[1]->menu());
        QStringList shown;
        for (QAction* item : bar + bar[0]->menu()->actions()) {
            shown << (item->isSeparator() ? QString("-") : item->text());
            QVERIFY(item->isEnabled());
        }
        QCOMPARE(shown, QStringList({"Help", "Open last Results", "Instructions", "-",
                                     "Email Author", "Visit Website", "-", "About"}));
    }

    // Text typed into a list's field, an entry's own or the start of one, is neither completed
    // nor added and selects no entry, also after Enter and once the focus moves on, and the
    // keyword search sends no selection; choosing an entry from the list selects it again.
    void typingIntoAListSelectsNoEntryUntilOneIsChosen_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");  // of choosing an entry afterwards
        QTest::addColumn<int>("chosen");
        const std::tuple<const char*, const char*, int> lists[] = {
            {"searchMode", "Exact phrase", 2}, {"categoryList", "Boo", 23}};
        for (const auto& [list, typed, last] : lists) {
            // The arrow key moves to the first entry; End and Enter in the open list choose the
            // last.
            const std::pair<const char*, int> ways[] = {
                {"arrow key", 0}, {"mouse", 1}, {"list keys", last}};
            for (const auto& [way, chosen] : ways)
                QTest::newRow((QString(list) + ", " + way).toUtf8())
                    << list << typed << way << chosen;
        }
    }

    void typingIntoAListSelectsNoEntryUntilOneIsChosen() {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(QString, way);
        QFETCH(int, chosen);
        WindowHarness h;
        QVERIFY(h.show());
        QVERIFY(QTest::qWaitForWindowActive(&h.form));
        auto* box = h.find<QComboBox>(list);
        const int entries = box->count();
        QTest::keyClicks(h.find("titleWords"), "lamp");
        const auto searched = [&] {
            h.desk.fetch.requests.clear();
            QTest::mouseClick(h.find("keywordSearchButton"), Qt::LeftButton);
            return h.desk.fetch.requests.empty() ? "" : h.desk.fetch.requests.front();
        };
        const auto sent = [&](int index) {
            const bool modes = list == "searchMode";
            return KeywordSearchPages({"lamp", "", modes ? index : 0, false,
                                       vendra::CategoryNumber(modes ? 0 : index), "", ""})
                .firstPage;
        };

        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        h.find("titleWords")->setFocus();
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), typed);
        QCOMPARE(box->count(), entries);
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(read->text(QAccessible::Name),
                 list == "searchMode" ? QString("Search mode") : QString("Search in Categories"));
        QCOMPARE(read->textInterface()->text(0, read->textInterface()->characterCount()), typed);
        // The field, in the list's font, is the list's second part, after the entries.
        QCOMPARE(box->lineEdit()->font(), box->font());
        QCOMPARE(read->child(1)->object(), box->lineEdit());
        QCOMPARE(read->child(1)->text(QAccessible::Name), read->text(QAccessible::Name));
        QCOMPARE(searched(), sent(-1));

        box->setFocus();
        QAbstractItemView* view = box->view();
        if (way == "arrow key") {
            QTest::keyClick(box, Qt::Key_Down);
        } else if (way == "mouse") {
            box->showPopup();
            QTRY_VERIFY(view->isVisible());
            const QRect row = view->visualRect(view->model()->index(chosen, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
        } else {
            QTest::keyClick(box, Qt::Key_F4);
            QTRY_VERIFY(view->isVisible());
            QTest::keyClick(view, Qt::Key_End);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(box->currentIndex(), chosen);
        QCOMPARE(box->currentText(), box->itemText(chosen));
        QCOMPARE(searched(), sent(chosen));
    }

    // Tab walks the controls of the window and of the tab showing; the arrow keys on the tab
    // control switch tabs.
    void tabWalksTheShowingControlsInOrder() {
        WindowHarness h;
        QVERIFY(h.show());
        h.form.setEnabled(Control::IncompleteButton, true);
        for (int i = 0; i < 3; ++i) QTest::keyClick(h.tabs(), Qt::Key_Left);
        for (int tab = Featured; tab <= Keyword; ++tab) {
            if (tab != Featured) QTest::keyClick(h.tabs(), Qt::Key_Right);
            QCOMPARE(h.tabs()->currentIndex(), tab);
            QStringList expected, visited;
            for (const QString& name : kTabOrder)
                for (const ControlRow& c : kControls)
                    if (c.name == name && (c.tab == Window || c.tab == tab)) expected << name;
            h.find("stopButton")->setFocus();
            for (QWidget* focused = h.form.focusWidget();
                 focused && visited.size() <= expected.size(); focused = h.form.focusWidget()) {
                visited << focused->objectName();
                QTest::keyClick(focused, Qt::Key_Tab);
                if (h.form.focusWidget() == h.find("stopButton")) break;
            }
            QCOMPARE(visited, expected);
        }
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
