#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "platform/Hosts.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"

namespace vendra {
namespace {

using test::FakeDesktop;

struct MakeQueryCase {
    int mode;
    std::string keywords;
    std::string excluded;
    std::string query;
};

TEST(MakeQuery, BuildsTheQueryTextOfEachMode) {
    const MakeQueryCase cases[] = {
        {0, "red shoe", "", "red+shoe"},
        {0, "red shoe", "used old", "red+shoe+-(used,old)"},
        {1, "red shoe", "", "(red,shoe)"},
        {1, "red shoe", "used old", "(red,shoe)+-(used,old)"},
        {2, "red shoe", "", "\"red+shoe\""},
        {2, "red shoe", "used old", "\"red+shoe\"+-(used,old)"},
        // Empty keywords are sent all the same.
        {0, "", "", ""},
        {1, "", "", "()"},
        {2, "", "", "\"\""},
        // Every space is one separator: nothing is trimmed or collapsed.
        {0, " red  shoe", "", "+red++shoe"},
        {1, " red  shoe", "", "(,red,,shoe)"},
        // A single space is an exclusion.
        {0, "red", " ", "red+-(,)"},
        // Only the space is replaced.
        {0, "a&b #1 50% (x,y)", "", "a&b+#1+50%+(x,y)"},
        {1, "a+b", "", "(a+b)"},
        // No entry selected.
        {-1, "red shoe", "used", ""},
    };
    for (const MakeQueryCase& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        desk.controls.setListIndex(Control::cmbSearch, c.mode);
        EXPECT_EQ(window.MakeQuery(c.keywords, c.excluded), c.query)
            << "mode " << c.mode << " keywords '" << c.keywords << "' excluded '" << c.excluded << "'";
    }
}

TEST(AddPlus, ReplacesEverySpaceAndNothingElse) {
    EXPECT_EQ(MainWindow::AddPlus("red shoe"), "red+shoe");
    EXPECT_EQ(MainWindow::AddPlus("  red shoe "), "++red+shoe+");
    EXPECT_EQ(MainWindow::AddPlus(""), "");
    EXPECT_EQ(MainWindow::AddPlus("redshoe"), "redshoe");
    EXPECT_EQ(MainWindow::AddPlus("a+b"), "a+b");
    EXPECT_EQ(MainWindow::AddPlus("a\tb&c%d\xc3\xa9"), "a\tb&c%d\xc3\xa9");
}

class SearchUrlTest : public ::testing::Test {
protected:
    // Runs the search up to its first fetch and returns the first-page URL and the following-page
    // prefix, the latter read from the second results page the walk asks for.
    std::pair<std::string, std::string> Urls(void (*start)(MainWindow&)) {
        desk.fetch.onFetch = [&](const std::string& url) {
            if (desk.fetch.requests.size() == 1)
                desk.fetch.serve(url, "<tr><td><font size=\"2\" face=\"Arial, Helvetica, "
                                      "sans-serif\"><b>60</b>");
        };
        start(window);
        const auto& requests = desk.fetch.requests;
        if (requests.size() < 3) return {requests.empty() ? "" : requests[0], ""};
        std::string next = requests[2];
        EXPECT_TRUE(next.ends_with("50"));
        next.resize(next.size() - 2);
        return {requests[0], next};
    }

    FakeDesktop desk;
    MainWindow window{desk.platform};
};

void StartKeyword(MainWindow& w) { w.cmdSearch_Click(); }
void StartCompleted(MainWindow& w) { w.Command5_Click(); }

TEST_F(SearchUrlTest, KeywordSearchTitlesOnly) {
    window.Load();
    desk.controls.type(Control::txtTitle, "red shoe");
    const auto [first, prefix] = Urls(StartKeyword);
    const std::string host = std::string("http://") + hosts::kKeywordSearch;
    EXPECT_EQ(first, host +
                         "/search/search.dll?MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query="
                         "red+shoe&query2=red+shoe&search_option=1&exclude=&category0=&minPrice=&"
                         "maxPrice=&ebaytag1code=0&st=&SortProperty=MetaEndSort");
    EXPECT_EQ(prefix, host +
                          "/search/search.dll?query=red+shoe&minPrice=&maxPrice=&region=0&ebaytag1="
                          "ebayreg&ht=1&category0=&combine=y&SortProperty=MetaEndSort&st=2&skip=");
}

TEST_F(SearchUrlTest, KeywordSearchTitlesAndDescriptions) {
    window.Load();
    desk.controls.type(Control::txtTitle, "red shoe");
    desk.controls.type(Control::txtExcluded, "used old");
    desk.controls.type(Control::txtBeginPrice, "5");
    desk.controls.type(Control::txtEndPrice, "20");
    desk.controls.setListIndex(Control::cmbSearch, 1);
    desk.controls.setListIndex(Control::cmbCategories, 3);  // Books
    desk.controls.check(Control::Check1, 1);
    const auto [first, prefix] = Urls(StartKeyword);
    const std::string host = std::string("http://") + hosts::kDescriptionSearch;
    EXPECT_EQ(first, host +
                         "/search/search.dll?MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query="
                         "(red,shoe)+-(used,old)&query2=red+shoe&search_option=2&srchdesc=y&"
                         "exclude=used+old&category0=267&minPrice=5&maxPrice=20&ebaytag1code=0&st=&"
                         "SortProperty=MetaEndSort");
    EXPECT_EQ(prefix, host +
                          "/search/search.dll?query=(red,shoe)+-(used,old)&minPrice=5&maxPrice=20&"
                          "srchdesc=y&region=0&ebaytag1=ebayreg&ht=1&category0=267&combine=y&"
                          "SortProperty=MetaEndSort&st=2&skip=");
}

TEST_F(SearchUrlTest, KeywordSearchWithoutAModeOrCategorySelected) {
    window.Load();
    desk.controls.type(Control::txtTitle, "red");
    desk.controls.type(Control::txtExcluded, " ");
    desk.controls.setListIndex(Control::cmbSearch, -1);
    desk.controls.setListIndex(Control::cmbCategories, -1);
    const auto [first, prefix] = Urls(StartKeyword);
    EXPECT_NE(first.find("&query=&query2=red&search_option=0&exclude=+&category0=&minPrice="),
              std::string::npos)
        << first;
    EXPECT_NE(prefix.find("?query=&minPrice="), std::string::npos) << prefix;
}

TEST_F(SearchUrlTest, CompletedSearch) {
    desk.controls.type(Control::Text2, "red shoe");
    const auto [first, prefix] = Urls(StartCompleted);
    const std::string host = std::string("http://") + hosts::kCompletedSearch;
    EXPECT_EQ(first, host + "/search/search.dll?ht=1&query=red+shoe&SortProperty=MetaEndSort");
    EXPECT_EQ(prefix, host +
                          "/search/search.dll?GetResult&query=red+shoe&ht=1&combine=y&"
                          "SortProperty=MetaEndSort&st=2&skip=");
}

TEST_F(SearchUrlTest, CompletedSearchWithNothingTyped) {
    const auto [first, prefix] = Urls(StartCompleted);
    EXPECT_NE(first.find("query=&SortProperty=MetaEndSort"), std::string::npos) << first;
    EXPECT_NE(prefix.find("query=&ht=1"), std::string::npos) << prefix;
}

TEST(QueryStages, NoRequestWhenStopFlagIsSet) {
    FakeDesktop desk;
    MainWindow window(desk.platform);
    window.Load();
    window.StopFlag = true;
    // The start commands clear StopFlag themselves, so the stages are called on their own here.
    desk.controls.type(Control::Text2, "x");
    desk.controls.type(Control::txtTitle, "x");
    MainWindowTestAccess::KeywordSearch(window);
    MainWindowTestAccess::CompletedSearch(window);
    EXPECT_TRUE(desk.fetch.requests.empty());
}

}  // namespace
}  // namespace vendra
