#include <gtest/gtest.h>

#include "retrieval/ListingCount.h"
#include "support/Pages.h"

namespace vendra {
namespace {

TEST(ListingCount, ReadsTheCountCellAsWritten) {
    using S = ListingCount::Status;
    const struct {
        std::string page;
        S status;
        std::string text;
        std::int32_t listings;
    } cases[] = {
        {"<table>" + test::CountCell("120"), S::Found, "120", 120},
        {test::CountCell("1,234"), S::Found, "1,234", 1234},
        {"<TR><TD><FONT SIZE=\"2\" FACE=\"ARIAL, HELVETICA, SANS-SERIF\"><B>7</B>", S::Found, "7",
         7},
        {test::CountCell("many"), S::NotANumber, "many", 0},
        // Without the cell the count is cut from where the cell's text would have begun.
        {std::string(70, 'x') + "no count cell</b> at all", S::NotANumber,
         std::string(9, 'x') + "no count cell", 0},
        {test::CountCell("99999999999"), S::Overflow, "99999999999", 0},
        {"<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>120", S::NoEnd, "", 0},
        {"short page", S::NoEnd, "", 0},
    };
    for (const auto& c : cases) {
        const ListingCount count = ReadListingCount(c.page, {",", "."});
        EXPECT_EQ(count.status, c.status) << c.page;
        EXPECT_EQ(count.text, c.text) << c.page;
        EXPECT_EQ(count.listings, c.listings) << c.page;
    }
}

}  // namespace
}  // namespace vendra
