// The history: what it tells of each listing over a sequence of runs, on a fake store and on
// SQLite alike, and the SQLite file itself: its versions, what it refuses and leaves untouched,
// and a second program that holds it.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "cli/SavedWatch.h"
#include "history/HistoryPage.h"
#include "history/ListingStates.h"
#include "platform/StdTextFiles.h"
#include "platform/sqlite/SqliteHistory.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

// The store as plain values.
class FakeHistory : public HistoryStore {
  public:
    void record(const RunRecord& run) override {
        const std::int64_t id = static_cast<std::int64_t>(runs_.size()) + 1;
        runs_.push_back({run.search, {id, run.started, run.end, run.ended}});
        for (const KeptListing& listing : run.listings) {
            auto [at, fresh] = ids_.try_emplace(run.search + " " + listing.link, ids_.size() + 1);
            identities_[at->second] = {listing.link, listing.title, listing.ends};
            kept_.push_back({id, at->second, listing.bids, listing.price});
        }
    }
    std::vector<RunSummary> runs(const std::string& search) override {
        std::vector<RunSummary> of;
        for (const auto& [name, run] : runs_)
            if (name == search) of.push_back(run);
        return of;
    }
    void observations(const std::string& search,
                      const std::function<void(const Observation&)>& each) override {
        for (auto it = kept_.rbegin(); it != kept_.rend(); ++it)
            if (runs_[it->run - 1].first == search)
                each({it->run, it->listing, it->bids, it->price});
    }
    ListingIdentity identify(std::int64_t listing) override { return identities_[listing]; }

  private:
    struct Kept {
        std::int64_t run, listing;
        int bids;
        std::string price;
    };
    std::vector<std::pair<std::string, RunSummary>> runs_;
    std::map<std::string, std::int64_t> ids_;
    std::map<std::int64_t, ListingIdentity> identities_;
    std::vector<Kept> kept_;
};

RunRecord Kept(std::int64_t started, RunEnd end, std::vector<std::pair<std::string, int>> kept,
               std::string search = "books") {
    RunRecord run{std::move(search), started, started + 60, end, 0, {}};
    if (end == RunEnd::Incomplete) run.lostPages = 1;
    for (const auto& [link, bids] : kept)
        run.listings.push_back({link, "Title " + link, "$" + std::to_string(bids), "12/01", bids});
    return run;
}

// "link state bids bidsBefore first last" for each listing, in the history's order.
std::string Told(HistoryStore& store, const std::string& search = "books") {
    std::string told;
    for (const ListingHistory& l : TellHistory(store, search).listings)
        told += l.link + " " + StateName(l.state) + " " + std::to_string(l.bids) + " " +
                (l.bidsBefore ? std::to_string(*l.bidsBefore) : "-") + " " +
                std::to_string(l.firstSeen) + " " + std::to_string(l.lastSeen) + "\n";
    return told;
}

struct Stores : testing::TestWithParam<bool> {
    test::FakeIdentity folder;
    std::unique_ptr<HistoryStore> store =
        GetParam() ? std::unique_ptr<HistoryStore>(std::make_unique<SqliteHistory>(
                         folder.folder() + "/h.sqlite3", SqliteHistory::Open::CreateOrUpgrade))
                   : std::make_unique<FakeHistory>();
};

TEST_P(Stores, TellNewHeatingUpSteadyAndGoneOverASequenceOfRuns) {
    struct Step {
        RunRecord run;
        std::uint64_t fresh, heatingUp;
        std::string told;
    };
    const Step steps[] = {
        {Kept(100, RunEnd::Finished, {{"a", 5}, {"b", 3}}), 2, 0,
         "a new 5 - 100 100\nb new 3 - 100 100\n"},
        {Kept(200, RunEnd::Finished, {{"a", 7}, {"b", 3}, {"c", 1}}), 1, 1,
         "a heating up 7 5 100 200\nb steady 3 3 100 200\nc new 1 - 200 200\n"},
        // Another search's runs, and a run without a results page, change nothing here.
        {Kept(250, RunEnd::Finished, {{"a", 1}}, "other"), 1, 0,
         "a heating up 7 5 100 200\nb steady 3 3 100 200\nc new 1 - 200 200\n"},
        {Kept(260, RunEnd::NoResults, {}), 0, 0,
         "a heating up 7 5 100 200\nb steady 3 3 100 200\nc new 1 - 200 200\n"},
        // A run that lost pages marks nothing gone: what it missed keeps its state.
        {Kept(300, RunEnd::Incomplete, {{"a", 7}}), 0, 0,
         "a steady 7 7 100 300\nb steady 3 3 100 200\nc new 1 - 200 200\n"},
        {Kept(400, RunEnd::Finished, {{"a", 9}, {"d", 2}}), 1, 1,
         "a heating up 9 7 100 400\nb gone 3 3 100 200\nd new 2 - 400 400\nc gone 1 - 200 200\n"},
        // Back again after it was gone: kept before, so not new.
        {Kept(500, RunEnd::Finished, {{"a", 9}, {"c", 4}}), 0, 1,
         "a steady 9 9 100 500\nc heating up 4 1 200 500\nb gone 3 3 100 200\nd gone 2 - 400 "
         "400\n"},
    };
    for (const Step& step : steps) {
        const RunCounts counts = RecordRun(*store, step.run);
        EXPECT_EQ(counts.fresh, step.fresh) << step.run.started;
        EXPECT_EQ(counts.heatingUp, step.heatingUp) << step.run.started;
        EXPECT_EQ(Told(*store), step.told) << step.run.started;
    }
    EXPECT_FALSE(TellHistory(*store, "never").anyResults);
}

INSTANTIATE_TEST_SUITE_P(FakeAndSqlite, Stores, testing::Bool());

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void Execute(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

std::string Pragma(const std::string& path, const std::string& name) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA " + name).c_str(), -1, &statement, nullptr);
    sqlite3_step(statement);
    const auto* text = sqlite3_column_text(statement, 0);
    std::string value = text ? reinterpret_cast<const char*>(text) : "";
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

TEST(SqliteHistory, ComesUpFromEachVersionAndRefusesWhatIsNotItsOwn) {
    test::FakeIdentity folder;
    const std::string path = folder.folder() + "/h.sqlite3";
    EXPECT_THROW(SqliteHistory(path, SqliteHistory::Open::ReadOnly), HistoryError);
    EXPECT_FALSE(std::filesystem::exists(path));  // reading makes no file
    {
        SqliteHistory made(path, SqliteHistory::Open::CreateOrUpgrade);
        made.record(Kept(100, RunEnd::Finished, {{"a", 5}}));
    }
    EXPECT_EQ(Pragma(path, "user_version"), std::to_string(SqliteHistory::kSchemaVersion));
    EXPECT_EQ(Pragma(path, "journal_mode"), "wal");
    EXPECT_EQ(Pragma(path, "integrity_check"), "ok");
    // A file of every earlier version comes up to this one with its runs (version 1 is the
    // first).
    for (int version = 1; version <= SqliteHistory::kSchemaVersion; ++version) {
        Execute(path, "PRAGMA user_version=" + std::to_string(version));
        SqliteHistory upgraded(path, SqliteHistory::Open::CreateOrUpgrade);
        EXPECT_EQ(Told(upgraded), "a new 5 - 100 100\n");
    }

    const std::string newer = folder.folder() + "/newer.sqlite3";
    std::filesystem::copy_file(path, newer);
    Execute(newer, "PRAGMA user_version=99");
    const std::string foreign = folder.folder() + "/foreign.sqlite3";
    Execute(foreign, "CREATE TABLE notes(text)");
    const std::string text = folder.folder() + "/notes.txt";
    std::ofstream(text) << "not a database at all, but long enough to look like one's header\n";
    const struct {
        std::string path, says;
    } refused[] = {{newer, "is a history of a newer Vendra (schema version 99"},
                   {foreign, "is not a Vendra history: another program's database"},
                   {text, "is not a Vendra history: it is not an SQLite database"}};
    for (const auto& file : refused) {
        const std::string before = Bytes(file.path);
        for (const auto how :
             {SqliteHistory::Open::CreateOrUpgrade, SqliteHistory::Open::ReadOnly}) {
            try {
                SqliteHistory opened(file.path, how);
                ADD_FAILURE() << file.path << " was opened";
            } catch (const HistoryError& error) {
                EXPECT_NE(std::string(error.what()).find(file.path + " " + file.says),
                          std::string::npos)
                    << error.what();
            }
        }
        EXPECT_EQ(Bytes(file.path), before) << file.path;
    }
}

TEST(SqliteHistory, ASecondProgramWaitsThenSaysWhyItCannotRecord) {
    test::FakeIdentity folder;
    const std::string path = folder.folder() + "/h.sqlite3";
    SqliteHistory history(path, SqliteHistory::Open::CreateOrUpgrade);
    history.record(Kept(100, RunEnd::Finished, {{"a", 5}}));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        history.record(Kept(200, RunEnd::Finished, {{"a", 9}}));
        ADD_FAILURE() << "recorded while another program writes";
    } catch (const HistoryError& error) {
        EXPECT_NE(std::string(error.what()).find("another Vendra is writing to it"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(Told(history), "a new 5 - 100 100\n");  // readers go on meanwhile
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    history.record(Kept(200, RunEnd::Finished, {{"a", 9}}));
    EXPECT_EQ(Told(history), "a heating up 9 5 100 200\n");
}

TEST(SqliteHistory, ShowsTheStatesAsATableAndAsData) {
    test::FakeIdentity folder;
    FakeHistory history;
    history.record(Kept(0, RunEnd::Finished, {{"http://x/1", 5}}));
    RunRecord second = Kept(3600, RunEnd::Finished, {{"http://x/1", 7}, {"http://x/2", 1}});
    second.listings[1].title = std::string(40, 'T') + "\x1b[31m";
    history.record(second);
    StdTextFiles files;
    std::ostringstream out, err;
    ASSERT_EQ(ShowHistory(history, "books", "", files, out, err), 0);
    EXPECT_EQ(out.str(),
              "STATE       BIDS BEFORE  PRICE      ENDS         TITLE\n"
              "heating up     7      5  $7         12/01        Title http://x/1\n"
              "new            1      -  $1         12/01        TTTTTTTTTTTTTTTTTTTTTTTTTTT...\n");
    const std::string csv = folder.folder() + "/h.csv";
    ASSERT_EQ(ShowHistory(history, "books", csv, files, out, err), 0);
    EXPECT_EQ(Bytes(csv),
              "link,title,price,ends,bids,bids_before,first_seen,last_seen,state\r\n"
              "http://x/1,Title http://x/1,$7,12/01,7,5,1970-01-01T00:00:00Z,"
              "1970-01-01T01:00:00Z,heating up\r\n"
              "http://x/2," +
                  second.listings[1].title +
                  ",$1,12/01,1,,1970-01-01T01:00:00Z,"
                  "1970-01-01T01:00:00Z,new\r\n");
    const std::string json = folder.folder() + "/h.json";
    ASSERT_EQ(ShowHistory(history, "books", json, files, out, err), 0);
    EXPECT_NE(Bytes(json).find("\"bids\":1,\"bids_before\":null,"), std::string::npos);
    EXPECT_EQ(ShowHistory(history, "never", "", files, out, err), 1);
}

// Each saved search runs in its own folder whatever the last one did; two Ctrl+C in one stop it
// and the watch.
TEST(SavedWatch, GoesOnWhateverTheLastDidAndEndsAtTwoCtrlC) {
    test::FakeDesktop desk;
    std::ostringstream out, err;
    LineOutput output{err};
    ConsoleSearch search{{desk.runPorts(), output, nullptr}, out, err};
    FakeHistory history;
    desk.fetch.serve(CategoryFirstPageUrl("1"),
                     test::PageCount("1") + test::Block(test::ListingsRow("a", "4")));
    std::int64_t clock = 0;
    SavedWatch watch(
        search, history, out, err,
        [&](const std::string& name) {
            std::filesystem::create_directory(desk.identity.path(name));
            return desk.identity.path(name).string();
        },
        [&] { return clock += 60; });
    const std::vector<NamedSearch> searches =
        ReadSavedSearches("[a]\ncategory = 1\n[b]\ncategory = 2\n[c]\ncategory = 1\n", "s")
            .searches;
    EXPECT_EQ(watch.runOnce(searches), 1);
    const std::string folder = desk.identity.folder();
    EXPECT_EQ(out.str(), "a: 1 listings, 1 new, 0 heating up, " + folder +
                             "/a/Finalsearch.htm\nb: no results page\nc: 1 listings, 1 new, 0 "
                             "heating up, " +
                             folder + "/c/Finalsearch.htm\n");
    ASSERT_EQ(history.runs("b").size(), 1u);
    EXPECT_EQ(history.runs("b")[0].end, RunEnd::NoResults);
    EXPECT_EQ(history.runs("c")[0].started, 300);

    desk.fetch.onFetch = [&](auto&) { search.interrupt(), search.interrupt(); };
    out.str("");
    EXPECT_EQ(watch.runOnce(searches), 130);
    EXPECT_EQ(out.str(), "a: no results page\n");
    EXPECT_EQ(history.runs("a").back().end, RunEnd::Stopped);
}

// The history page is text from the site made safe: every title's markup shows as text, only
// http and https links are links, and each listing's bids over the runs are drawn in order.
TEST(HistoryPage, EscapesEveryTitleLinksOnlyTheWebAndDrawsTheBids) {
    const std::pair<std::string, bool> links[] = {
        {"https://site.example/item?a=1&b=2", true},
        {"HTTP://site.example/x\"onmouseover=\"alert(1)", true},
        {"javascript:alert(1)", false},
        {" JavaScript:alert(1)", false},
        {"data:text/html,<script>alert(1)</script>", false},
        {"//site.example/x", false},
        {"http:///x", false},
        {"https://site.example/a b", false},
        {"item.html", false},
    };
    for (const auto& [link, web] : links) EXPECT_EQ(WebLink(link).has_value(), web) << link;

    FakeHistory store;
    RunRecord first = Kept(1000, RunEnd::Finished, {{"a", 3}, {"b", 5}});
    RunRecord second = Kept(5000, RunEnd::Finished, {{"a", 9}, {"b", 5}, {"c", 4}});
    const std::string titles[] = {"<script>alert('x')</script> & co", "<b>bold</b> \"q\"",
                                  "<img src=x onerror=alert(1)>"};
    for (RunRecord* run : {&first, &second})
        for (KeptListing& listing : run->listings) {
            listing.title = titles[listing.link[0] - 'a'];
            listing.link = links[listing.link[0] - 'a' + 1].first;
        }
    store.record(first);
    store.record(second);
    const std::string page = HistoryPageHtml(ReadHistoryPage(store, "books"), 4);

    for (const char* markup : {"<script", "<b>", "<img", "javascript:", "onmouseover=\""})
        EXPECT_EQ(page.find(markup), std::string::npos) << markup;
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; co"),
              std::string::npos);
    EXPECT_NE(page.find("&lt;b&gt;bold&lt;/b&gt; &quot;q&quot;"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"HTTP://site.example/x&quot;onmouseover=&quot;alert(1)\""),
              std::string::npos);
    std::size_t anchors = 0;
    for (std::size_t at = page.find("<a "); at != std::string::npos; at = page.find("<a ", at + 1))
        ++anchors;
    EXPECT_EQ(anchors, 1u);
    // Heating up, new, then steady; a's line climbs from 3 to 9 over the minimum's rule.
    const std::size_t a = page.find("&lt;script"), b = page.find("&lt;b&gt;"),
                      c = page.find("&lt;img");
    EXPECT_LT(a, c);
    EXPECT_LT(c, b);
    EXPECT_NE(page.find("Bids in each run that kept it: 3 9; the search keeps 4 or more"),
              std::string::npos);
    EXPECT_EQ(page.find("http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'"),
              page.find("http-equiv"));
}

}  // namespace
}  // namespace vendra
