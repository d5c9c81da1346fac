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

#include "RecordingBrowser.h"
#include "SampleSiteProcess.h"
#include "app/DesktopProgram.h"
#include "gui/TabControl.h"
#include "gui/TitleBar.h"
#include "support/Fakes.h"

using namespace vendra;

namespace {

// The screen as the compositor shows it now; a null image when it cannot be read.
QImage Screen() {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start("weston-screenshooter", {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) return {};
    const QStringList shots = QDir(folder.path()).entryList({"*.png"});
    if (shots.size() != 1) return {};
    return QImage(folder.filePath(shots.front())).convertToFormat(QImage::Format_RGB32);
}

// The share of the pixels of `image` that `screen` shows unchanged at `at`.
double SameShare(const QImage& screen, const QImage& image, QPoint at) {
    qint64 same = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            same += screen.pixel(at.x() + x, at.y() + y) == image.pixel(x, y);
    return double(same) / (qint64(image.width()) * image.height());
}

// Where `screen` shows `image`: the place whose first row is the image's and where all but a few
// pixels (a caret that blinked between the two) are the image's own.
std::optional<QPoint> Find(const QImage& screen, const QImage& image) {
    for (int top = 0; top + image.height() <= screen.height(); ++top)
        for (int left = 0; left + image.width() <= screen.width(); ++left) {
            int x = 0;
            while (x < image.width() && screen.pixel(left + x, top) == image.pixel(x, 0)) ++x;
            if (x == image.width() && SameShare(screen, image, {left, top}) > 0.99)
                return QPoint(left, top);
        }
    return std::nullopt;
}

// The smallest rectangle holding every pixel that differs between the two screens.
QRect Changed(const QImage& before, const QImage& after) {
    QRect changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) changed |= QRect(x, y, 1, 1);
    return changed;
}

// Where the window shows on the screen, once the compositor shows it as the window draws
// itself; the screen it was found on goes to `screen`.
std::optional<QRect> ShownAt(QWidget& window, QImage* screen = nullptr) {
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QTest::qWait(50)) {
        const QImage shown = Screen();
        if (shown.isNull()) continue;
        const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (const std::optional<QPoint> at = Find(shown, drawn)) {
            if (screen) *screen = shown;
            return QRect(*at, drawn.size());
        }
    }
    return std::nullopt;
}

// The desktop before the program shows anything: its background drawn.
QImage EmptyDesktop() {
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QTest::qWait(50)) {
        const QImage shown = Screen();
        if (!shown.isNull() && shown.pixel(shown.width() / 2, shown.height() / 2) != qRgb(0, 0, 0))
            return shown;
    }
    return {};
}

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
