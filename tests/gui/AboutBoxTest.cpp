// The About box: what its load step shows, its look, and its life as one owner-less box.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "FormHarness.h"
#include "help/AboutLoad.h"
#include "platform/qt/AboutBox.h"

using vendra::test::FormHarness;

namespace {

QList<QWidget*> OpenAboutBoxes() {
    QList<QWidget*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmAbout" && w->isVisible()) boxes << w;
    return boxes;
}

QWidget* ChooseAbout(FormHarness& h) {
    h.find<QAction>("hlpAbout")->trigger();
    const QList<QWidget*> boxes = OpenAboutBoxes();
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

class OtherIdentity : public vendra::AppIdentity {
  public:
    std::string folder() const override { return "/nowhere"; }
    std::string title() const override { return "Bidfinder"; }
    vendra::Version version() const override { return {3, 0, 12}; }
};

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void versionLineWritesPlainNumbers_data();
    void versionLineWritesPlainNumbers();
    void loadStepShowsTitleAndVersion();
    void loadStepReadsTheIdentityItIsGiven();
    void boxLooksAsDefined();
    void secondAboutRaisesTheOpenBox();
    void closesOnOkEnterAndEscapeAndOpensAnew_data();
    void closesOnOkEnterAndEscapeAndOpensAnew();
};

void AboutBoxTest::versionLineWritesPlainNumbers_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("line");
    QTest::newRow("this version") << 3 << 2 << 4 << "Version 3.2.4";
    QTest::newRow("no zero filling") << 3 << 0 << 12 << "Version 3.0.12";
    QTest::newRow("two digits") << 10 << 11 << 9999 << "Version 10.11.9999";
    QTest::newRow("zeros") << 0 << 0 << 0 << "Version 0.0.0";
}

void AboutBoxTest::versionLineWritesPlainNumbers() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, line);
    QCOMPARE(QString::fromStdString(vendra::VersionLine({major, minor, revision})), line);
}

void AboutBoxTest::loadStepShowsTitleAndVersion() {
    FormHarness h;
    h.form.show();
    QWidget* box = ChooseAbout(h);
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QString("About Vendrashare"));
    QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(), QString("Version 3.2.4"));
    QVERIFY(!box->findChild<QLabel*>("lblDescription")->text().isEmpty());
    // No owner and no modality: the Main window stays usable.
    QVERIFY(!box->parentWidget());
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QVERIFY(h.form.isEnabled());
    box->close();
}

void AboutBoxTest::loadStepReadsTheIdentityItIsGiven() {
    OtherIdentity identity;
    vendra::AboutBox box(identity);
    QCOMPARE(box.windowTitle(), QString("About Bidfinder"));
    QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(), QString("Version 3.0.12"));
}

void AboutBoxTest::boxLooksAsDefined() {
    FormHarness h;
    QWidget* box = ChooseAbout(h);
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QCOMPARE(box->size(), QSize(384, 165));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    QVERIFY(!(box->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(box->windowFlags() & Qt::WindowMinimizeButtonHint));

    const struct {
        const char* name;
        QRect geometry;
        bool text;
    } controls[] = {{"picIcon", {32, 112, 36, 36}, false},
                    {"lblVersion", {104, 128, 131, 15}, true},
                    {"lblDescription", {104, 144, 155, 14}, true},
                    {"cmdOK", {280, 136, 84, 23}, true}};
    for (const auto& control : controls) {
        QWidget* w = box->findChild<QWidget*>(control.name);
        QVERIFY2(w, control.name);
        QCOMPARE(w->geometry(), control.geometry);
        if (!control.text) continue;
        QCOMPARE(w->font().family(), QString("Arial"));
        QCOMPARE(w->font().pointSizeF(), 8.25);
        QVERIFY(!w->font().bold());
        if (auto* label = qobject_cast<QLabel*>(w))
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text() + " is cut off"));
    }
    auto* ok = box->findChild<QPushButton*>("cmdOK");
    QCOMPARE(ok->text(), QString("OK"));
    QVERIFY(ok->isDefault());

    // The banner covers the top of the box; below it the box is black, its labels light.
    const QImage drawn = box->grab().toImage();
    const QImage banner(":/images/banner.png");
    QCOMPARE(banner.size(), QSize(384, 139));
    for (QPoint p : {QPoint(0, 0), QPoint(50, 40), QPoint(383, 138), QPoint(300, 60)})
        QCOMPARE(drawn.pixelColor(p).name(), banner.pixelColor(p).name());
    QCOMPARE(drawn.pixelColor(5, 160), QColor(Qt::black));
    auto* version = box->findChild<QLabel*>("lblVersion");
    QVERIFY(version->palette().color(QPalette::WindowText).lightness() > 200);
    box->close();
}

void AboutBoxTest::secondAboutRaisesTheOpenBox() {
    FormHarness h;
    h.form.show();
    QPointer<QWidget> first = ChooseAbout(h);
    QVERIFY(first);
    QWidget* second = ChooseAbout(h);
    QCOMPARE(second, first.data());
    QCOMPARE(OpenAboutBoxes().size(), 1);
    first->close();
}

void AboutBoxTest::closesOnOkEnterAndEscapeAndOpensAnew_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("title bar") << "close";
}

void AboutBoxTest::closesOnOkEnterAndEscapeAndOpensAnew() {
    QFETCH(QString, how);
    FormHarness h;
    h.form.show();
    QPointer<QWidget> box = ChooseAbout(h);
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    if (how == "OK") QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    if (how == "Enter") QTest::keyClick(box, Qt::Key_Return);
    if (how == "Escape") QTest::keyClick(box, Qt::Key_Escape);
    if (how == "close") box->close();
    // Closed and discarded, so the next "About" builds it afresh and runs its load step again.
    QTRY_VERIFY(!box);
    QVERIFY(OpenAboutBoxes().isEmpty());
    QWidget* again = ChooseAbout(h);
    QVERIFY(again);
    QCOMPARE(again->windowTitle(), QString("About Vendrashare"));
    again->close();
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
