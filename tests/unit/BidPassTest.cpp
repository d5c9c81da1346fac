#include <gtest/gtest.h>

#include "report/BidPass.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::ListingsRow;

TEST(BidPass, FindsTheHighestCountOrSaysWhyNot) {
    using S = HighestBids::Status;
    const struct {
        const char* name;
        std::optional<std::string> listing;  // nullopt: no listing file
        S status;
        std::int16_t highest;
    } cases[] = {
        {"highest of all lines",
         ListingsRow("a", "5") + "\r\n" + ListingsRow("b", "7") + "\r" + ListingsRow("c"), S::Found,
         7},
        {"no line above zero", ListingsRow("a", "-3") + "\r\n" + ListingsRow("b"), S::Found, 0},
        {"empty file", "", S::Found, 0},
        {"a bad cell on the last line", ListingsRow("a", "7") + "\r\n" + ListingsRow("b", "lots"),
         S::Unreadable, 0},
        {"no listing file", std::nullopt, S::NoListingFile, 0},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desk;
        if (c.listing) desk.write("Listinglist.txt", *c.listing);
        const HighestBids bids = FindHighestBids(desk.files, desk.identity.path("Listinglist.txt"),
                                                 SearchKind::Category, {",", "."});
        EXPECT_EQ(bids.status, c.status) << c.name;
        EXPECT_EQ(bids.highest, c.highest) << c.name;
    }
    // A folder where the file should be cannot be read, which is not a missing file.
    test::FakeDesktop desk;
    std::filesystem::create_directory(desk.identity.path("Listinglist.txt"));
    EXPECT_EQ(
        FindHighestBids(desk.files, desk.identity.path("Listinglist.txt"), SearchKind::Category, {})
            .status,
        S::Unreadable);
}

}  // namespace
}  // namespace vendra
