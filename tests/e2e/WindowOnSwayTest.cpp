// The program's window on a Wayland compositor that draws its clients' frames: run by on-sway.sh
// as the one client of a headless sway, wired as the program wires it, searching the sample
// site. The windows keep the compositor's frame, as under X11, and draw no title bar of their
// own.

#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
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

// True when the window shows in the compositor's frame: neither a bar of the program's own nor
// the frame Qt draws where the compositor draws none.
bool InTheCompositorsFrame(const QWidget& window) {
    return !window.findChild<TitleBar*>() &&
           !(window.windowHandle()->flags() & Qt::FramelessWindowHint) &&
           window.windowHandle()->frameMargins().isNull();
}

}  // namespace

class WindowOnSwayTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(OnWayland(), qPrintable(QGuiApplication::platformName()));
        desktop_ = EmptyDesktop();
        QVERIFY(!desktop_.isNull());
    }

    // The menu bar and the client area of the window's fixed size fill the window, and the
    // compositor draws its frame around it, its caption above it.
    void theWindowKeepsTheCompositorsFrame() {
        FakeIdentity identity;
        DesktopProgram program{identity};
        MainWindow& window = program.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(InTheCompositorsFrame(window));
        const QWidget* client = window.findChild<QWidget*>("client");
        QCOMPARE(client->size(), QSize(528, 379));
        const int menu = window.menuBar()->height();
        QCOMPARE(client->mapTo(&window, QPoint(0, 0)), QPoint(0, menu));
        QCOMPARE(window.size(), QSize(528, menu + 379));

        QImage screen;
        const std::optional<QRect> place = ShownAt(window, &screen);
        QVERIFY(place);
        const QRect changed = Changed(desktop_, screen);
        QVERIFY(changed.contains(*place));
        QVERIFY2(changed.top() < place->top(), "no frame above the window");
    }

    // A search of the sample site finishes: the results page opens, and the message box that
    // tells of the page the site failed has the compositor's frame too.
    void aSearchFinishes() {
        SampleSiteProcess site({"reset@category267/page3.html"});
        browser_.clear();
        FakeIdentity identity;
        DesktopProgram program{identity};
        MainWindow& window = program.window;
        window.show();
        QVERIFY(ShownAt(window));

        QString message;
        bool framed = false;
        QTimer confirm;
        QObject::connect(&confirm, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed()) return;
            message = box->text();
            framed = InTheCompositorsFrame(*box);
            box->done(0);
        });
        confirm.start(10);

        window.findChild<QLineEdit*>("minimumBids")->setText("3");
        window.findChild<TabControl*>("searchTabs")->setCurrentIndex(1);
        window.findChild<QLineEdit*>("categoryNumber")->setText("267");
        QTest::mouseClick(window.findChild<QWidget*>("categorySearchButton"), Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(!message.isEmpty(), 30000);
        QVERIFY2(message.startsWith("1 page of the search could not be fetched"),
                 qPrintable(message));
        QVERIFY(framed);
        QTRY_VERIFY_WITH_TIMEOUT(browser_.opened().endsWith('\n'), 10000);
        const QString results = QString::fromStdString(identity.path("Finalsearch.htm"));
        QCOMPARE(QString(browser_.opened().trimmed()), QUrl::fromLocalFile(results).toString());
    }

  private:
    RecordingBrowser browser_;
    QImage desktop_;
};

QTEST_MAIN(WindowOnSwayTest)
#include "WindowOnSwayTest.moc"
