#include <gtest/gtest.h>

#include "cli/CommandLine.h"

namespace vendra {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, TakesEachSearchWithItsOptions) {
    const SearchRequest keyword = Parse({"--keywords", "red shoe", "--mode", "exact", "--exclude",
                                         "used", "--in", "Books", "--price-from", "5", "--price-to",
                                         "x", "--descriptions", "--min-bids", "-3", "--open"})
                                      .search;
    EXPECT_EQ(keyword.kind, SearchKind::Keyword);
    EXPECT_EQ(keyword.words, "red shoe");
    EXPECT_EQ(keyword.modeIndex, 2);
    EXPECT_EQ(keyword.excluded, "used");
    EXPECT_EQ(keyword.categoryIndex, 3);
    EXPECT_EQ(keyword.priceFrom, "5");
    EXPECT_EQ(keyword.priceTo, "x");  // as typed, as the window takes it
    EXPECT_TRUE(keyword.descriptions);
    EXPECT_EQ(keyword.minimumBids, "-3");
    EXPECT_TRUE(keyword.open);

    const CommandLine category = Parse({"--min-bids", "32767", "--category", " 12"});
    EXPECT_EQ(category.action, CommandLine::Action::Search);
    EXPECT_EQ(category.search.category, " 12");
    EXPECT_EQ(category.search.minimumBids, "32767");
    EXPECT_FALSE(category.search.open);
    EXPECT_EQ(Parse({"--featured"}).search.kind, SearchKind::Featured);
    EXPECT_EQ(Parse({"--completed", ""}).search.kind, SearchKind::Completed);
    EXPECT_EQ(Parse({"--category", "7", "--help"}).action, CommandLine::Action::ShowHelp);
    EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::ShowVersion);
}

TEST(CommandLine, RefusesBadOptionsNamingTheOption) {
    const struct {
        std::vector<std::string> arguments;
        std::string named;
    } cases[] = {
        {{"--category", "7", "--colour", "red"}, "--colour"},
        {{"--category"}, "--category"},
        {{"--featured", "--min-bids"}, "--min-bids"},
        {{"--featured", "--min-bids", "3.5"}, "--min-bids"},
        {{"--featured", "--min-bids", "40000"}, "--min-bids"},
        {{"--featured", "--min-bids", "-32769"}, "--min-bids"},
        {{"--featured", "--min-bids", " 3"}, "--min-bids"},
        {{"--featured", "--min-bids", ""}, "--min-bids"},
        {{"--keywords", "lamp", "--in", "Bookz"}, "--in"},
        {{"--keywords", "lamp", "--mode", "some"}, "--mode"},
        {{"--category", "7", "--mode", "any"}, "--mode"},
        {{"--category", "7", "--featured"}, "--featured"},
        {{"--min-bids", "3"}, "--category"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Refuse) << c.named;
        EXPECT_NE(line.error.find(c.named), std::string::npos) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
    EXPECT_FALSE(WantsCommandLine(std::vector<std::string>{"-platform", "offscreen"}));
    EXPECT_TRUE(WantsCommandLine(std::vector<std::string>{"-platform", "offscreen", "--featured"}));
}

}  // namespace
}  // namespace vendra
