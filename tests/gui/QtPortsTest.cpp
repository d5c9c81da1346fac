// The desktop ports on Qt: message box, shell, application folder and search lock.

#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "help/AboutTexts.h"
#include "platform/TextFiles.h"
#include "platform/qt/QtAppIdentity.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtShell.h"

using vendra::QtAppIdentity;

class QtPortsTest : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxShowsPlainTextWithOkUnderTheTitle() {
        QWidget owner;
        const QString text = "The auction site could not be reached: <html> cut short";
        bool shown = false;
        // Runs once the box waits for its OK.
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            shown = true;
            box->done(0);
            QCOMPARE(box->parentWidget(), &owner);
            QCOMPARE(box->windowTitle(), QString("Vendrashare"));
            QCOMPARE(box->text(), text);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        });
        vendra::QtMessageBox(owner, "Vendrashare").showMessage(text.toStdString());
        QVERIFY(shown);
    }

    void shellOpensAddressesAsAddressesAndEverythingElseAsPaths() {
        for (const char* address : {"http://www.vendra.example.com",
                                    "http://listings.ebay.com/aw/listings/list/categories.html",
                                    "mailto:author@vendra.example.com"})
            QCOMPARE(vendra::QtShell::UrlFor(address).toString(), QString(address));
        // Characters that mean something in an address stay part of the file's name.
        for (const char* path : {"/home/a user/100% #1/Finalsearch.htm", "/srv/http:/x.htm"}) {
            const QUrl url = vendra::QtShell::UrlFor(path);
            QVERIFY(url.isLocalFile());
            QCOMPARE(url.toLocalFile(), QString(path));
        }
    }

    void identityIsTheProgramsWithItsWritableFolder() {
        QtAppIdentity built;
        QCOMPARE(built.title(), std::string("Vendrashare"));
        QCOMPARE(vendra::VersionLine(built.version()), std::string("Version 3.2.4"));
        // The build folder is writable, so it is the application folder; a missing folder is not.
        // The per-user folder of an installed program is tested on an installed program.
        QCOMPARE(QString::fromStdString(built.prepareFolder()),
                 QCoreApplication::applicationDirPath());
        QVERIFY(
            !QtAppIdentity::IsWritableFolder(QCoreApplication::applicationDirPath() + "/missing"));

        // Installed, with its help page in the data folder, the program keeps its files in the
        // per-user folder even where it could write its own (as root in /usr/bin).
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/vendra"));
        QFile page(prefix.filePath("share/vendra/instructions.htm"));
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<html></html>") > 0);
        page.close();
        const auto anyFolder = [](const QString&) { return true; };
        QtAppIdentity installed(prefix.filePath("bin"), prefix.filePath("user"), anyFolder);
        QCOMPARE(QString::fromStdString(installed.prepareFolder()), prefix.filePath("user"));
        QVERIFY(QFile::exists(prefix.filePath("user/instructions.htm")));
        QVERIFY(!QFile::exists(prefix.filePath("bin/instructions.htm")));
        // With the help page beside it, the program's own folder is the application folder.
        QVERIFY(QFile::copy(page.fileName(), prefix.filePath("bin/instructions.htm")));
        QCOMPARE(QString::fromStdString(installed.prepareFolder()), prefix.filePath("bin"));

        // No folder can be written: the search is told, with the folders tried.
        QTemporaryDir other;
        QtAppIdentity none(other.path(), "/dev/null/Vendra", [](const QString&) { return false; });
        try {
            none.prepareFolder();
            QFAIL("a folder");
        } catch (const vendra::FileError& error) {
            QCOMPARE(QString(error.what()),
                     "No folder can hold the working files: " + other.path() +
                         " and /dev/null/Vendra cannot be written");
        }
    }
};

QTEST_MAIN(QtPortsTest)
#include "QtPortsTest.moc"
