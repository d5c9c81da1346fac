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
#include "cli/WatchLoop.h"
#include "history/HistoryPage.h"
#include "history/ListingStates.h"
#include "platform/PosixSearchLock.h"
#include "platform/StdTextFiles.h"
#include "platform/sqlite/SqliteHistory.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

// The store as plain values.
class FakeHistory : public HistoryStore {
  public:
    BidsBefore record(const RunRecord& run) override {
        const std::int64_t id = static_cast<std::int64_t>(runs_.size()) + 1;
        runs_.push_back({run.search, {id, run.started, run.end, run.ended}});
        const bool results = WroteResults(run.end);
        BidsBefore before;
        for (const KeptListing& listing : run.listings) {
            auto [at, fresh] = ids_.try_emplace(run.search + " " + listing.link, ids_.size() + 1);
            auto& [lastRun, lastBids] = last_[at->second];
            before.push_back(lastRun != 0 && lastRun != id ? std::optional(lastBids)
                                                           : std::nullopt);
            if (results && lastRun == id) continue;
            if (results) lastRun = id, lastBids = listing.bids;
            identities_[at->second] = {listing.link, listing.title, listing.ends};
            kept_.push_back({id, at->second, listing.bids, listing.price});
        }
        return before;
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
    std::map<std::int64_t, std::pair<std::int64_t, int>> last_;  // latest run with results, bids
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
        // A link the run kept twice counts once, as first kept.
        {Kept(200, RunEnd::Finished, {{"a", 7}, {"b", 3}, {"c", 1}, {"a", 2}}), 1, 1,
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
        const RunCounts counts = RecordRun(*store, step.run, 1);
        EXPECT_EQ(counts.fresh, step.fresh) << step.run.started;
        EXPECT_EQ(counts.heatingUp, step.heatingUp) << step.run.started;
        EXPECT_EQ(Told(*store), step.told) << step.run.started;
        // The news are the history's first new or heating up listing of a run with results.
        std::string first;
        for (const ListingHistory& l : TellHistory(*store, step.run.search).listings)
            if (first.empty() && step.run.end != RunEnd::NoResults && l.inLatestRun &&
                l.state <= ListingState::HeatingUp)
                first = l.link + " " + StateName(l.state) + " " + std::to_string(l.bids);
        EXPECT_EQ(counts.news.empty()
                      ? ""
                      : counts.news[0].link + " " + StateName(counts.news[0].state) + " " +
                            std::to_string(counts.news[0].bids),
                  first)
            << step.run.started;
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
    // A file of the first version, as the first Vendra with a history wrote it, is read as it
    // is and comes up to this version with each listing's latest bids, so the next run is
    // told against them.
    const std::string first = folder.folder() + "/first.sqlite3";
    Execute(first,
            "PRAGMA application_id=1447382596; PRAGMA user_version=1;"
            "CREATE TABLE searches(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);"
            "CREATE TABLE runs(id INTEGER PRIMARY KEY, search INTEGER NOT NULL REFERENCES "
            "searches, started INTEGER NOT NULL, ended INTEGER NOT NULL, how TEXT NOT NULL,"
            "  lost_pages INTEGER NOT NULL);"
            "CREATE INDEX runs_of_search ON runs(search, id);"
            "CREATE TABLE listings(id INTEGER PRIMARY KEY, search INTEGER NOT NULL REFERENCES "
            "searches, link TEXT NOT NULL, title TEXT NOT NULL, ends TEXT NOT NULL,"
            "  UNIQUE(search, link));"
            "CREATE TABLE observations(run INTEGER NOT NULL REFERENCES runs,"
            "  listing INTEGER NOT NULL REFERENCES listings, bids INTEGER NOT NULL,"
            "  price TEXT NOT NULL, PRIMARY KEY(run, listing)) WITHOUT ROWID;"
            "INSERT INTO searches VALUES(1, 'books');"
            "INSERT INTO runs VALUES(1, 1, 100, 160, 'finished', 0),"
            " (2, 1, 200, 260, 'finished', 0), (3, 1, 300, 360, 'stopped', 0);"
            "INSERT INTO listings VALUES(1, 1, 'a', 'Title a', '12/01'),"
            " (2, 1, 'b', 'Title b', '12/01');"
            "INSERT INTO observations VALUES(1, 1, 5, '$5'), (2, 1, 6, '$6'), (1, 2, 3, '$3'),"
            " (3, 2, 9, '$9');");
    {
        SqliteHistory read(first, SqliteHistory::Open::ReadOnly);
        EXPECT_EQ(Told(read), "a heating up 6 5 100 200\nb gone 3 - 100 100\n");
    }
    {
        SqliteHistory upgraded(first, SqliteHistory::Open::CreateOrUpgrade);
        const RunCounts counts =
            RecordRun(upgraded, Kept(400, RunEnd::Finished, {{"a", 6}, {"b", 4}, {"c", 1}}));
        EXPECT_EQ(counts.fresh, 1u);
        EXPECT_EQ(counts.heatingUp, 1u);
        EXPECT_EQ(Told(upgraded),
                  "a steady 6 6 100 400\nb heating up 4 3 100 400\nc new 1 - 400 400\n");
    }
    EXPECT_EQ(Pragma(first, "user_version"), std::to_string(SqliteHistory::kSchemaVersion));
    EXPECT_EQ(Pragma(first, "integrity_check"), "ok");

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

class FakeNotifier : public Notifier {
  public:
    std::uint32_t show(const std::string& summary, const std::string& body, std::uint32_t replaces,
                       std::string& why) override {
        shown.push_back(summary + "|" + body + "|" + std::to_string(replaces));
        why = "no server";
        return server ? (replaces ? replaces : ++last) : 0;
    }
    void onAction(std::function<void(std::uint32_t)> callback) override { picked = callback; }
    std::vector<std::string> shown;
    bool server = true;
    std::uint32_t last = 0;
    std::function<void(std::uint32_t)> picked;
};

// Due `every` after the last run, plus the jitter (here all of its tenth); overdue at once; a
// search never run at once; a search whose interval stays keeps its time through a reread.
TEST(WatchSchedule, TimesEachSearchFromItsLastRun) {
    FakeHistory history;
    history.record(Kept(1000, RunEnd::Finished, {}, "a"));  // ended 1060: due 1060 + 1800 + 180
    history.record(Kept(100, RunEnd::NoResults, {}, "c"));  // ended 160: overdue at 1960
    history.record(Kept(9000, RunEnd::Stopped, {}, "c"));   // stopped runs do not count
    std::vector<std::int64_t> bounds;
    WatchSchedule schedule([&](std::int64_t most) { return bounds.push_back(most), most; });
    const auto searches = [](const std::string& aEvery) {
        return ReadSavedSearches("[a]\ncategory = 1\nevery = \"" + aEvery +
                                     "\"\n[b]\ncategory = 2\n[c]\ncategory = 3\nevery = \"30m\"\n",
                                 "s")
            .searches;
    };
    schedule.watch(searches("30m"), history, 2000);
    const auto next = [&] {
        return schedule.next()->search.name + std::to_string(schedule.next()->at);
    };
    EXPECT_EQ(next(), "b0");
    schedule.ran("b", 2000);
    EXPECT_EQ(next(), "c1960");
    schedule.ran("c", 2100);
    EXPECT_EQ(next(), "a3040");
    EXPECT_EQ(bounds, (std::vector<std::int64_t>{180, 360, 180}));
    schedule.watch(searches("1h"), history, 2200);  // a anew, b and c as they were
    EXPECT_EQ(next(), "c4080");
    schedule.ran("c", 9000);
    EXPECT_EQ(next(), "a5020");
}

// A watch runs when due, says a bad edit of the searches file once and goes on with what it
// had, takes a good one; a run with news is one notification in place of the search's last,
// whose action opens that run's results page; a run without news none. A history that does
// not answer at first is asked again.
TEST(WatchLoop, RunsWhenDueRereadsAndNotifiesTheNews) {
    test::FakeDesktop desk;
    std::ostringstream out, err;
    LineOutput output{err};
    ConsoleSearch search{{desk.runPorts(), output, nullptr}, out, err};
    struct : FakeHistory {
        int busy = 2;
        std::vector<RunSummary> runs(const std::string& search) override {
            if (busy-- > 0) throw HistoryError("the history is busy");
            return FakeHistory::runs(search);
        }
    } history;
    const auto serve = [&](const std::string& rows) {
        desk.fetch.serve(CategoryFirstPageUrl("1"), test::PageCount("1") + test::Block(rows));
    };
    serve(test::ListingsRow("a", "4"));
    std::int64_t clock = 100000;
    SavedWatch watch(
        search, history, out, err,
        [&](const std::string& name) {
            std::filesystem::create_directory(desk.identity.path(name));
            return desk.identity.path(name).string();
        },
        [&] { return clock; });
    FakeNotifier notifier;
    watch.notifyThrough(notifier, desk.shell);
    WatchSchedule schedule([](std::int64_t most) { return most; });
    const std::string good = "[a]\ncategory = 1\nevery = \"5m\"\n";
    const std::string edits[] = {"[a]\ncategory = [1]\n", "[a]\ncategory = [1]\n",
                                 good + "[b]\ncategory = 2\nevery = \"5m\"\n"};
    std::size_t runs = 0, edited = 0;
    std::optional<SavedSearches> edit;
    WatchLoop* self = nullptr;
    WatchLoop loop(
        watch, history, schedule,
        {[&] { return clock; },
         [&](std::int64_t until) {
             clock = until;
             const std::size_t now = history.runs("a").size() + history.runs("b").size();
             if (now == 1 && runs == 0)
                 serve(test::ListingsRow("a", "6") + "\r\n" + test::ListingsRow("b", "2"));
             if (now == 2 && edited < 3) edit = ReadSavedSearches(edits[edited++], "s");
             if (now == 4) self->stop(0);
             runs = now;
             return !self->stopped();
         },
         [&] { return std::exchange(edit, std::nullopt); }},
        err);
    self = &loop;
    EXPECT_EQ(loop.run(ReadSavedSearches(good, "s"), {}), 0);

    EXPECT_EQ(notifier.shown,
              (std::vector<std::string>{
                  "a: 1 new|a (4 bids, $4.00)|0",
                  "a: 1 new, 1 heating up|a (6 bids, $4.00)\nb (2 bids, $4.00)|1"}));
    const std::vector<RunSummary> a = history.runs("a"), b = history.runs("b");
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[1].started, a[0].started + 330);
    EXPECT_LT(b[0].started, a[2].started);  // b, new, at once
    const std::string said = err.str();
    EXPECT_NE(said.find("vendra: s:2:1: category takes a number\n"), std::string::npos);
    EXPECT_EQ(said.find("category takes"), said.rfind("category takes"));  // once
    const std::size_t busy = said.find("vendra: the history is busy\n");
    EXPECT_NE(busy, std::string::npos);
    EXPECT_EQ(busy, said.rfind("vendra: the history"));  // once
    notifier.picked(1);
    EXPECT_EQ(desk.shell.opened,
              std::vector<std::string>{desk.identity.path("a").string() + "/Finalsearch.htm"});
}

// A thousand runs in one watch hold memory and file descriptors flat.
TEST(WatchLoop, AThousandRunsHoldMemoryAndDescriptorsFlat) {
    test::FakeDesktop desk;
    StdTextFiles files;
    PosixSearchLock lock;
    std::ostringstream out, err;
    LineOutput output{err};
    ConsoleSearch search{
        {{desk.fetch, desk.events, files, desk.locale, lock, desk.identity}, output, nullptr},
        out,
        err};
    desk.fetch.serve(CategoryFirstPageUrl("1"),
                     test::PageCount("1") + test::Block(test::ListingsRow("a", "4")));
    SqliteHistory history(desk.identity.path("h.sqlite3").string(),
                          SqliteHistory::Open::CreateOrUpgrade);
    std::int64_t clock = 0;
    SavedWatch watch(
        search, history, out, err, [&](const std::string&) { return desk.identity.folder(); },
        [&] { return clock; });
    std::int64_t runs = 0;
    WatchSchedule schedule([&](std::int64_t) { return ++runs, 0; });
    const auto resident = [] {
        std::ifstream statm("/proc/self/statm");
        long pages = 0, rss = 0;
        statm >> pages >> rss;
        return rss * ::sysconf(_SC_PAGESIZE);
    };
    const auto descriptors = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    long rssBefore = 0;
    std::ptrdiff_t fdsBefore = 0;
    WatchLoop* self = nullptr;
    WatchLoop loop(watch, history, schedule,
                   {[&] { return clock; },
                    [&](std::int64_t until) {
                        clock = until;
                        desk.fetch.requests.clear();
                        out.str(""), err.str("");
                        if (runs == 50 && !rssBefore)
                            rssBefore = resident(), fdsBefore = descriptors();
                        if (runs == 1050) self->stop(0);
                        return !self->stopped();
                    },
                    [] { return std::optional<SavedSearches>(); }},
                   err);
    self = &loop;
    loop.run(ReadSavedSearches("[a]\ncategory = 1\nevery = \"5m\"\n", "s"), {});
    EXPECT_EQ(history.runs("a").size(), 1050u);
    EXPECT_EQ(descriptors(), fdsBefore);
#ifndef __SANITIZE_ADDRESS__  // which holds freed memory back on purpose
    EXPECT_LE(resident() - rssBefore, 5l << 20);
#endif
}

}  // namespace
}  // namespace vendra
