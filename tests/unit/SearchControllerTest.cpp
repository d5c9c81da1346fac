// What the window's side of a search shows of what it guards, with fakes: a folder another
// program searches, the pages and listing blocks a walk lost, and the working files removed
// before a search. The button states of every step are checked on the real window,
// the status texts through the command line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "controller/SearchController.h"
#include "run/SearchTexts.h"
#include "search/WorkingFiles.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;

class SearchControllerTest : public ::testing::Test {
  protected:
    SearchControllerTest() {
        logic.load();
        desk.controls.type(Control::MinimumBids, "0");
    }

    test::FakeDesktop desk;
    SearchController logic{desk.platform};
};

// Another program searching the folder: the window says so and stays ready, changing nothing.
TEST_F(SearchControllerTest, AFolderInUseIsToldAndChangesNothing) {
    desk.write("Listinglist.txt", "their blocks");
    desk.searchLock.heldElsewhere = true;
    logic.startFeaturedSearch();
    EXPECT_EQ(logic.lastSearchEnd(), SearchEnd::FolderInUse);
    EXPECT_EQ(desk.read("Listinglist.txt"), "their blocks");
    EXPECT_EQ(desk.messages.messages,
              std::vector<std::string>{"Another Vendra window is searching from this folder. "
                                       "Wait for it to finish, then search again."});
    EXPECT_EQ(desk.controls.statusHistory, std::vector<std::string>{"Ready for another search"});
    EXPECT_TRUE(desk.controls.enabled(Control::FeaturedSearchButton));
}

TEST_F(SearchControllerTest, PagesAndBlocksLostAreReportedAfterTheResultsPageOpens) {
    const std::string reason = test::FakeFiles::kUnwritableReason;
    const std::string pageLost =
        "1 page of the search could not be fetched (no scripted page for " + FeaturedPageUrl(3) +
        "); the results page lacks its listings.";
    const struct {
        bool thirdPageServed;
        int firstUnwritablePage;  // 0: every block is written
        std::vector<std::string> messages;
    } cases[] = {
        {true, 0, {}},
        {true,
         3,
         {"1 listing block could not be written to the listing file (" + reason +
          "); the results page lacks its listings."}},
        {true,
         2,
         {"3 listing blocks could not be written to the listing file (" + reason +
          "); the results page lacks their listings."}},
        {false, 0, {pageLost}},
        {false,
         2,
         {pageLost, "2 listing blocks could not be written to the listing file (" + reason +
                        "); the results page lacks their listings."}},
    };
    const std::string listing = desk.identity.path("Listinglist.txt").string();
    desk.fetch.serve(FeaturedFirstPageUrl(),
                     test::PageCount("3") + Block(test::ListingsRow("a", "1")));
    desk.fetch.serve(FeaturedPageUrl(2), Block("b") + Block("c"));
    for (const auto& c : cases) {
        desk.messages.messages.clear();
        desk.shell.opened.clear();
        desk.files.unwritable.clear();
        desk.fetch.pages.erase(FeaturedPageUrl(3));
        if (c.thirdPageServed) desk.fetch.serve(FeaturedPageUrl(3), Block("d"));
        desk.fetch.onFetch = [&](const std::string& url) {
            if (url == FeaturedPageUrl(c.firstUnwritablePage))
                desk.files.unwritable.insert(listing);
        };
        std::string seenAtMessage;
        desk.messages.onShow = [&] {
            seenAtMessage =
                desk.controls.status() + ", opened " + std::to_string(desk.shell.opened.size());
        };
        logic.startFeaturedSearch();

        EXPECT_EQ(desk.messages.messages, c.messages);
        EXPECT_EQ(seenAtMessage, c.messages.empty() ? "" : "Finished!!!, opened 1");
        EXPECT_EQ(logic.lastSearchEnd(), SearchEnd::Finished);
        EXPECT_NE(desk.read("Finalsearch.htm").value_or("").find("http://x/a"), std::string::npos);
    }
}

TEST_F(SearchControllerTest, AListingFileRemovedDuringTheWalkEndsWithTheLaterBlocksRows) {
    desk.fetch.serve(FeaturedFirstPageUrl(),
                     test::PageCount("3") + Block(test::ListingsRow("a", "1")));
    desk.fetch.serve(FeaturedPageUrl(2), Block(test::ListingsRow("b", "1")));
    desk.fetch.serve(FeaturedPageUrl(3), Block(test::ListingsRow("c", "1")));
    desk.fetch.onFetch = [&](const std::string& url) {
        if (url == FeaturedPageUrl(3))
            std::filesystem::remove(desk.identity.path("Listinglist.txt"));
    };
    logic.startFeaturedSearch();
    EXPECT_EQ(logic.lastSearchEnd(), SearchEnd::Finished);
    const std::string results = desk.read("Finalsearch.htm").value_or("");
    EXPECT_NE(results.find("http://x/c"), std::string::npos);
    EXPECT_EQ(results.find("http://x/b"), std::string::npos);
    EXPECT_TRUE(desk.messages.messages.empty());
}

// A search that ends without a results page still tells what it lost; one whose folder cannot
// serve says why before it fetches anything. Either way the window is ready again.
TEST_F(SearchControllerTest, LossesAndAnUnusableFolderAreToldWithoutAResultsPage) {
    const std::string results = desk.identity.path("Finalsearch.htm").string();
    desk.fetch.serve(FeaturedFirstPageUrl(),
                     test::PageCount("2") + Block(test::ListingsRow("a", "1")));
    desk.fetch.serve(FeaturedPageUrl(2), Block("b"));
    // A full disk from the first block on: no listing file, which reads as a refused search.
    desk.files.unwritable.insert(desk.identity.path("Listinglist.txt").string());
    logic.startFeaturedSearch();
    EXPECT_EQ(desk.messages.messages,
              (std::vector<std::string>{kTooManyListingsMessage,
                                        "2 listing blocks could not be written to the listing "
                                        "file (No space left on device); the results page "
                                        "lacks their listings."}));
    desk.messages.messages.clear();
    desk.fetch.requests.clear();
    std::filesystem::create_directories(std::filesystem::path(results) / "x");
    logic.startFeaturedSearch();
    EXPECT_EQ(logic.lastSearchEnd(), SearchEnd::FolderUnusable);
    EXPECT_EQ(desk.messages.messages,
              std::vector<std::string>{"The search cannot begin: Cannot delete " + results +
                                       ": not a regular file."});
    EXPECT_TRUE(desk.fetch.requests.empty());
    EXPECT_EQ(desk.controls.status(), "Ready for another search");
    EXPECT_TRUE(desk.controls.enabled(Control::FeaturedSearchButton));
}

TEST(WorkingFiles, RemovingDeletesBothFilesAndIgnoresEveryFailure) {
    test::FakeDesktop desk;
    const WorkingFiles paths = WorkingFiles::In(desk.identity.folder());
    EXPECT_EQ(paths.results, desk.identity.path("Finalsearch.htm").string());
    // Neither file there: nothing to report.
    RemoveWorkingFiles(desk.files, paths);
    EXPECT_EQ(desk.files.removed, (std::vector<std::string>{paths.listing, paths.results}));
    // Both there, then one that cannot be deleted (held open, no permission): the other still goes.
    for (bool heldOpen : {false, true}) {
        desk.write("Listinglist.txt", "old");
        desk.write("Finalsearch.htm", "old");
        if (heldOpen) desk.files.undeletable.insert(paths.listing);
        RemoveWorkingFiles(desk.files, paths);
        EXPECT_EQ(desk.read("Listinglist.txt"),
                  heldOpen ? std::optional<std::string>("old") : std::nullopt);
        EXPECT_FALSE(desk.read("Finalsearch.htm"));
    }
    // A link (its target untouched) or a FIFO where a working file should be goes as a file
    // does; a folder there cannot, and is named before the search fetches anything.
    desk.files.undeletable.clear();
    RemoveWorkingFiles(desk.files, paths);
    std::ofstream(desk.identity.path("target")) << "kept";
    std::filesystem::create_symlink(desk.identity.path("target"), paths.listing);
    ASSERT_EQ(::mkfifo(paths.results.c_str(), 0600), 0);
    EXPECT_EQ(RemoveWorkingFiles(desk.files, paths), std::nullopt);
    EXPECT_EQ(std::filesystem::directory_iterator(desk.identity.folder())->path().filename(),
              "target");
    EXPECT_EQ(desk.read("target"), "kept");
    std::filesystem::create_directories(desk.identity.path("Finalsearch.htm") / "inside");
    EXPECT_EQ(RemoveWorkingFiles(desk.files, paths),
              "Cannot delete " + paths.results + ": not a regular file");
}

}  // namespace
}  // namespace vendra
