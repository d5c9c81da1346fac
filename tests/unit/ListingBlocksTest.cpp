#include <gtest/gtest.h>

#include <vector>

#include "retrieval/ListingBlocks.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::Block;
using test::kBlockStart;

std::vector<std::string> Cut(const std::string& page) {
    std::vector<std::string> blocks;
    ListingBlocks cutter(page);
    while (auto block = cutter.next()) blocks.emplace_back(*block);
    return blocks;
}

TEST(ListingBlocks, CutsEveryBlockInPageOrderWithItsBytes) {
    // Line breaks of every kind inside a block belong to the page and are kept.
    const std::string a = Block("row a1\r\nrow a2", "#eeeeee"), b = Block("row b1\nrow b2\rrow b3");
    const std::string upper =
        "<TABLE WIDTH=\"100%\" CELLPADDING=4 BORDER=0 CELLSPACING=0 BGCOLOR=#FFFFFF>";
    const std::string nested = kBlockStart + "#fff><tr><td><table><tr><td>inner</td></tr></table>";
    const struct {
        const char* name;
        std::string page;
        std::vector<std::string> blocks;
    } cases[] = {
        {"page order",
         "<html>" + a + "<p>between</p>" + b + "\r\n" + Block("c") + "</html>",
         {a, b, Block("c")}},
        // A start marker in capitals is found as the first block of a page only; an end marker
        // in capitals always.
        {"capitals",
         upper + "row 1</TABLE>" + upper + "row 2</table>" + Block("row 3"),
         {upper + "row 1</TABLE>", Block("row 3")}},
        {"a nested table ends the block",
         nested + "</td></tr>" + Block("next") + "</table>",
         {nested, Block("next")}},
        {"a block runs to the first end after it",
         Block("kept") + kBlockStart + "#fff>cut" + Block("lost"),
         {Block("kept"), kBlockStart + "#fff>cut" + Block("lost")}},
        {"cut short", Block("kept") + kBlockStart + "#fff>cut short", {Block("kept")}},
        {"the end marker must follow the whole start marker",
         kBlockStart.substr(0, 60) + "</table>",
         {}},
        {"no block", "<html>no listings</html>", {}},
        {"empty page", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Cut(c.page), c.blocks) << c.name;
}

}  // namespace
}  // namespace vendra
