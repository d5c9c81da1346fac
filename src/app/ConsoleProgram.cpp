#include "app/ConsoleProgram.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <array>
#include <chrono>
#include <csignal>
#include <iostream>
#include <random>

#include "app/ProgramName.h"
#include "cli/SavedWatch.h"
#include "cli/TerminalProgress.h"
#include "cli/WatchLoop.h"
#include "platform/qt/DBusNotifier.h"
#include "platform/qt/Interrupts.h"
#include "platform/qt/QtAppIdentity.h"
#include "platform/sqlite/SqliteHistory.h"

namespace vendra {
namespace {

// Standard error as the search shows itself there: a progress line on a terminal, else lines.
std::unique_ptr<ConsoleOutput> StandardErrorOutput() {
    const TerminalTraits terminal = DescribeTerminal(STDERR_FILENO);
    if (!terminal.redraws) return std::make_unique<LineOutput>(std::cerr);
    return std::make_unique<TerminalProgress>(
        std::cerr, [] { return TerminalColumns(STDERR_FILENO); }, terminal.colour,
        [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
        });
}

// The per-user folder of Vendra's data: $XDG_DATA_HOME/Vendra.
QString DataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Vendra";
}

std::string HistoryPath(const SearchRequest& request) {
    if (!request.historyFile.empty()) return request.historyFile;
    QDir().mkpath(DataFolder());
    return (DataFolder() + "/history.sqlite3").toStdString();
}

std::string SearchesPath(const SearchRequest& request) {
    if (!request.searchesFile.empty()) return request.searchesFile;
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/vendra/searches.toml")
        .toStdString();
}

std::int64_t Now() {
    return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                         std::chrono::system_clock::now().time_since_epoch())
                                         .count());
}

// What tells that a file changed: its inode, size and modification time.
std::array<std::int64_t, 4> StampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {-1, -1, -1, -1};
    return {static_cast<std::int64_t>(status.st_ino), status.st_size, status.st_mtim.tv_sec,
            status.st_mtim.tv_nsec};
}

// vendra watch: each saved search when it is due, until SIGTERM (status 0) or Ctrl+C (130),
// which abandon the page in flight and leave the unfinished run out of the history. One watch
// a history: a second one refuses (status 1).
int WatchUntilStopped(ConsoleProgram& program, HistoryStore& history, SavedWatch& watch,
                      const SavedSearches& saved, const std::vector<std::string>& names,
                      const std::string& searchesPath, const std::string& historyPath) {
    const std::string lockPath = historyPath + ".watch-lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        std::cerr << "vendra: another watch is running on " << historyPath << " (it holds "
                  << lockPath << ")" << std::endl;
        if (lock >= 0) ::close(lock);
        return kExitNoResults;
    }
    watch.recordStopped(false);
    std::mt19937_64 random(std::random_device{}());
    WatchSchedule schedule([&](std::int64_t most) {
        return std::uniform_int_distribution<std::int64_t>(0, most)(random);
    });
    WatchLoop* self = nullptr;
    QEventLoop* waiting = nullptr;
    auto stamp = StampOf(searchesPath);
    WatchLoop loop(watch, history, schedule,
                   {Now,
                    [&](std::int64_t until) {
                        QEventLoop wait;
                        QTimer::singleShot(
                            std::chrono::seconds(std::max<std::int64_t>(0, until - Now())), &wait,
                            &QEventLoop::quit);
                        waiting = &wait;
                        if (!self->stopped()) wait.exec();
                        waiting = nullptr;
                        return !self->stopped();
                    },
                    [&]() -> std::optional<SavedSearches> {
                        const auto now = StampOf(searchesPath);
                        if (now == stamp) return std::nullopt;
                        stamp = now;
                        return ReadSavedSearchesFile(searchesPath);
                    }},
                   std::cerr);
    self = &loop;
    const auto stop = [&](int status, int signal) {
        std::signal(signal, SIG_DFL);  // a second one ends the program at once
        loop.stop(status);
        program.search.stop();
        if (waiting) waiting->quit();
    };
    const Interrupts interrupts([&](int) { stop(kExitStopped, SIGINT); });
    const Interrupts terminations([&](int) { stop(kExitResultsWritten, SIGTERM); }, SIGTERM);
    const int status = loop.run(saved, names);
    ::close(lock);
    return status;
}

}  // namespace

ConsoleProgram::ConsoleProgram(AppIdentity& identity, const SearchRequest& request,
                               std::optional<EarlierLinks> earlier)
    : output(StandardErrorOutput()),
      data(files, request.dataFile, std::move(earlier)),
      fetch(http, http, request.retries),
      search({{fetch, yield, files, locale, lock, identity},
              *output,
              request.open ? &desktop : nullptr},
             std::cout, std::cerr) {
    // A page asked for again says so, with what it waits for.
    fetch.observe(&retryNotices);
}

int RunConsole(int argc, char** argv, const SearchRequest& request) {
    // An earlier run's file that cannot be read is a bad option: nothing is fetched or deleted.
    std::optional<EarlierLinks> earlier;
    if (!request.sinceFile.empty()) {
        StdTextFiles files;
        earlier = ReadEarlierLinks(files, request.sinceFile);
        if (!earlier->ok()) {
            std::cerr << "vendra: --since: " << earlier->error << "\n";
            return kExitBadOptions;
        }
    }
    QCoreApplication app(argc, argv);
    NameTheProgram();

    QtAppIdentity identity;
    ConsoleProgram program(identity, request, std::move(earlier));
    // Ctrl+C once is See Incomplete Results, twice is Stop Search, which also abandons the page
    // in flight; a third one ends the program at once.
    const Interrupts interrupts([&](int) {
        if (program.search.interrupt() >= 2) std::signal(SIGINT, SIG_DFL);
    });
    return program.search.run(request, &program.data);
}

}  // namespace vendra

namespace vendra {

int RunWatch(int argc, char** argv, const CommandLine& line) {
    QCoreApplication app(argc, argv);
    NameTheProgram();
    // The searches file and the names are checked before anything is fetched or written.
    const std::string searchesPath = SearchesPath(line.search);
    SavedSearches saved = ReadSavedSearchesFile(searchesPath);
    if (saved.faults.empty()) saved = Chosen(saved, line.names);
    for (const std::string& fault : saved.faults) std::cerr << "vendra: " << fault << "\n";
    if (!saved.faults.empty()) return kExitBadOptions;

    std::unique_ptr<SqliteHistory> history;
    try {
        history = std::make_unique<SqliteHistory>(HistoryPath(line.search),
                                                  SqliteHistory::Open::CreateOrUpgrade);
    } catch (const HistoryError& error) {
        std::cerr << "vendra: " << error.what() << "\n";
        return kExitBadOptions;
    }

    QtAppIdentity identity;
    ConsoleProgram program(identity, SearchRequest{}, std::nullopt);
    SavedWatch watch(
        program.search, *history, std::cout, std::cerr,
        [](const std::string& name) {
            const QString folder = DataFolder() + "/searches/" + QString::fromStdString(name);
            QDir().mkpath(folder);
            return folder.toStdString();
        },
        [] {
            return static_cast<std::int64_t>(
                std::chrono::duration_cast<std::chrono::seconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count());
        });
    std::optional<DBusNotifier> notifier;
    if (line.search.notify) {
        notifier.emplace(QStringLiteral("vendra"));
        watch.notifyThrough(*notifier, program.desktop);
    }
    if (!line.search.once)
        return WatchUntilStopped(program, *history, watch, saved, line.names, searchesPath,
                                 HistoryPath(line.search));
    const Interrupts interrupts([&](int) {
        if (program.search.interrupt() >= 2) std::signal(SIGINT, SIG_DFL);
    });
    return watch.runOnce(saved.searches);
}

int RunHistory(const CommandLine& line) {
    StdTextFiles files;
    try {
        SqliteHistory history(HistoryPath(line.search), SqliteHistory::Open::ReadOnly);
        const std::string& name = line.names.front();
        int status = kExitResultsWritten;
        if (!line.search.htmlFile.empty()) {
            // The minimum comes from the searches file, when it still holds the search.
            const SavedSearches saved = ReadSavedSearchesFile(SearchesPath(line.search));
            XdgOpenShell desktop;
            status = WriteHistoryPage(history, name, MinimumBidsOf(saved, name),
                                      QFileInfo(QString::fromStdString(line.search.htmlFile))
                                          .absoluteFilePath()
                                          .toStdString(),
                                      files, line.search.open ? &desktop : nullptr, std::cerr);
            if (status != kExitResultsWritten || line.search.dataFile.empty()) return status;
        }
        return ShowHistory(history, name, line.search.dataFile, files, std::cout, std::cerr);
    } catch (const HistoryError& error) {
        std::cerr << "vendra: " << error.what() << "\n";
        return kExitNoResults;
    }
}

}  // namespace vendra
