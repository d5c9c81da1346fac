// The program from the command line against pages past any page's size, as the first page and as
// a later one: each ends well before the fetch's deadline with little memory, the first with the
// message that the site could not be reached, a later one lost while the walk goes on. GNU time
// runs the program and tells its peak resident memory, as the kernel counts it.

#include <QtTest>

#include "SampleSiteProcess.h"

using vendra::test::SampleSiteProcess;

namespace {

constexpr qint64 kMostKilobytes = 150 * 1024;
constexpr qint64 kMostMilliseconds = 20000;  // a third of the fetch's deadline

// The program copied into a fresh folder, its application folder, and run there with no display.
struct Program {
    void run(const QStringList& options) {
        QFile::copy(VENDRA_PATH, path("vendra"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        // AddressSanitizer holds freed memory back (256 MB of it) to catch late uses, and the
        // kernel counts it as the program's: in the sanitizer build, little is held back.
        QStringList sanitizer = environment.value("ASAN_OPTIONS").split(':', Qt::SkipEmptyParts);
        environment.insert("ASAN_OPTIONS", (sanitizer << "quarantine_size_mb=16").join(':'));
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start("/usr/bin/time",
                      QStringList{"-f", "%M", "-o", path("peak"), path("vendra")} + options);
        process.waitForFinished(60000);
        milliseconds = clock.elapsed();
        kilobytes = Read("peak").trimmed().split('\n').last().toLongLong();  // after any status
        said = QString::fromUtf8(process.readAllStandardError());
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QByteArray Read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QProcess process;
    qint64 milliseconds = 0, kilobytes = 0;
    QString said;
};

}  // namespace

class OversizedPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void pagePastTheBoundEndsInBoundedTimeAndMemory_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("page");
        for (const char* fault : {"endless", "huge", "length=40000000"})
            for (const char* page : {"index.html", "page3.html"})
                QTest::addRow("%s on %s", fault, page) << fault << page;
    }

    void pagePastTheBoundEndsInBoundedTimeAndMemory() {
        QFETCH(QString, fault);
        QFETCH(QString, page);
        SampleSiteProcess site({fault + "@category267/" + page});
        Program run;
        run.run({"--category", "267"});
        qInfo("peak %lld kB in %lld ms", run.kilobytes, run.milliseconds);
        QVERIFY2(run.kilobytes > 0 && run.kilobytes < kMostKilobytes, qPrintable(run.said));
        QVERIFY(run.milliseconds < kMostMilliseconds);
        if (page == "index.html") {
            QCOMPARE(run.process.exitCode(), 1);
            QVERIFY2(run.said.contains("The auction site could not be reached: the page is "
                                       "larger than 32 MB\n"),
                     qPrintable(run.said));
            QVERIFY(!site.requested("page2.html"));
        } else {
            // Pages 1, 2 and 4 are in the results, page 3 is lost.
            QCOMPARE(run.process.exitCode(), 0);
            QCOMPARE(QString(run.process.readAllStandardOutput()).trimmed(),
                     run.path("Finalsearch.htm"));
            QVERIFY(run.said.contains("4 of 4 pages searched.\n"));
            const QByteArray results = run.Read("Finalsearch.htm");
            QVERIFY(results.contains("267 page 2 row 1)") && results.contains("267 page 4 row 1)"));
            QVERIFY(!results.contains("267 page 3 row"));
        }
    }

    // A bad option is refused before anything is fetched or deleted.
    void malformedMinimumTouchesNothing() {
        SampleSiteProcess site;
        Program run;
        QFile last(run.path("Finalsearch.htm"));
        QVERIFY(last.open(QIODevice::WriteOnly) && last.write("last results") && last.flush());
        run.run({"--category", "267", "--min-bids", "+-5"});
        QCOMPARE(run.process.exitCode(), 2);
        QVERIFY(run.said.contains("--min-bids"));
        QCOMPARE(run.Read("Finalsearch.htm"), QByteArray("last results"));
        QVERIFY(site.logLines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(OversizedPagesTest)
#include "OversizedPagesTest.moc"
