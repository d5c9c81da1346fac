#include "platform/sqlite/SqliteHistory.h"

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <unordered_set>

namespace vendra {
namespace {

// The schema's versions, each step from the version before it. Steps are only ever added:
// a file of any earlier version is brought up by the steps after its own.
constexpr const char* kMigrations[] = {
    // 0 to 1: the saved searches, their runs, the listings each kept (known by their links,
    // with their title and end time as last kept) and what each run saw of them.
    "CREATE TABLE searches(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, search INTEGER NOT NULL REFERENCES searches,"
    "  started INTEGER NOT NULL, ended INTEGER NOT NULL, how TEXT NOT NULL,"
    "  lost_pages INTEGER NOT NULL);"
    "CREATE INDEX runs_of_search ON runs(search, id);"
    "CREATE TABLE listings(id INTEGER PRIMARY KEY, search INTEGER NOT NULL REFERENCES searches,"
    "  link TEXT NOT NULL, title TEXT NOT NULL, ends TEXT NOT NULL, UNIQUE(search, link));"
    "CREATE TABLE observations(run INTEGER NOT NULL REFERENCES runs,"
    "  listing INTEGER NOT NULL REFERENCES listings, bids INTEGER NOT NULL,"
    "  price TEXT NOT NULL, PRIMARY KEY(run, listing)) WITHOUT ROWID;",
    // 1 to 2: each listing's bids in the latest run with a results page that kept it (NULL
    // when none has), so that a run is told against the one before it without reading the
    // history. It is written only when it changes.
    "ALTER TABLE listings ADD COLUMN last_bids INTEGER;"
    "UPDATE listings SET last_bids=latest.bids FROM"
    " (SELECT observations.listing AS listing, max(observations.run) AS run,"
    "   observations.bids AS bids FROM observations JOIN runs ON runs.id=observations.run"
    "  WHERE runs.how IN ('finished', 'incomplete') GROUP BY observations.listing) AS latest"
    " WHERE latest.listing=listings.id;",
};
constexpr int kLatest = static_cast<int>(std::size(kMigrations));
static_assert(kLatest == SqliteHistory::kSchemaVersion);

const char* EndName(RunEnd end) {
    switch (end) {
        case RunEnd::Finished:
            return "finished";
        case RunEnd::Incomplete:
            return "incomplete";
        case RunEnd::NoResults:
            return "no results";
        case RunEnd::Stopped:
            return "stopped";
    }
    return "";
}

RunEnd EndOf(std::string_view name) {
    if (name == "finished") return RunEnd::Finished;
    if (name == "incomplete") return RunEnd::Incomplete;
    if (name == "stopped") return RunEnd::Stopped;
    return RunEnd::NoResults;
}

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

std::string_view Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string_view(text, sqlite3_column_bytes(statement, column))
                : std::string_view();
}

void Bind(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

}  // namespace

SqliteHistory::SqliteHistory(const std::string& path, Open how) : path_(path) {
    // No following a link planted at the history's name; the file is made only when asked to.
    int flags = SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_FULLMUTEX;
    flags |=
        how == Open::ReadOnly ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int opened = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (opened != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
        sqlite3_close(db_);
        db_ = nullptr;
        throw HistoryError("Cannot open the history " + path + ": " + why);
    }
    sqlite3_busy_timeout(db_, kBusyMilliseconds);
    try {
        // Only read until the file is known for ours: a foreign file is left as it was.
        sqlite3_stmt* reading = nullptr;
        int stepped =
            sqlite3_prepare_v2(db_,
                               "SELECT (SELECT application_id FROM pragma_application_id),"
                               " (SELECT user_version FROM pragma_user_version),"
                               " (SELECT count(*) FROM sqlite_schema)",
                               -1, &reading, nullptr);
        Statement state(reading);
        if (stepped == SQLITE_OK) stepped = sqlite3_step(state.get());
        if (stepped == SQLITE_NOTADB)
            throw HistoryError(path + " is not a Vendra history: it is not an SQLite database");
        if (stepped != SQLITE_ROW) check(stepped, "read");
        const int application = sqlite3_column_int(state.get(), 0);
        const int version = sqlite3_column_int(state.get(), 1);
        const int objects = sqlite3_column_int(state.get(), 2);
        state.reset();
        const bool empty = application == 0 && version == 0 && objects == 0;
        if (!empty && application != kApplicationId)
            throw HistoryError(path + " is not a Vendra history: another program's database");
        if (version > kLatest)
            throw HistoryError(path + " is a history of a newer Vendra (schema version " +
                               std::to_string(version) + "; this one reads up to " +
                               std::to_string(kLatest) + ")");
        if (how == Open::ReadOnly) {
            if (empty) throw HistoryError(path + " holds no history yet");
            if (version < kReadable)
                throw HistoryError(path + " is a history of an older Vendra: watch a search " +
                                   "once to bring it up to date");
            return;
        }
        // In WAL a commit that has not reached the disk when the power fails is lost whole,
        // never half: the file stays sound without a sync at every commit.
        execute("PRAGMA journal_mode=WAL", "set up");
        execute("PRAGMA synchronous=NORMAL", "set up");
        if (version < kLatest) upgrade();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

SqliteHistory::~SqliteHistory() {
    sqlite3_finalize(identify_);
    sqlite3_close(db_);
}

void SqliteHistory::check(int code, const char* doing) {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) return;
    std::string why = sqlite3_errmsg(db_);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        why = "another Vendra is writing to it (" + why + ")";
    throw HistoryError("Cannot " + std::string(doing) + " the history " + path_ + ": " + why);
}

void SqliteHistory::execute(const char* sql, const char* doing) {
    check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), doing);
}

sqlite3_stmt* SqliteHistory::prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr), "read");
    return statement;
}

void SqliteHistory::upgrade() {
    execute("BEGIN IMMEDIATE", "set up");
    try {
        // Read again inside the transaction: another program may have upgraded it meanwhile.
        Statement version(prepare("PRAGMA user_version"));
        check(sqlite3_step(version.get()), "read");
        int at = sqlite3_column_int(version.get(), 0);
        version.reset();
        if (at > kLatest) throw HistoryError(path_ + " is a history of a newer Vendra");
        if (at == 0)
            execute(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str(), "set up");
        for (; at < kLatest; ++at) execute(kMigrations[at], "upgrade");
        execute(("PRAGMA user_version=" + std::to_string(kLatest)).c_str(), "upgrade");
        execute("COMMIT", "set up");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

HistoryStore::BidsBefore SqliteHistory::record(const RunRecord& run) {
    execute("BEGIN IMMEDIATE", "record into");
    try {
        Statement search(
            prepare("INSERT INTO searches(name) VALUES(?1)"
                    " ON CONFLICT(name) DO UPDATE SET name=name RETURNING id"));
        Bind(search.get(), 1, run.search);
        check(sqlite3_step(search.get()), "record into");
        const sqlite3_int64 searchId = sqlite3_column_int64(search.get(), 0);
        search.reset();

        Statement runInsert(
            prepare("INSERT INTO runs(search, started, ended, how, lost_pages)"
                    " VALUES(?1, ?2, ?3, ?4, ?5)"));
        sqlite3_bind_int64(runInsert.get(), 1, searchId);
        sqlite3_bind_int64(runInsert.get(), 2, run.started);
        sqlite3_bind_int64(runInsert.get(), 3, run.ended);
        Bind(runInsert.get(), 4, EndName(run.end));
        sqlite3_bind_int64(runInsert.get(), 5, static_cast<sqlite3_int64>(run.lostPages));
        check(sqlite3_step(runInsert.get()), "record into");
        const sqlite3_int64 runId = sqlite3_last_insert_rowid(db_);
        // Only a run with a results page is a listing's latest sighting.
        const bool results = WroteResults(run.end);

        Statement find(
            prepare("SELECT id, title, ends, last_bids FROM listings WHERE search=?1 AND link=?2"));
        Statement add(
            prepare("INSERT INTO listings(search, link, title, ends, last_bids)"
                    " VALUES(?1, ?2, ?3, ?4, ?5)"));
        Statement update(
            prepare("UPDATE listings SET title=?2, ends=?3, last_bids=?4 WHERE id=?1"));
        Statement observe(
            prepare("INSERT OR IGNORE INTO observations(run, listing, bids, price)"
                    " VALUES(?1, ?2, ?3, ?4)"));
        sqlite3_bind_int64(find.get(), 1, searchId);
        sqlite3_bind_int64(add.get(), 1, searchId);
        sqlite3_bind_int64(observe.get(), 1, runId);
        BidsBefore before(run.listings.size());
        std::unordered_set<std::string_view> inRun;
        for (std::size_t i = 0; i < run.listings.size(); ++i) {
            const KeptListing& listing = run.listings[i];
            if (!inRun.insert(listing.link).second) continue;  // kept earlier in this run
            Bind(find.get(), 2, listing.link);
            sqlite3_int64 listingId = 0;
            const int found = sqlite3_step(find.get());
            check(found, "record into");
            if (found == SQLITE_ROW) {
                listingId = sqlite3_column_int64(find.get(), 0);
                std::optional<int> lastBids;
                if (sqlite3_column_type(find.get(), 3) != SQLITE_NULL)
                    lastBids = before[i] = sqlite3_column_int(find.get(), 3);
                if (results) lastBids = listing.bids;
                if (lastBids != before[i] || Text(find.get(), 1) != listing.title ||
                    Text(find.get(), 2) != listing.ends) {
                    sqlite3_bind_int64(update.get(), 1, listingId);
                    Bind(update.get(), 2, listing.title);
                    Bind(update.get(), 3, listing.ends);
                    if (lastBids)
                        sqlite3_bind_int(update.get(), 4, *lastBids);
                    else
                        sqlite3_bind_null(update.get(), 4);
                    check(sqlite3_step(update.get()), "record into");
                    sqlite3_reset(update.get());
                }
            } else {
                Bind(add.get(), 2, listing.link);
                Bind(add.get(), 3, listing.title);
                Bind(add.get(), 4, listing.ends);
                if (results)
                    sqlite3_bind_int(add.get(), 5, listing.bids);
                else
                    sqlite3_bind_null(add.get(), 5);
                check(sqlite3_step(add.get()), "record into");
                sqlite3_reset(add.get());
                listingId = sqlite3_last_insert_rowid(db_);
            }
            sqlite3_reset(find.get());
            sqlite3_bind_int64(observe.get(), 2, listingId);
            sqlite3_bind_int(observe.get(), 3, listing.bids);
            Bind(observe.get(), 4, listing.price);
            check(sqlite3_step(observe.get()), "record into");
            sqlite3_reset(observe.get());
        }
        execute("COMMIT", "record into");
        return before;
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<RunSummary> SqliteHistory::runs(const std::string& search) {
    Statement select(
        prepare("SELECT runs.id, started, how, ended FROM runs JOIN searches"
                " ON searches.id=runs.search WHERE name=?1 ORDER BY runs.id"));
    Bind(select.get(), 1, search);
    std::vector<RunSummary> runs;
    int stepped;
    while ((stepped = sqlite3_step(select.get())) == SQLITE_ROW)
        runs.push_back({sqlite3_column_int64(select.get(), 0),
                        sqlite3_column_int64(select.get(), 1), EndOf(Text(select.get(), 2)),
                        sqlite3_column_int64(select.get(), 3)});
    check(stepped, "read");
    return runs;
}

void SqliteHistory::observations(const std::string& search,
                                 const std::function<void(const Observation&)>& each) {
    Statement select(
        prepare("SELECT run, listing, bids, price FROM observations WHERE run IN"
                " (SELECT runs.id FROM runs JOIN searches ON searches.id=runs.search"
                "  WHERE name=?1) ORDER BY run DESC"));
    Bind(select.get(), 1, search);
    int stepped;
    while ((stepped = sqlite3_step(select.get())) == SQLITE_ROW)
        each({sqlite3_column_int64(select.get(), 0), sqlite3_column_int64(select.get(), 1),
              sqlite3_column_int(select.get(), 2), Text(select.get(), 3)});
    check(stepped, "read");
}

ListingIdentity SqliteHistory::identify(std::int64_t listing) {
    // Asked once for every listing of a search: prepared once.
    if (!identify_) identify_ = prepare("SELECT link, title, ends FROM listings WHERE id=?1");
    sqlite3_reset(identify_);
    sqlite3_bind_int64(identify_, 1, listing);
    const int stepped = sqlite3_step(identify_);
    check(stepped, "read");
    if (stepped != SQLITE_ROW) return {};
    return {std::string(Text(identify_, 0)), std::string(Text(identify_, 1)),
            std::string(Text(identify_, 2))};
}

}  // namespace vendra
