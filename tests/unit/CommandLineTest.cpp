// The command line: what it takes and refuses, and a search from it through the controller,
// with fakes for the site and files: every status text of the search in order, what goes to
// standard output and error, and the exit status of every way a search ends.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/ConsoleSearch.h"
#include "query/Categories.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using namespace std::string_literals;

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

// The keyword search with every option is run through the window's logic below.
TEST(CommandLine, TakesEachSearchWithItsOptions) {
    const CommandLine category = Parse({"--min-bids", "32767", "--category", " 12", "--open"});
    EXPECT_EQ(category.action, CommandLine::Action::Search);
    EXPECT_EQ(category.search.kind, SearchKind::Category);
    EXPECT_EQ(category.search.category, " 12");
    EXPECT_EQ(category.search.minimumBids, "32767");
    EXPECT_TRUE(category.search.open);
    EXPECT_FALSE(Parse({"--featured"}).search.open);
    EXPECT_EQ(Parse({"--featured"}).search.kind, SearchKind::Featured);
    EXPECT_EQ(Parse({"--completed", ""}).search.kind, SearchKind::Completed);
    EXPECT_EQ(Parse({"--category", "7", "--help"}).action, CommandLine::Action::ShowHelp);
    // Blanks around the number, as the window's minimum box reads them; the text goes on as typed.
    for (const char* minimum : {" 3", "3 ", "\t-7 ", "+5", "-32768", "007"})
        EXPECT_EQ(Parse({"--featured", "--min-bids", minimum}).search.minimumBids, minimum);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::ShowVersion);
    // As GNU tools take them: --option=value, and "--" ending the options.
    const CommandLine joined = Parse({"--keywords=red=shoe", "--min-bids=-3", "--in=Books", "--"});
    EXPECT_EQ(joined.action, CommandLine::Action::Search);
    EXPECT_EQ(joined.search.words, "red=shoe");
    EXPECT_EQ(joined.search.minimumBids, "-3");
    EXPECT_EQ(joined.search.categoryIndex, *CategoryIndex("Books"));
    EXPECT_EQ(Parse({"--completed="}).search.words, "");
}

TEST(CommandLine, RefusesBadOptionsNamingTheOption) {
    struct Case {
        std::vector<std::string> arguments;
        std::string named;
    };
    std::vector<Case> cases = {
        {{"--category", "7", "--colour", "red"}, "--colour"},
        {{"--category"}, "--category"},
        {{"--keywords", "lamp", "--in", "Bookz"}, "--in"},
        {{"--keywords", "lamp", "--mode", "some"}, "--mode"},
        {{"--category", "7", "--mode", "any"}, "--mode"},
        {{"--category", "7", "--featured"}, "--featured"},
        {{"--min-bids", "3"}, "--category"},
        {{"--featured", "--data", "rows.txt"}, "--data"},
        {{"--featured", "--since"}, "--since"},
        {{"--featured=yes"}, "--featured"},
        {{"--featured", "--", "--open"}, "'--open'"},
        {{"--featured", "--min-bids=x"}, "--min-bids"},
    };
    // Each is refused before anything is fetched or deleted, not read by the window as nothing.
    for (const char* minimum : {"3.5", "40000", "-32769", "+-5", "-+5", "++5", "--5", "5-", "1 2",
                                "5+", "+", "", " ", "0x10", "1e3", "1,000", "3\n"})
        cases.push_back({{"--featured", "--min-bids", minimum}, "--min-bids"});
    for (const Case& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Refuse) << c.named << " " << c.arguments.back();
        EXPECT_NE(line.error.find(c.named), std::string::npos) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
    EXPECT_FALSE(WantsCommandLine(std::vector<std::string>{"-platform", "offscreen"}));
    EXPECT_TRUE(WantsCommandLine(std::vector<std::string>{"-platform", "offscreen", "--featured"}));
}

// The command line's search over fakes of the site, files and lock, its lines on `err`.
struct Console {
    test::FakeDesktop desk;
    std::ostringstream out, err;
    LineOutput output{err};
    ConsoleSearch search{{desk.runPorts(), output, &desk.shell}, out, err};

    int run(const SearchRequest& request, DataExport* data = nullptr) {
        return search.run(request, data);
    }
};

// Every way a search ends, with the exit status and the last line on standard error.
TEST(ConsoleSearch, PrintsTheResultsPageOrWhyThereIsNone) {
    const std::string page = test::PageCount("2") + test::Block(test::ListingsRow("a", "4"));
    const struct {
        const char* name;
        std::string firstPage;  // empty: cannot be fetched
        std::function<void(Console&)> arrange;
        int status;
        std::string lastError;
    } cases[] = {
        {"finished",
         page,
         {},
         kExitResultsWritten,
         "2 pages of listings found\n2 of 2 pages searched.\nFinding Bid amounts.......\n"
         "Creating Output.......\nFinished!!!"},
        {"a page lost",
         test::PageCount("3") + test::Block(test::ListingsRow("a", "4")),
         {},
         kExitResultsWritten,
         "Finished!!!\n1 page of the search could not be fetched (no scripted page for " +
             CategoryPageUrl("5", 3) + "); the results page lacks its listings."},
        {"stopped", page,
         [](Console& c) {
             // Ctrl+C twice while the walk fetches the first page: the walk still moves on once.
             c.desk.fetch.onFetch = [&c](auto&) {
                 if (c.desk.fetch.requests.size() == 2) c.search.interrupt(), c.search.interrupt();
             };
         },
         kExitStopped,
         "Ending the walk after the listings in hand; Ctrl+C again stops the search.\n"
         "2 of 2 pages searched.\nSearch stopped."},
        {"refused",
         "no listings",
         {},
         kExitNoResults,
         "eBay says your search returned too many listings. Please narrow it and try again\n"
         "No results page: the site refused the search as too large."},
        {"unreachable",
         "",
         {},
         kExitNoResults,
         "The auction site could not be reached: no scripted page for " +
             CategoryFirstPageUrl("5") +
             "\nNo results page: the auction site could not be reached."},
        {"bad bid cell",
         test::Block(test::ListingsRow("a", "lots")),
         {},
         kExitNoResults,
         "Finding Bid amounts.......\n"
         "No results page: a bid count in the listing file could not be read."},
        {"page not written", page,
         [](Console& c) {
             c.desk.fetch.onFetch = [&c](auto&) {
                 ::mkfifo(c.desk.identity.path("Finalsearch.htm").c_str(), 0600);
             };
         },
         kExitNoResults,
         "Creating Output.......\nNo results page: the results page could not be written."},
        {"folder in use", page, [](Console& c) { c.desk.searchLock.heldElsewhere = true; },
         kExitNoResults, "No results page: another Vendra is searching from this folder."},
        {"no writable folder", page, [](Console& c) { c.desk.identity.unwritable = true; },
         kExitNoResults,
         "The search cannot begin: No folder can hold the files.\n"
         "No results page: the folder of the working files cannot be used."},
        {"disk full, then refused", page,
         [](Console& c) {
             c.desk.files.unwritable.insert(c.desk.identity.path("Listinglist.txt").string());
         },
         kExitNoResults,
         "Please narrow it and try again\n1 listing block could not be written to the listing "
         "file (No space left on device); the results page lacks its listings.\n"
         "No results page: the site refused the search as too large."},
        {"standard output fails", page, [](Console& c) { c.out.setstate(std::ios::badbit); },
         kExitNoResults, "Finished!!!\nvendra: write error on standard output"},
    };
    for (const auto& c : cases) {
        Console console;
        if (!c.firstPage.empty()) console.desk.fetch.serve(CategoryFirstPageUrl("5"), c.firstPage);
        console.desk.fetch.serve(CategoryPageUrl("5", 2), "");
        if (c.arrange) c.arrange(console);
        EXPECT_EQ(console.run({.kind = SearchKind::Category, .category = "5", .minimumBids = "3"}),
                  c.status)
            << c.name;
        const std::string err = console.err.str();
        // Only a folder in use or none at all ends before the search begins.
        EXPECT_EQ(err.starts_with("Deleting Temporary Files.......\n"
                                  "Finding # of Auctions in Category.......\n"),
                  c.name != "folder in use"s && c.name != "no writable folder"s)
            << err;
        EXPECT_TRUE(err.ends_with(c.lastError + "\n")) << err;
        EXPECT_EQ(
            console.out.str(),
            c.status == 0 ? console.desk.identity.path("Finalsearch.htm").string() + "\n" : "")
            << c.name;
    }
    // A request without a search, which the options never let through, runs nothing.
    Console none;
    EXPECT_EQ(none.run({}), kExitBadOptions);
    EXPECT_TRUE(none.desk.fetch.requests.empty() && none.err.str().empty());
}

// The results page is written, but a script that asked for the data must not read an old file as
// this run's.
TEST(ConsoleSearch, ADataFileThatCannotBeWrittenEndsWithoutSuccess) {
    Console console;
    DataExport data(console.desk.files, console.desk.identity.path("gone/now.csv"), std::nullopt);
    console.desk.fetch.serve(FeaturedFirstPageUrl(), test::Block(test::ListingsRow("a", "4")));
    const SearchRequest request{.kind = SearchKind::Featured, .dataFile = "gone/now.csv"};
    EXPECT_EQ(console.run(request, &data), kExitNoResults);
    EXPECT_TRUE(console.desk.read("Finalsearch.htm"));
    EXPECT_TRUE(console.err.str().ends_with("No such file or directory\n")) << console.err.str();
    EXPECT_NE(console.err.str().find("The data file could not be written: "), std::string::npos);
    // The name of the earlier file in the last line is one line, whatever it holds.
    Console since;
    EarlierLinks earlier;
    earlier.links.insert("http://x/a");
    DataExport compared(since.desk.files, "", std::move(earlier));
    since.desk.fetch.serve(FeaturedFirstPageUrl(), test::Block(test::ListingsRow("a", "4")));
    EXPECT_EQ(since.run({.kind = SearchKind::Featured, .sinceFile = "old\nFAKE: 9.csv"}, &compared),
              kExitResultsWritten);
    EXPECT_TRUE(since.err.str().ends_with(" listings are new since old?FAKE: 9.csv\n"))
        << since.err.str();
}

TEST(ConsoleSearch, SendsTheRequestAsTypedAndCountsCtrlCPerSearch) {
    Console console;
    console.desk.fetch.onFetch = [&](const std::string& url) {
        console.desk.fetch.serve(url, test::CountCell("0"));
        // Stopped while the first page is being fetched.
        if (console.desk.fetch.requests.size() == 1) console.search.interrupt();
        if (console.desk.fetch.requests.size() == 1) console.search.interrupt();
    };
    const SearchRequest request =
        Parse({"--keywords", "red shoe", "--mode", "any", "--exclude", "used", "--in", "Books",
               "--price-from", "5", "--price-to", "x", "--descriptions", "--min-bids", "-3"})
            .search;
    EXPECT_EQ(request.minimumBids, "-3");
    EXPECT_EQ(console.run(request), kExitStopped);
    // The price as typed, as the window takes it.
    EXPECT_EQ(console.desk.fetch.requests,
              std::vector<std::string>{
                  KeywordSearchPages({"red shoe", "used", 1, true, "267", "5", "x"}).firstPage});
    EXPECT_TRUE(console.err.str().ends_with("stops the search.\nSearch stopped.\n"))
        << console.err.str();
    EXPECT_EQ(console.desk.fetch.cancelCount, 1);  // the page in flight is abandoned
    // A second search in the same process starts with no Ctrl+C counted: one is See Incomplete
    // Results, and the search ends with a results page.
    console.desk.fetch.onFetch = [&](const std::string& url) {
        console.desk.fetch.serve(url,
                                 test::CountCell("3") + test::Block(test::ListingsRow("a", "4")));
        if (console.desk.fetch.requests.size() == 2) console.search.interrupt();
    };
    EXPECT_EQ(console.run(request), kExitResultsWritten) << console.err.str();
}

}  // namespace
}  // namespace vendra
