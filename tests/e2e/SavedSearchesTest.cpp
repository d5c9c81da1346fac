// Saved searches with the program against the sample site: watch --once runs each as the
// one-shot command line does, tells what is new and heating up once the site has moved on, the
// history tells each listing's state, a run killed mid-walk leaves a sound history, and a bad
// searches file touches nothing.

#include <signal.h>
#include <sqlite3.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QtTest>

#include "RecordingBrowser.h"
#include "SampleSiteProcess.h"

using vendra::test::SampleSiteProcess;

namespace {

struct Ran {
    int status = -1;
    QByteArray out, err;
};

// A user's home: the searches file under XDG_CONFIG_HOME, the history and the saved searches'
// folders under XDG_DATA_HOME; and a folder of the program's own for one-shot searches.
struct Home {
    QTemporaryDir dir;
    QString config() const { return dir.filePath("config"); }
    QString data() const { return dir.filePath("data/Vendra"); }
    QString program() const { return dir.filePath("program/vendra"); }

    Home() {
        QDir().mkpath(config() + "/vendra");
        QDir().mkpath(dir.filePath("program"));
        QFile::copy(VENDRA_PATH, program());
    }
    void searches(const QByteArray& text) const {
        QFile file(config() + "/vendra/searches.toml");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QProcess* start(const QStringList& arguments) const {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config());
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(dir.path());
        process->start(program(), arguments);
        return process;
    }
    // Runs the program while this one's events go on (a notification server of its own).
    Ran run(const QStringList& arguments) const {
        std::unique_ptr<QProcess> process(start(arguments));
        QDeadlineTimer deadline(60000);
        while (process->state() != QProcess::NotRunning && !deadline.hasExpired()) QTest::qWait(10);
        return {process->exitCode(), process->readAllStandardOutput(),
                process->readAllStandardError()};
    }
};

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The requests of the site's log from line `from` on, without the connections' numbers.
QStringList Requests(const SampleSiteProcess& site, qsizetype from) {
    QStringList requests;
    for (const QString& line : site.logLines().mid(from)) requests << line.section(' ', 1);
    return requests;
}

// link -> bids of a one-shot data file (its titles hold no comma).
QMap<QByteArray, int> BidsByLink(const QByteArray& csv) {
    QMap<QByteArray, int> bids;
    for (const QByteArray& line : csv.split('\n').mid(1))
        if (const QList<QByteArray> cells = line.split(','); cells.size() >= 3)
            bids[cells[2]] = cells[0].toInt();
    return bids;
}

QString Scalar(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toLocal8Bit().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    QString value;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

// A local page as headless Chromium draws it in a window `width` pixels wide.
QImage Screenshot(const QString& page, int width) {
    QTemporaryDir profile;
    QProcess browser;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", profile.path());
    browser.setProcessEnvironment(environment);
    const QString shot = profile.filePath("shot.png");
    browser.start(
        "/usr/bin/chromium",
        {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + profile.filePath("profile"), "--screenshot=" + shot,
         QString("--window-size=%1,900").arg(width), QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(120000) || browser.exitCode() != 0)
        qWarning("chromium: %s", browser.readAllStandardError().constData());
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

// How many pixels are near the colour.
int Near(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) +
                         std::abs(pixel.green() - colour.green()) +
                         std::abs(pixel.blue() - colour.blue()) <
                     40;
        }
    return count;
}

// A notification server, for a private session bus: notes each notification it is asked for.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    QStringList shown;  // "app|replaces|icon|summary|body|actions|timeout"
  public slots:
    QStringList GetCapabilities() { return {"actions", "body", "body-markup"}; }
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int timeout) {
        shown << QStringList{app,
                             QString::number(replaces),
                             icon,
                             summary,
                             body,
                             actions.join(','),
                             QString::number(timeout)}
                     .join('|');
        return replaces ? replaces : static_cast<uint>(shown.size());
    }
};

// A session bus of the test's own: dbus-daemon, and the test's connection to it.
struct PrivateBus {
    QProcess daemon;
    QString address;
    PrivateBus() {
        daemon.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        QDeadlineTimer deadline(20000);
        while (!daemon.canReadLine() && !deadline.hasExpired()) daemon.waitForReadyRead(100);
        address = QString::fromUtf8(daemon.readLine().trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus("test");
        daemon.kill();
        daemon.waitForFinished();
    }
    QDBusConnection bus() const { return QDBusConnection::connectToBus(address, "test"); }
};

const QByteArray kSearches =
    "[books]\ncategory = 267\nmin-bids = 35\n\n[lamps]\nkeywords = \"lamp\"\nmin-bids = 25\n";

}  // namespace

class SavedSearchesTest : public QObject {
    Q_OBJECT

  private slots:
    void watchRunsEachAsTheOneShotThenTellsWhatMoved() {
        Home home;
        home.searches(kSearches);
        QMap<QByteArray, int> booksBefore;
        {
            SampleSiteProcess site;
            // The one-shot searches first: their requests and results pages.
            QByteArray pages[2];
            const QStringList oneShots[2] = {
                {"--category", "267", "--min-bids", "35", "--data", "b.csv"},
                {"--keywords", "lamp", "--min-bids", "25"}};
            for (int i = 0; i < 2; ++i) {
                QCOMPARE(home.run(oneShots[i]).status, 0);
                pages[i] = Read(home.dir.filePath("program/Finalsearch.htm"));
            }
            booksBefore = BidsByLink(Read(home.dir.filePath("b.csv")));
            const QStringList oneShotRequests = Requests(site, 0);

            const qsizetype from = site.logLines().size();
            const Ran watch = home.run({"watch", "--once"});
            QCOMPARE(watch.status, 0);
            QCOMPARE(Requests(site, from), oneShotRequests);
            QCOMPARE(Read(home.data() + "/searches/books/Finalsearch.htm"), pages[0]);
            QCOMPARE(Read(home.data() + "/searches/lamps/Finalsearch.htm"), pages[1]);
            const QList<QByteArray> lines = watch.out.split('\n');
            QCOMPARE(lines.size(), 3);
            QCOMPARE(lines[0], QString("books: %1 listings, %1 new, 0 heating up, %2")
                                   .arg(booksBefore.size())
                                   .arg(home.data() + "/searches/books/Finalsearch.htm")
                                   .toUtf8());
            QVERIFY2(lines[1].startsWith("lamps: ") && lines[1].endsWith("/lamps/Finalsearch.htm"),
                     lines[1]);
            QVERIFY2(watch.err.contains("Finished!!!"), watch.err);  // progress on stderr
        }

        // An hour on: what the one-shot keeps now, against what it kept before.
        SampleSiteProcess site({}, 1);
        QCOMPARE(home.run({"--category", "267", "--min-bids", "35", "--data", "b.csv"}).status, 0);
        const QMap<QByteArray, int> booksAfter = BidsByLink(Read(home.dir.filePath("b.csv")));
        QMap<QByteArray, QByteArray> states;
        for (auto it = booksAfter.begin(); it != booksAfter.end(); ++it)
            states[it.key()] = !booksBefore.contains(it.key())      ? "new"
                               : it.value() > booksBefore[it.key()] ? "heating up"
                                                                    : "steady";
        for (auto it = booksBefore.begin(); it != booksBefore.end(); ++it)
            if (!booksAfter.contains(it.key())) states[it.key()] = "gone";
        const auto count = [&](const QByteArray& state) {
            return static_cast<int>(std::count(states.begin(), states.end(), state));
        };
        // The site moved enough for every state to show.
        QVERIFY(count("new") > 0 && count("heating up") > 0 && count("steady") > 0 &&
                count("gone") > 0);

        const Ran watch = home.run({"watch", "--once", "books"});
        QCOMPARE(watch.status, 0);
        QCOMPARE(watch.out, QString("books: %1 listings, %2 new, %3 heating up, %4\n")
                                .arg(booksAfter.size())
                                .arg(count("new"))
                                .arg(count("heating up"))
                                .arg(home.data() + "/searches/books/Finalsearch.htm")
                                .toUtf8());
        QCOMPARE(home.run({"history", "books", "--data", "h.csv"}).status, 0);
        const QList<QByteArray> rows = Read(home.dir.filePath("h.csv")).split('\n');
        QCOMPARE(rows[0], "link,title,price,ends,bids,bids_before,first_seen,last_seen,state\r");
        QCOMPARE(rows.size(), states.size() + 2);  // the header, and what follows the last line
        for (const QByteArray& row : rows.mid(1, states.size())) {
            const QList<QByteArray> cells = row.chopped(1).split(',');
            QCOMPARE(cells.size(), 9);
            QCOMPARE(cells[8], states.value(cells[0]));
        }
        const Ran table = home.run({"history", "books"});
        QCOMPARE(table.out.count('\n'), states.size() + 1);
        for (const QByteArray& line : table.out.split('\n')) QVERIFY(line.size() <= 80);

        // The history page: one row and one line of bids for each listing, drawn by a browser at
        // a desktop's width and a phone's, with the text, the bids' lines and the minimum's rule.
        vendra::test::RecordingBrowser browser;
        QCOMPARE(home.run({"history", "books", "--html", "h.html", "--open"}).status, 0);
        QTRY_COMPARE_WITH_TIMEOUT(
            browser.opened(), QUrl::fromLocalFile(home.dir.filePath("h.html")).toEncoded() + "\n",
            10000);
        const QByteArray page = Read(home.dir.filePath("h.html"));
        QCOMPARE(page.count("<li class=\"row"), states.size());
        QCOMPARE(page.count("<svg "), states.size());
        QCOMPARE(page.count(">min 35</text>"), states.size());
        QCOMPARE(page.count("<polyline "), count("heating up") + count("steady"));
        for (const int width : {1280, 400}) {
            const QImage shot = Screenshot(home.dir.filePath("h.html"), width);
            QCOMPARE(shot.width(), width);
            const int all = shot.width() * shot.height();
            if (const QString keep = qEnvironmentVariable("VENDRA_KEEP_SHOTS"); !keep.isEmpty())
                shot.save(QString("%1/history-page-%2.png").arg(keep).arg(width));
            const int background = Near(shot, QColor(0xfb, 0xfb, 0xfa));  // and the rows' white
            QVERIFY2(
                background < all * 97 / 100 && background > all / 2,
                qPrintable(QString("%1 of %2 pixels are background").arg(background).arg(all)));
            QVERIFY(Near(shot, QColor(0x1a, 0x5f, 0xb4)) > 200);  // the bids' lines and links
            QVERIFY(Near(shot, QColor(0xa0, 0x5a, 0x00)) > 50);   // the minimum's rules
        }
    }

    // One notification for a run with news, none for a run without; its action opens the
    // results page while the watch runs; no server or no bus: one line, and the run succeeds.
    void notifiesTheNewsOnTheSessionBus() {
        Home home;
        home.searches(kSearches);
        SampleSiteProcess site;
        vendra::test::RecordingBrowser browser;
        PrivateBus bus;
        QVERIFY2(bus.address.startsWith("unix:"), qPrintable(bus.address));
        FakeNotifications server;
        QVERIFY(bus.bus().registerObject("/org/freedesktop/Notifications", &server,
                                         QDBusConnection::ExportAllSlots));
        QVERIFY(bus.bus().registerService("org.freedesktop.Notifications"));

        QCOMPARE(home.run({"watch", "--once", "books"}).status, 0);
        QCOMPARE(home.run({"history", "books", "--data", "h.csv"}).status, 0);
        const QList<QByteArray> rows = Read(home.dir.filePath("h.csv")).split('\n');
        QStringList lines;  // title (bids, price) of the five with most bids
        for (const QByteArray& row : rows.mid(1, 5)) {
            const QList<QByteArray> cells = row.split(',');
            lines << QString("%1 (%2 bids, %3)").arg(cells[1], cells[4], cells[2]);
        }
        lines << QString("and %1 more").arg(rows.size() - 2 - 5);
        QCOMPARE(server.shown, QStringList{QString("Vendra|0|vendra|books: %1 new|%2|default,Open "
                                                   "results,open,Open results|-1")
                                               .arg(rows.size() - 2)
                                               .arg(lines.join('\n'))});
        QCOMPARE(home.run({"watch", "--once", "books"}).status, 0);  // nothing new
        QCOMPARE(server.shown.size(), 1);

        // The watch that goes on: its notification's action opens its results page.
        std::unique_ptr<QProcess> watch(home.start({"watch", "lamps"}));
        QTRY_COMPARE_WITH_TIMEOUT(server.shown.size(), 2, 60000);
        const Ran second = home.run({"watch", "lamps"});
        QCOMPARE(second.status, 1);
        QVERIFY2(second.err.startsWith("vendra: another watch is running on "), second.err);
        bus.bus().send(QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                  "org.freedesktop.Notifications", "ActionInvoked")
                       << 2u << QString("default"));
        QTRY_COMPARE_WITH_TIMEOUT(
            browser.opened(),
            QUrl::fromLocalFile(home.data() + "/searches/lamps/Finalsearch.htm").toEncoded() + "\n",
            20000);
        watch->terminate();
        QVERIFY(watch->waitForFinished(10000));
        QCOMPARE(watch->exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch->exitCode(), 0);

        bus.bus().unregisterService("org.freedesktop.Notifications");
        for (const QByteArray& address :
             {bus.address.toUtf8(), QByteArray("unix:path=/nonexistent")}) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", address);
            QElapsedTimer took;
            took.start();
            const Ran run = home.run(
                {"watch", "--once", "books", "--history", "h" + address.right(5) + ".sqlite3"});
            QCOMPARE(run.status, 0);
            QVERIFY(took.elapsed() < 20000);
            QCOMPARE(run.err.count("vendra: no desktop notification: "), 1);
        }
    }

    void aRunKilledMidWalkLeavesTheHistorySound() {
        Home home;
        home.searches(kSearches);
        {
            SampleSiteProcess site;
            QCOMPARE(home.run({"watch", "--once", "books"}).status, 0);
        }
        const QString history = home.data() + "/history.sqlite3";
        const QByteArray before = home.run({"history", "books"}).out;
        QCOMPARE(Scalar(history, "SELECT count(*) FROM runs"), "1");

        // The walk waits for its third page when the program is killed.
        SampleSiteProcess site({"latency=30000@category267/page3.html"}, 1);
        std::unique_ptr<QProcess> watch(home.start({"watch", "--once", "books"}));
        QDeadlineTimer deadline(20000);
        while (!site.requested("category267/page3.html") && !deadline.hasExpired())
            watch->waitForReadyRead(50);
        QVERIFY(site.requested("category267/page3.html"));
        watch->kill();
        QVERIFY(watch->waitForFinished(5000));

        QCOMPARE(Scalar(history, "PRAGMA integrity_check"), "ok");
        QCOMPARE(Scalar(history, "SELECT count(*) FROM runs"), "1");
        QCOMPARE(home.run({"history", "books"}).out, before);

        // SIGTERM and Ctrl+C in a watch that goes on: the page in flight is left at once, and
        // the unfinished run is not recorded.
        for (const auto& [signal, status] : {std::pair{SIGTERM, 0}, std::pair{SIGINT, 130}}) {
            const qsizetype from = site.logLines().size();
            std::unique_ptr<QProcess> goesOn(home.start({"watch", "books", "--history", "w.db"}));
            const auto walking = [&] {
                return site.logLines().mid(from).join(' ').contains("category267/page3.html");
            };
            for (QDeadlineTimer until(20000); !walking() && !until.hasExpired();)
                goesOn->waitForReadyRead(50);
            QVERIFY(walking());
            ::kill(static_cast<pid_t>(goesOn->processId()), signal);
            QVERIFY(goesOn->waitForFinished(5000));
            QCOMPARE(goesOn->exitCode(), status);
            QVERIFY(!goesOn->readAllStandardError().contains("Ctrl+C again"));
            QCOMPARE(Scalar(home.dir.filePath("w.db"), "SELECT count(*) FROM runs"), "0");
        }
    }

    void aBadSearchesFileTouchesNothing() {
        Home home;
        home.searches("[books]\ncategory = 267\nevery = \"1m\"\n[lamps]\nmin-bids = 3\n");
        SampleSiteProcess site;
        const Ran watch = home.run({"watch", "--once"});
        QCOMPARE(watch.status, 2);
        const QString file = home.config() + "/vendra/searches.toml";
        QCOMPARE(watch.err,
                 ("vendra: " + file + ":3:1: every must be at least 5 minutes, not \"1m\"\n" +
                  "vendra: " + file +
                  ":4:2: lamps has no search: give category, featured = true, "
                  "keywords or completed\n")
                     .toUtf8());
        QCOMPARE(home.run({"watch", "--once", "nope"}).status, 2);
        home.searches(kSearches);
        const Ran unknown = home.run({"watch", "--once", "books", "nope"});
        QCOMPARE(unknown.status, 2);
        QCOMPARE(unknown.err, "vendra: no saved search is named \"nope\"\n");
        QVERIFY(site.logLines().isEmpty());
        QVERIFY(!QFileInfo::exists(home.data()));
    }
};

QTEST_GUILESS_MAIN(SavedSearchesTest)
#include "SavedSearchesTest.moc"
