// One search from start to end, through its outcome, with fakes: every way a search ends, what
// the outcome carries with each, and that each run starts afresh.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "run/SearchRun.h"
#include "run/SearchTexts.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;
using test::ListingsRow;

struct OneRun {
    test::FakeDesktop desk;
    FixedInputs inputs;
    test::ProgressLog log;
    SearchRun search{desk.runPorts(), inputs, log};

    SearchOutcome run(SearchKind kind, bool keepRows = false) {
        return search.run({kind, {}, keepRows});
    }
};

TEST(SearchRun, EveryWayASearchEndsIsItsOutcome) {
    const std::string twoRows = Block(ListingsRow("a", "4") + "\r\n" + ListingsRow("b", "7"));
    const struct {
        const char* name;
        std::function<void(OneRun&)> arrange;
        SearchEnd end;
        bool page;
    } cases[] = {
        {"finished", {}, SearchEnd::Finished, true},
        {"stopped at the first block",
         [](OneRun& r) { r.desk.events.at(1, [&r] { r.search.requestStop(); }); },
         SearchEnd::Stopped, false},
        {"stopped while the first page loads",
         [](OneRun& r) {
             r.desk.fetch.onFetch = [&r](auto&) { r.search.requestStop(); };
             r.desk.fetch.pages.clear();
         },
         SearchEnd::Stopped, false},
        {"refused: no listings at all",
         [](OneRun& r) { r.desk.fetch.serve(FeaturedFirstPageUrl(), test::PageCount("1")); },
         SearchEnd::TooManyListings, false},
        {"site not reached", [](OneRun& r) { r.desk.fetch.pages.clear(); },
         SearchEnd::SiteUnreachable, false},
        {"a bid cell that is not a number",
         [](OneRun& r) {
             r.desk.fetch.serve(FeaturedFirstPageUrl(), Block(ListingsRow("a", "many")));
         },
         SearchEnd::BidsUnreadable, false},
        {"a minimum that is not a number", [](OneRun& r) { r.inputs.minimum = "three"; },
         SearchEnd::PageNotWritten, false},
        {"folder in use", [](OneRun& r) { r.desk.searchLock.heldElsewhere = true; },
         SearchEnd::FolderInUse, false},
        {"no writable folder", [](OneRun& r) { r.desk.identity.unwritable = true; },
         SearchEnd::FolderUnusable, false},
        {"a folder at the listing file's path",
         [](OneRun& r) {
             std::filesystem::create_directories(r.desk.identity.path("Listinglist.txt/x"));
         },
         SearchEnd::FolderUnusable, false},
        // Planted while the first page loads: never written through, never waited on.
        {"a link planted at the listing file",
         [](OneRun& r) {
             r.desk.write("target", "kept");
             r.desk.fetch.onFetch = [&r](auto&) {
                 std::error_code planted;
                 std::filesystem::create_symlink(r.desk.identity.path("target"),
                                                 r.desk.identity.path("Listinglist.txt"), planted);
             };
         },
         SearchEnd::BidsUnreadable, false},
        {"a FIFO planted at the results page",
         [](OneRun& r) {
             r.desk.fetch.onFetch = [&r](auto&) {
                 ::mkfifo(r.desk.identity.path("Finalsearch.htm").c_str(), 0600);
             };
         },
         SearchEnd::PageNotWritten, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OneRun r;
        r.inputs.minimum = "5";
        r.desk.fetch.serve(FeaturedFirstPageUrl(), test::PageCount("1") + twoRows);
        if (c.arrange) c.arrange(r);
        // The folder is held from the start until the search has returned, however it ends.
        std::vector<int> heldAtFetch;
        r.desk.fetch.onFetch = [&, arranged = r.desk.fetch.onFetch](const std::string& url) {
            heldAtFetch.push_back(r.desk.searchLock.holds);
            if (arranged) arranged(url);
        };
        const SearchOutcome outcome = r.run(SearchKind::Featured, true);
        EXPECT_EQ(heldAtFetch, std::vector<int>(heldAtFetch.size(), 1));
        const bool refused = c.end == SearchEnd::FolderInUse || c.end == SearchEnd::FolderUnusable;
        EXPECT_EQ(heldAtFetch.empty(), refused);
        EXPECT_EQ(r.desk.searchLock.holds, 0);
        if (!r.desk.identity.unwritable) {
            EXPECT_EQ(r.desk.searchLock.folders,
                      std::vector<std::string>{r.desk.identity.folder()});
        }
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.resultsPage,
                  c.page ? r.desk.identity.path("Finalsearch.htm").string() : "");
        EXPECT_EQ(outcome.whyUnreachable.empty(), c.end != SearchEnd::SiteUnreachable);
        // A folder that cannot serve is found before anything is fetched.
        EXPECT_EQ(outcome.whyFolderUnusable.empty(), c.end != SearchEnd::FolderUnusable);
        EXPECT_TRUE(c.end != SearchEnd::FolderUnusable || r.desk.fetch.requests.empty());
        // The listings as data, in the page's order, only from a written page.
        std::vector<std::string> links;
        for (const ListingRow& row : outcome.rows) links.push_back(row.link);
        EXPECT_EQ(links,
                  c.page ? std::vector<std::string>{"http://x/b"} : std::vector<std::string>{});
        if (r.desk.read("target")) {
            EXPECT_EQ(r.desk.read("target"), "kept");
            EXPECT_EQ(outcome.lostBlocks.count, 1u);
        }
        // Nothing is begun, nothing deleted, in a folder another program searches.
        EXPECT_TRUE(c.end != SearchEnd::FolderInUse || r.log.events.empty());
        EXPECT_TRUE(c.end != SearchEnd::FolderInUse || r.desk.files.removed.empty());
    }
}

TEST(SearchRun, CountsWhatItLostAndStartsEachRunAfresh) {
    OneRun r;
    r.desk.fetch.serve(CategoryFirstPageUrl("9"),
                       test::PageCount("3") + Block(ListingsRow("a", "2")));
    r.desk.fetch.serve(CategoryPageUrl("9", 2), Block(ListingsRow("b", "1")));
    r.inputs.category = "9";
    SearchOutcome outcome = r.run(SearchKind::Category);
    EXPECT_EQ(outcome.end, SearchEnd::Finished);
    EXPECT_EQ(outcome.lostPages.count, 1u);
    EXPECT_EQ(LossMessages(outcome),
              std::vector<std::string>{"1 page of the search could not be fetched (no scripted "
                                       "page for " +
                                       CategoryPageUrl("9", 3) +
                                       "); the results page lacks its listings."});
    EXPECT_TRUE(outcome.rows.empty());  // not asked for

    // The next run's first page announces no count it can read: it walks its own first page
    // only, not the page total of the run before, and has lost nothing.
    r.desk.fetch.requests.clear();
    r.desk.fetch.serve(CategoryFirstPageUrl("8"),
                       test::PageCount("x") + Block(ListingsRow("c", "2")));
    r.inputs.category = "8";
    outcome = r.run(SearchKind::Category);
    EXPECT_EQ(outcome.end, SearchEnd::Finished);
    EXPECT_EQ(outcome.lostPages.count, 0u);
    EXPECT_EQ(r.desk.fetch.requests, std::vector<std::string>(2, CategoryFirstPageUrl("8")));
}

}  // namespace
}  // namespace vendra
