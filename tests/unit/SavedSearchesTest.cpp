// The searches file: good files read as the command line would read the same options, and every
// kind of bad file told as FILE:LINE:COLUMN, one line a fault; the verbs' own command lines.

#include <gtest/gtest.h>

#include "cli/SavedWatch.h"
#include "query/Categories.h"

namespace vendra {
namespace {

SavedSearches Read(const std::string& text) { return ReadSavedSearches(text, "s.toml"); }

TEST(SearchesFile, ReadsEachTableAsTheOptionsWouldBeRead) {
    const SavedSearches saved = Read(
        "[books]\ncategory = 267\nmin-bids = 3\n\n"
        "[red-shoes]\nkeywords = \"red shoe\"\nmode = \"any\"\nexclude = \"used\"\n"
        "in = \"Clothing and Accessories\"\nprice-from = 10.5\nprice-to = \"20\"\n"
        "descriptions = true\nmin-bids = \" -2 \"\nevery = \"30m\"\n"
        "[A_1]\nfeatured = true\nevery = \"1d\"\nnotify = false\n[done]\ncompleted = "
        "\"lamp\"\nevery = \"2h\"\n");
    ASSERT_TRUE(saved.faults.empty()) << saved.faults.front();
    ASSERT_EQ(saved.searches.size(), 4u);
    // In the file's order, not the names' order.
    const NamedSearch& books = saved.searches[0];
    EXPECT_EQ(books.name, "books");
    EXPECT_EQ(books.search.kind, SearchKind::Category);
    EXPECT_EQ(books.search.category, "267");
    EXPECT_EQ(books.search.minimumBids, "3");
    EXPECT_EQ(books.everyMinutes, 60u);
    const NamedSearch& shoes = saved.searches[1];
    EXPECT_EQ(shoes.name, "red-shoes");
    EXPECT_EQ(shoes.search.kind, SearchKind::Keyword);
    EXPECT_EQ(shoes.search.words, "red shoe");
    EXPECT_EQ(shoes.search.modeIndex, 1);
    EXPECT_EQ(shoes.search.excluded, "used");
    EXPECT_EQ(shoes.search.categoryIndex, *CategoryIndex("Clothing and Accessories"));
    EXPECT_EQ(shoes.search.priceFrom, "10.5");
    EXPECT_EQ(shoes.search.priceTo, "20");
    EXPECT_TRUE(shoes.search.descriptions);
    EXPECT_EQ(shoes.search.minimumBids, " -2 ");
    EXPECT_EQ(shoes.everyMinutes, 30u);
    EXPECT_EQ(saved.searches[2].search.kind, SearchKind::Featured);
    EXPECT_EQ(saved.searches[2].everyMinutes, 24u * 60);
    EXPECT_TRUE(books.notify);
    EXPECT_FALSE(saved.searches[2].notify);
    EXPECT_EQ(saved.searches[3].search.kind, SearchKind::Completed);
    EXPECT_EQ(saved.searches[3].everyMinutes, 120u);

    EXPECT_EQ(Chosen(saved, {"done", "books"}).searches[0].name, "done");
    EXPECT_EQ(Chosen(saved, {"nope"}).faults,
              std::vector<std::string>{"no saved search is named \"nope\""});
}

TEST(SearchesFile, TellsEveryFaultWithItsPlace) {
    const std::string keys =
        "category, featured, keywords, mode, exclude, in, price-from, price-to, descriptions, "
        "completed, min-bids, every, notify";
    const struct {
        std::string text;
        std::vector<std::string> faults;
    } cases[] = {
        {"[a\ncategory = 1\n",
         {"s.toml:1:3: not TOML: Error while parsing table header: expected ']', saw '\\n'"}},
        {"[a]\ncategory = 1\ncolour = \"red\"\n",
         {"s.toml:3:1: unknown key \"colour\": a saved search takes " + keys}},
        {"[a]\ncategory = 1\nopen = true\n",
         {"s.toml:3:1: unknown key \"open\": a saved search takes " + keys}},
        {"[a]\nfeatured = \"yes\"\n",
         {"s.toml:1:2: a has no search: give category, featured = true, keywords or completed",
          "s.toml:2:1: featured takes true or false"}},
        {"[a]\nkeywords = 3\n",
         {"s.toml:1:2: a has no search: give category, featured = true, "
          "keywords or completed",
          "s.toml:2:1: keywords takes text in quotes"}},
        {"[a]\ncategory = [1]\nmin-bids = true\n",
         {"s.toml:1:2: a has no search: give category, featured = true, keywords or completed",
          "s.toml:2:1: category takes a number", "s.toml:3:1: min-bids takes a number"}},
        {"[a]\nmin-bids = 2\n",
         {"s.toml:1:2: a has no search: give category, featured = true, keywords or completed"}},
        {"[a]\nfeatured = true\ncompleted = \"x\"\n",
         {"s.toml:3:1: completed and featured are two searches; give one"}},
        {"[a]\ncategory = 1\nmin-bids = 40000\n[b]\ncategory = 2\nmin-bids = 2.5\n",
         {"s.toml:3:1: min-bids takes a whole number from -32768 to 32767, not '40000'",
          "s.toml:6:1: min-bids takes a whole number from -32768 to 32767, not '2.5'"}},
        {"[a]\ncategory = 1\nmode = \"any\"\n", {"s.toml:3:1: mode belongs to a keywords search"}},
        {"[a]\nkeywords = \"x\"\nin = \"Bookz\"\n",
         {"s.toml:3:1: in: no category is named 'Bookz'"}},
        {"[a]\ncategory = 1\nevery = \"4m\"\n[b]\ncategory = 1\nevery = \"1w\"\n"
         "[c]\ncategory = 1\nevery = 30\n",
         {"s.toml:3:1: every must be at least 5 minutes, not \"4m\"",
          "s.toml:6:1: every takes a time such as \"30m\", \"2h\" or \"1d\", not \"1w\"",
          "s.toml:9:1: every takes a time such as \"30m\", \"2h\" or \"1d\""}},
        {"[\"red shoes\"]\ncategory = 1\n[\"\"]\ncategory = 2\n",
         {"s.toml:1:2: a saved search's name is letters, digits, - and _ only, not \"red shoes\"",
          "s.toml:3:2: a saved search's name is letters, digits, - and _ only, not \"\""}},
        {"[a]\ncategory = 1\nnotify = \"no\"\n", {"s.toml:3:1: notify takes true or false"}},
        {"category = 1\n",
         {"s.toml:1:1: \"category\" is not a saved search: give it as [category]"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.text).faults, c.faults) << c.text;
}

TEST(SearchesFile, VerbsTakeTheirOwnOptions) {
    const auto parse = [](std::vector<std::string> arguments) {
        EXPECT_TRUE(WantsCommandLine(arguments));
        return ParseCommandLine(arguments);
    };
    const CommandLine watch = parse({"watch", "--once", "a", "--searches=s.toml", "--", "--b"});
    EXPECT_EQ(watch.action, CommandLine::Action::Watch);
    EXPECT_EQ(watch.names, (std::vector<std::string>{"a", "--b"}));
    EXPECT_EQ(watch.search.searchesFile, "s.toml");
    const CommandLine history = parse({"history", "a", "--data", "h.csv", "--history", "h.db"});
    EXPECT_EQ(history.action, CommandLine::Action::History);
    EXPECT_EQ(history.search.historyFile, "h.db");
    EXPECT_EQ(history.search.dataFile, "h.csv");
    const CommandLine page = parse({"history", "a", "--html", "a.html", "--open"});
    EXPECT_EQ(page.search.htmlFile, "a.html");
    EXPECT_TRUE(page.search.open);
    EXPECT_FALSE(parse({"watch", "--once", "--no-notify"}).search.notify);
    for (const std::vector<std::string>& refused :
         std::vector<std::vector<std::string>>{{"watch", "--once", "--data", "x.csv"},
                                               {"history"},
                                               {"history", "a", "b"},
                                               {"history", "a", "--once"},
                                               {"history", "a", "--open"},
                                               {"history", "a", "--no-notify"},
                                               {"watch", "--once", "--html", "a.html"},
                                               {"history", "a", "--data", "x.txt"},
                                               {"--category", "1", "--once"}})
        EXPECT_EQ(parse(refused).action, CommandLine::Action::Refuse) << refused.back();
}

}  // namespace
}  // namespace vendra
