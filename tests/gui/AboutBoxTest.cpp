// The About box: what its load step shows and its life as one owner-less box.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "WindowHarness.h"

using vendra::test::ShowingWindows;
using vendra::test::WindowHarness;

namespace {

// Chooses Help, "About" and returns the one box that shows, if there is exactly one.
QWidget* ChooseAbout(WindowHarness& h) {
    h.find<QAction>("aboutItem")->trigger();
    const QList<QWidget*> boxes = ShowingWindows("aboutBox");
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOneOwnerlessBoxThatOkEnterAndEscapeClose() {
        WindowHarness h;
        QVERIFY(h.show());
        // OK, Enter, Escape, then the Main window's close; each box is built afresh and loaded.
        for (int close : {0, int(Qt::Key_Return), int(Qt::Key_Escape), -1}) {
            QPointer<QWidget> box = ChooseAbout(h);
            QVERIFY(box && QTest::qWaitForWindowExposed(box));
            QCOMPARE(box->windowTitle(), QString("About Vendrashare"));
            QCOMPARE(box->findChild<QLabel*>("versionLine")->text(), QString("Version 3.2.4"));
            // No owner and no modality: the Main window stays usable.
            QVERIFY(!box->parentWidget());
            QCOMPARE(box->windowModality(), Qt::NonModal);
            // Chosen again, the open box comes to the front; no second one opens.
            QCOMPARE(ChooseAbout(h), box.data());
            if (close == 0)
                QTest::mouseClick(box->findChild<QPushButton*>("okButton"), Qt::LeftButton);
            else if (close > 0)
                QTest::keyClick(box, Qt::Key(close));
            else
                QVERIFY(h.form.close());
            QTRY_VERIFY(!box);
        }
    }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
