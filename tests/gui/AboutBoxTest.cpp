// The About box: what its load step shows and its life as one owner-less box.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "WindowHarness.h"
#include "help/AboutLoad.h"

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
    void opensOneOwnerlessBoxWithTitleAndVersion();
    void closesOnOkEnterAndEscapeAndOpensAnew_data();
    void closesOnOkEnterAndEscapeAndOpensAnew();
};

void AboutBoxTest::opensOneOwnerlessBoxWithTitleAndVersion() {
    QCOMPARE(vendra::VersionLine({3, 0, 12}), std::string("Version 3.0.12"));
    WindowHarness h;
    QVERIFY(h.show());
    QPointer<QWidget> box = ChooseAbout(h);
    QVERIFY(box && QTest::qWaitForWindowExposed(box));
    QCOMPARE(box->windowTitle(), QString("About Vendrashare"));
    QCOMPARE(box->findChild<QLabel*>("versionLine")->text(), QString("Version 3.2.4"));
    // No owner and no modality: the Main window stays usable.
    QVERIFY(!box->parentWidget());
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QCOMPARE(box->size(), QSize(384, 165));
    QVERIFY(!(box->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    // Chosen again, the open box comes to the front; no second one opens.
    QCOMPARE(ChooseAbout(h), box.data());
    // Closing the Main window takes the box with it.
    QVERIFY(h.form.close());
    QTRY_VERIFY(!box);
}

void AboutBoxTest::closesOnOkEnterAndEscapeAndOpensAnew_data() {
    QTest::addColumn<int>("key");  // 0: a click on "OK"
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void AboutBoxTest::closesOnOkEnterAndEscapeAndOpensAnew() {
    QFETCH(int, key);
    WindowHarness h;
    QVERIFY(h.show());
    QPointer<QWidget> box = ChooseAbout(h);
    QVERIFY(box && QTest::qWaitForWindowExposed(box));
    if (key == 0) {
        QTest::mouseClick(box->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    } else {
        QTest::keyClick(box, Qt::Key(key));
    }
    // Closed and discarded, so the next "About" builds it afresh and runs its load step again.
    QTRY_VERIFY(!box);
    QWidget* again = ChooseAbout(h);
    QVERIFY(again);
    QCOMPARE(again->windowTitle(), QString("About Vendrashare"));
    again->close();
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
