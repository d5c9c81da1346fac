// The command line's data files and its progress line, with the program against the sample
// site: the kept listings as CSV and JSON bytes, what is new since an earlier run, the walk's one
// redrawn line under a terminal, and standard error unchanged when it is a pipe.

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>

#include "SampleSiteProcess.h"

using vendra::test::SampleSiteProcess;

namespace {

// The four listings of category 6000 with 37 bids or more, most bids first.
const QByteArray kRows[] = {
    "40,Mint 1967 Mustang hubcaps (category 6000 page 1 row "
    "14),http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=911291804,$8.89,04/07 10:09,",
    "38,New chrome side mirror (category 6000 page 1 row "
    "13),http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=894514185,$195.17,06/26 02:01,",
    "37,Vintage Chevy Bel Air manual (category 6000 page 1 row "
    "10),http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=844181328,$254.99,11/28 02:37,",
    "37,Signed chrome side mirror (category 6000 page 1 row "
    "23),http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=263397374,$243.24,12/20 17:13,"};

const QByteArray kPipedProgress =
    "Deleting Temporary Files.......\nFinding # of Auctions in Category.......\n"
    "4 pages of listings found\n2 of 4 pages searched.\n3 of 4 pages searched.\n"
    "4 of 4 pages searched.\nFinding Bid amounts.......\nCreating Output.......\nFinished!!!\n";

// The program in a fresh folder of its own, which is then its application folder.
struct Program {
    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }
    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Runs it with stderr a pipe; its exit status and what it wrote there.
    std::pair<int, QByteArray> run(const QStringList& options) {
        QFile::copy(VENDRA_PATH, path("vendra"));
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(path("vendra"), options);
        process.waitForFinished(60000);
        return {process.exitCode(), process.readAllStandardError()};
    }
    // Runs it on a pseudo-terminal as wide as `columns`; all it wrote there.
    QByteArray runOnTerminal(const QStringList& options, unsigned short columns) {
        QFile::copy(VENDRA_PATH, path("vendra"));
        std::vector<std::string> words{path("vendra").toStdString()};
        for (const QString& option : options) words.push_back(option.toStdString());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        winsize size{24, columns, 0, 0};
        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, &size);
        if (child == 0) {
            ::chdir(folder.path().toLocal8Bit().constData());
            ::setenv("TERM", "xterm", 1);
            ::setenv("NO_COLOR", "1", 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        QByteArray said;
        char buffer[4096];
        for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
            said.append(buffer, got);
        ::close(terminal);
        int status = 0;
        ::waitpid(child, &status, 0);
        return said;
    }
};

}  // namespace

class DataFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void csvAndJsonHoldTheResultsPagesListingsInItsOrder() {
        SampleSiteProcess site;
        Program program;
        const auto [csvStatus, csvSaid] =
            program.run({"--category", "6000", "--min-bids", "37", "--data", "now.csv"});
        QCOMPARE(csvStatus, 0);
        QByteArray csv = "bids,title,link,price,ends,new\r\n";
        for (const QByteArray& row : kRows) csv += row + "\r\n";
        QCOMPARE(program.read("now.csv"), csv);

        program.run({"--category", "6000", "--min-bids", "37", "--data", "now.json"});
        QByteArray json = "[\n";
        for (const QByteArray& row : kRows) {
            const QList<QByteArray> cells = row.split(',');
            json += "{\"bids\":" + cells[0] + ",\"title\":\"" + cells[1] + "\",\"link\":\"" +
                    cells[2] + "\",\"price\":\"" + cells[3] + "\",\"ends\":\"" + cells[4] +
                    "\",\"new\":\"\"}" + (&row == &kRows[3] ? "\n" : ",\n");
        }
        QCOMPARE(program.read("now.json"), json + "]\n");
    }

    void sinceAnEarlierFileTellsWhatIsNew() {
        SampleSiteProcess site;
        Program program;
        program.run({"--category", "6000", "--min-bids", "37", "--data", "last.csv"});
        // The same search again finds nothing new; one that keeps more rows finds those.
        auto [status, said] = program.run({"--category", "6000", "--min-bids", "37", "--data",
                                           "now.json", "--since", "last.csv"});
        QCOMPARE(status, 0);
        QVERIFY2(said.endsWith("\n0 of 4 listings are new since last.csv\n"), said);
        std::tie(status, said) = program.run({"--category", "6000", "--min-bids", "35", "--data",
                                              "now.json", "--since", "last.csv"});
        QVERIFY2(said.endsWith("\n1 of 5 listings are new since last.csv\n"), said);
        QCOMPARE(program.read("now.json").count("\"new\":\"yes\""), 1);
        QCOMPARE(program.read("now.json").count("\"new\":\"no\""), 4);

        // A file that is not there, or a data file name that is not one: nothing is touched.
        const QByteArray results = program.read("Finalsearch.htm");
        for (const QStringList& bad :
             {QStringList{"--since", "gone.csv"}, QStringList{"--data", "now.txt"}}) {
            const int before = site.logLines().size();
            std::tie(status, said) = program.run(QStringList{"--category", "6000"} + bad);
            QCOMPARE(status, 2);
            QVERIFY2(said.startsWith("vendra: --"), said);
            QCOMPARE(site.logLines().size(), before);
            QCOMPARE(program.read("Finalsearch.htm"), results);
        }
    }

    void aTerminalShowsOneRedrawnLinePipedOutputIsUnchanged() {
        SampleSiteProcess site;
        Program program;
        const auto [status, piped] = program.run({"--category", "267"});
        QCOMPARE(status, 0);
        QCOMPARE(piped, kPipedProgress);

        for (const unsigned short columns : {120, 30}) {
            const QByteArray said = program.runOnTerminal({"--category", "267"}, columns);
            // The walk's own texts are the line's: the others stand on lines above it.
            QByteArray lines = said;
            lines.replace("\r\n", "\n");
            const QList<QByteArray> shown = lines.split('\n');
            QCOMPARE(shown.size(), 8);  // seven lines and what follows the last
            QVERIFY2(shown[3].contains("Searching pages 3/4 ") && !shown[3].contains("/4 pages"),
                     shown[3]);
            QVERIFY(!said.contains("pages searched."));
            QVERIFY(!said.contains("\x1b[1m"));  // NO_COLOR
            QVERIFY2(lines.endsWith("\x1b[KFinding Bid amounts.......\nCreating Output.......\n"
                                    "Finished!!!\n" +
                                    program.path("Finalsearch.htm").toUtf8() + "\n"),
                     lines);
            // Every drawing of the line fits the terminal, so it never wraps.
            for (const QByteArray& drawn : shown[3].split('\r')) {
                const QByteArray text = QByteArray(drawn).replace("\x1b[K", "");
                QVERIFY2(QString::fromUtf8(text).size() < columns, text);
            }
        }
    }
};

QTEST_GUILESS_MAIN(DataFilesTest)
#include "DataFilesTest.moc"
