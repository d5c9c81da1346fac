// The program's window on a Wayland desktop: run by on-weston.sh as the one client of a headless
// weston, wired as the program wires it, searching the sample site. What the compositor shows is
// read back with weston-screenshooter and held against what each window draws of itself.

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <optional>

#include "CompositorScreen.h"
#include "RecordingBrowser.h"
#include "SampleSiteProcess.h"
#include "app/DesktopProgram.h"
#include "gui/TabControl.h"
#include "gui/TitleBar.h"
#include "support/Fakes.h"

using namespace vendra;
using namespace vendra::test;

namespace {

// The names of the buttons of a window's own title bar.
QStringList TitleButtons(const QWidget& window) {
    QStringList names;
    const auto* bar = window.findChild<TitleBar*>("titleBar", Qt::FindDirectChildrenOnly);
    if (bar)
        for (const QPushButton* button : bar->findChildren<QPushButton*>())
            names << button->objectName();
    return names;
}

// The program's window, wired as the program wires it, in a fresh application folder, shown.
struct ShownWindow {
    test::FakeIdentity identity;
    DesktopProgram program{identity};
    MainWindow& window = program.window;

    ShownWindow() { window.show(); }
};

}  // namespace

class WindowOnWaylandTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(DrawsOwnTitleBars(), qPrintable(QGuiApplication::platformName()));
        desktop_ = EmptyDesktop();
        QVERIFY(!desktop_.isNull());
    }

    // The window shows nothing but itself: no frame of the platform's, so no maximise button,
    // and its own title bar over the menu bar and the client area of the window's fixed size.
    void theWindowShowsItsOwnTitleBarWithoutMaximise() {
        ShownWindow shown;
        MainWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.windowHandle()->flags() & Qt::FramelessWindowHint);
        QCOMPARE(TitleButtons(window), QStringList({"minimizeButton", "closeButton"}));

        const QWidget* client = window.findChild<QWidget*>("client");
        QCOMPARE(client->size(), QSize(528, 379));
        const int menu = window.menuBar()->height();
        QCOMPARE(client->mapTo(&window, QPoint(0, 0)), QPoint(0, TitleBar::kHeight + menu));
        QCOMPARE(window.size(), QSize(528, TitleBar::kHeight + menu + 379));

        QImage screen;
        const std::optional<QRect> place = ShownAt(window, &screen);
        QVERIFY(place);
        QCOMPARE(Changed(desktop_, screen), *place);
    }

    // The About box opens over the window, with a title bar of its own that closes it.
    void theAboutBoxOpensOverTheWindow() {
        ShownWindow shown;
        MainWindow& window = shown.window;
        QVERIFY(ShownAt(window));

        window.findChild<QAction*>("aboutItem")->trigger();
        QPointer<QWidget> box;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "aboutBox" && top->isVisible()) box = top;
        QVERIFY(box);
        QVERIFY(QTest::qWaitForWindowExposed(box));
        QCOMPARE(TitleButtons(*box), QStringList({"closeButton"}));
        QCOMPARE(box->size(), QSize(384, TitleBar::kHeight + 165));
        const std::optional<QRect> boxShown = ShownAt(*box);
        QVERIFY(boxShown);
        QCOMPARE(box->windowHandle()->transientParent(), window.windowHandle());

        QTest::mouseClick(box->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
        QTRY_VERIFY(!box);
    }

    // A search of the sample site finishes: the results page opens, and the message box that
    // tells of the page the site failed opens over the window.
    void aSearchFinishesAndItsMessageOpensOverTheWindow() {
        test::SampleSiteProcess site({"reset@category267/page3.html"});
        browser_.clear();
        ShownWindow shown;
        MainWindow& window = shown.window;
        QVERIFY(ShownAt(window));

        QString message;
        std::optional<QRect> boxShown;
        bool reading = false;
        QTimer confirm;
        QObject::connect(&confirm, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || reading) return;
            reading = true;
            message = box->text();
            if (TitleButtons(*box) == QStringList({"closeButton"}) &&
                box->windowHandle()->transientParent() == window.windowHandle())
                boxShown = ShownAt(*box);
            box->done(0);
            reading = false;
        });
        confirm.start(10);

        window.findChild<QLineEdit*>("minimumBids")->setText("3");
        window.findChild<TabControl*>("searchTabs")->setCurrentIndex(1);
        // Typed keys would reach Qt's text input of the seat, and a headless weston has none.
        window.findChild<QLineEdit*>("categoryNumber")->setText("267");
        QTest::mouseClick(window.findChild<QWidget*>("categorySearchButton"), Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(!message.isEmpty(), 30000);
        QVERIFY2(message.startsWith("1 page of the search could not be fetched"),
                 qPrintable(message));
        QTRY_VERIFY_WITH_TIMEOUT(browser_.opened().endsWith('\n'), 10000);
        const QString results = QString::fromStdString(shown.identity.path("Finalsearch.htm"));
        QCOMPARE(QString(browser_.opened().trimmed()), QUrl::fromLocalFile(results).toString());
        QVERIFY(boxShown);
    }

    // The title bar stands for the desktop's frame: while a page stalls, its close button is
    // not held until the page ends, and the window closes at once.
    void theCloseButtonEndsASearchWhileAPageStalls() {
        test::SampleSiteProcess site({"stall@category267/page2.html"});
        ShownWindow shown;
        MainWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QElapsedTimer sinceClose;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!site.requested("category267/page2.html")) return;
            poll.stop();
            sinceClose.start();
            auto* bar = window.findChild<TitleBar*>("titleBar");
            QTest::mouseClick(bar->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
        });
        poll.start(20);
        window.findChild<TabControl*>("searchTabs")->setCurrentIndex(1);
        window.findChild<QLineEdit*>("categoryNumber")->setText("267");
        QTest::mouseClick(window.findChild<QWidget*>("categorySearchButton"), Qt::LeftButton);

        QVERIFY(sinceClose.isValid() && sinceClose.elapsed() < 1000);
        QCOMPARE(shown.program.controller.lastSearchEnd(), SearchEnd::Stopped);
        QVERIFY(!window.isVisible());
    }

  private:
    test::RecordingBrowser browser_;
    QImage desktop_;
};

QTEST_MAIN(WindowOnWaylandTest)
#include "WindowOnWaylandTest.moc"
