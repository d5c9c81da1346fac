#include <gtest/gtest.h>

#include "app/WorkingFiles.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

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
    // A folder standing where the results page should be cannot be deleted either.
    std::filesystem::create_directories(desk.identity.path("Finalsearch.htm") / "inside");
    RemoveWorkingFiles(desk.files, paths);
    EXPECT_TRUE(std::filesystem::is_directory(desk.identity.path("Finalsearch.htm")));
}

}  // namespace
}  // namespace vendra
