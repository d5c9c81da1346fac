#pragma once

#include <string>

#include "platform/HistoryStore.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vendra {

// The history as one SQLite database: WAL journal, the schema's version in PRAGMA user_version
// and the program's mark in PRAGMA application_id. A run is written in one transaction, so a
// program killed at any point leaves nothing of its run and a sound file. A second program on
// the same file waits a little for the first, then gives up with a HistoryError that says why.
class SqliteHistory : public HistoryStore {
  public:
    enum class Open {
        CreateOrUpgrade,  // makes a new file, or brings an older one to the current version
        ReadOnly,         // reads a history that is there, as it is
    };
    // Opens the history at `path`; throws HistoryError, and then the file is as it was: a file
    // that is not a history of this program, or from a newer version of it, is refused.
    SqliteHistory(const std::string& path, Open how);
    ~SqliteHistory() override;
    SqliteHistory(const SqliteHistory&) = delete;
    SqliteHistory& operator=(const SqliteHistory&) = delete;

    BidsBefore record(const RunRecord& run) override;
    std::vector<RunSummary> runs(const std::string& search) override;
    void observations(const std::string& search,
                      const std::function<void(const Observation&)>& each) override;
    ListingIdentity identify(std::int64_t listing) override;

    // The schema this program writes.
    static constexpr int kSchemaVersion = 2;
    // The oldest schema a reader takes as it is: the later ones only added what recording uses.
    static constexpr int kReadable = 1;
    static constexpr int kApplicationId = 0x56454e44;  // "VEND"
    // How long a program waits for another that is writing, in milliseconds.
    static constexpr int kBusyMilliseconds = 3000;

  private:
    void check(int code, const char* doing);
    void execute(const char* sql, const char* doing);
    sqlite3_stmt* prepare(const char* sql);
    void upgrade();

    std::string path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* identify_ = nullptr;
};

}  // namespace vendra
