// The desktop ports on Qt: yield, message box, shell, application folder and locale.

#include <QDesktopServices>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qt/QtAppIdentity.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtShell.h"

namespace {

// Stands in for the desktop's default applications: records what they were asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void SetTime(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

const auto kNeverWritable = [](const QString&) { return false; };

}  // namespace

class QtPortsTest : public QObject {
    Q_OBJECT
  private slots:
    void yieldRunsWaitingEventsAndInput();
    void messageBoxShowsTextWithOkUnderTheTitle();
    void shellOpensAddressesAndPaths_data();
    void shellOpensAddressesAndPaths();
    void identityCarriesTitleAndVersion();
    void writableProgramFolderIsTheApplicationFolder();
    void unwritableProgramFolderFallsBackToPerUserFolder();
    void perUserHelpPageFollowsTheProgramsCopy();
    void writableFolderTest();
    void localeSeparatorsComeFromTheUsersLocale();
};

void QtPortsTest::yieldRunsWaitingEventsAndInput() {
    vendra::QtEventYield yield;
    QLineEdit typed;
    typed.show();
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        qApp, [&] { queuedRan = true; }, Qt::QueuedConnection);
    QCoreApplication::postEvent(&typed,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    QVERIFY(!queuedRan);
    QVERIFY(typed.text().isEmpty());
    yield.yield();
    QVERIFY(queuedRan);
    QCOMPARE(typed.text(), QString("a"));
}

void QtPortsTest::messageBoxShowsTextWithOkUnderTheTitle() {
    QWidget owner;
    owner.show();
    vendra::QtMessageBox messages(owner, "Vendrashare");
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Information;
        qsizetype buttons = 0;
        QString button;
        bool modal = false;
        QWidget* parent = nullptr;
        Qt::TextFormat format = Qt::AutoText;
    } seen;
    bool found = false;
    QDeadlineTimer deadline(10000);
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<QMessageBox*>(w); candidate && w->isVisible())
                box = candidate;
        if (!box) {
            if (deadline.hasExpired()) poll.stop();
            return;
        }
        found = true;
        seen = {box->windowTitle(),
                box->text(),
                box->icon(),
                box->buttons().size(),
                box->buttons().front()->text().remove('&'),
                box->isModal(),
                box->parentWidget(),
                box->textFormat()};
        poll.stop();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(5);
    messages.showMessage("The auction site could not be reached: <html> cut short");
    QVERIFY(found);
    QCOMPARE(seen.title, QString("Vendrashare"));
    QCOMPARE(seen.text, QString("The auction site could not be reached: <html> cut short"));
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.button, QString("OK"));
    QVERIFY(seen.modal);
    QCOMPARE(seen.parent, &owner);
}

void QtPortsTest::shellOpensAddressesAndPaths_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("expected");  // the address, or the local path for files
    QTest::newRow("web site") << "http://www.vendra.example.com"
                              << "http"
                              << "http://www.vendra.example.com";
    QTest::newRow("category index") << "http://listings.ebay.com/aw/listings/list/categories.html"
                                    << "http"
                                    << "http://listings.ebay.com/aw/listings/list/categories.html";
    QTest::newRow("mail") << "mailto:author@vendra.example.com"
                          << "mailto"
                          << "mailto:author@vendra.example.com";
    QTest::newRow("results page") << "/tmp/vendra/Finalsearch.htm"
                                  << "file"
                                  << "/tmp/vendra/Finalsearch.htm";
    // Characters that mean something in an address stay part of the file's name.
    QTest::newRow("path with blanks, # and %") << "/home/a user/100% #1/instructions.htm"
                                               << "file"
                                               << "/home/a user/100% #1/instructions.htm";
    QTest::newRow("path named like a scheme") << "/srv/http:/x.htm"
                                              << "file"
                                              << "/srv/http:/x.htm";
}

void QtPortsTest::shellOpensAddressesAndPaths() {
    QFETCH(QString, target);
    QFETCH(QString, scheme);
    QFETCH(QString, expected);
    UrlRecorder recorder;
    for (const char* s : {"http", "mailto", "file"})
        QDesktopServices::setUrlHandler(s, &recorder, "open");
    vendra::QtShell shell;
    shell.open(target.toStdString());
    for (const char* s : {"http", "mailto", "file"}) QDesktopServices::unsetUrlHandler(s);

    QCOMPARE(recorder.opened.size(), 1);
    const QUrl url = recorder.opened.front();
    QCOMPARE(url.scheme(), scheme);
    QCOMPARE(scheme == "file" ? url.toLocalFile() : url.toString(), expected);
}

void QtPortsTest::identityCarriesTitleAndVersion() {
    vendra::QtAppIdentity identity;
    QCOMPARE(QString::fromStdString(identity.title()), QString("Vendrashare"));
    const vendra::Version version = identity.version();
    QCOMPARE(version.major, 3);
    QCOMPARE(version.minor, 2);
    QCOMPARE(version.revision, 4);
    // By default the program's own folder, which is writable here.
    QCOMPARE(QString::fromStdString(identity.folder()), QCoreApplication::applicationDirPath());
}

void QtPortsTest::writableProgramFolderIsTheApplicationFolder() {
    QTemporaryDir program, user;
    const QString perUser = user.path() + "/vendra";
    vendra::QtAppIdentity identity(program.path() + "/", perUser);
    // Without a trailing separator, so that "/" + a file name forms the path.
    QCOMPARE(QString::fromStdString(identity.folder()), program.path());
    QVERIFY(!QFileInfo::exists(perUser));
}

void QtPortsTest::unwritableProgramFolderFallsBackToPerUserFolder() {
    QTemporaryDir program, user;
    Write(program.path() + "/instructions.htm", "<html>help</html>");
    const QString perUser = user.path() + "/share/vendra";
    vendra::QtAppIdentity identity(program.path(), perUser, kNeverWritable);
    QCOMPARE(QString::fromStdString(identity.folder()), perUser);
    QVERIFY(QFileInfo(perUser).isDir());
    QCOMPARE(ReadAll(perUser + "/instructions.htm"), QByteArray("<html>help</html>"));

    // Without a help page beside the program the folder is still the per-user one.
    QTemporaryDir bare;
    vendra::QtAppIdentity withoutHelp(bare.path(), user.path() + "/other", kNeverWritable);
    QCOMPARE(QString::fromStdString(withoutHelp.folder()), user.path() + "/other");
    QVERIFY(!QFileInfo::exists(user.path() + "/other/instructions.htm"));
}

void QtPortsTest::perUserHelpPageFollowsTheProgramsCopy() {
    QTemporaryDir program, user;
    const QString source = program.path() + "/instructions.htm";
    const QString copy = user.path() + "/instructions.htm";
    const QDateTime installed = QDateTime::currentDateTime().addDays(-30);
    Write(source, "<html>version one</html>");
    SetTime(source, installed);
    vendra::QtAppIdentity identity(program.path(), user.path(), kNeverWritable);
    identity.folder();
    QCOMPARE(ReadAll(copy), QByteArray("<html>version one</html>"));

    // A copy that matches the program's page is left alone, whatever it holds.
    Write(copy, "<html>version ONE</html>");
    SetTime(copy, installed);
    identity.folder();
    QCOMPARE(ReadAll(copy), QByteArray("<html>version ONE</html>"));

    // A new page beside the program replaces the copy, even one with an earlier time.
    Write(source, "<html>version two, longer</html>");
    SetTime(source, installed.addDays(-1));
    identity.folder();
    QCOMPARE(ReadAll(copy), QByteArray("<html>version two, longer</html>"));

    // A deleted copy comes back.
    QVERIFY(QFile::remove(copy));
    identity.folder();
    QCOMPARE(ReadAll(copy), QByteArray("<html>version two, longer</html>"));
}

void QtPortsTest::writableFolderTest() {
    QTemporaryDir dir;
    QVERIFY(vendra::QtAppIdentity::IsWritableFolder(dir.path()));
    QVERIFY(!vendra::QtAppIdentity::IsWritableFolder(dir.path() + "/missing"));
    Write(dir.path() + "/file", "x");
    QVERIFY(!vendra::QtAppIdentity::IsWritableFolder(dir.path() + "/file"));
}

void QtPortsTest::localeSeparatorsComeFromTheUsersLocale() {
    // main() runs this program in a German locale: "." groups digits, "," marks the fraction.
    const vendra::NumberSeparators separators = vendra::QtLocaleInfo().separators();
    QCOMPARE(QString::fromStdString(separators.group), QString("."));
    QCOMPARE(QString::fromStdString(separators.decimal), QString(","));
}

int main(int argc, char** argv) {
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    QtPortsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "QtPortsTest.moc"
