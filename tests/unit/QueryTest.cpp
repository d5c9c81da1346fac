#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "platform/Hosts.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"

namespace vendra {
namespace {

using test::FakeControls;
using test::FakeDesktop;

TEST(MakeQuery, BuildsTheQueryTextOfEachMode) {
    const struct {
        int mode;
        std::string keywords;
        std::string excluded;
        std::string query;
    } cases[] = {
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
        // No entry selected.
        {-1, "red shoe", "used", ""},
    };
    for (const auto& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        desk.controls.setListIndex(Control::cmbSearch, c.mode);
        EXPECT_EQ(window.MakeQuery(c.keywords, c.excluded), c.query)
            << "mode " << c.mode << " keywords '" << c.keywords << "' excluded '" << c.excluded
            << "'";
    }
}

TEST(AddPlus, ReplacesEverySpaceAndNothingElse) {
    EXPECT_EQ(MainWindow::AddPlus("  red shoe "), "++red+shoe+");
    EXPECT_EQ(MainWindow::AddPlus(""), "");
    EXPECT_EQ(MainWindow::AddPlus("a+b\tc&d%e\xc3\xa9"), "a+b\tc&d%e\xc3\xa9");
}

// The first-page URL and the following-page prefix of a search started from the window: the
// prefix is read from the second results page that the walk asks for.
struct SearchUrls {
    std::string first;
    std::string prefix;
};

SearchUrls RunSearch(FakeDesktop& desk, MainWindow& window, void (MainWindow::*start)()) {
    desk.fetch.onFetch = [&](const std::string& url) {
        desk.fetch.serve(
            url, "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>60</b>");
    };
    (window.*start)();
    const auto& requests = desk.fetch.requests;
    if (requests.size() < 3 || !requests[2].ends_with("50")) return {requests.at(0), "?"};
    return {requests[0], requests[2].substr(0, requests[2].size() - 2)};
}

TEST(SearchUrls, AreBuiltFromTheTabsControls) {
    const std::string keyword =
        std::string("http://") + hosts::kKeywordSearch + "/search/search.dll?";
    const std::string description =
        std::string("http://") + hosts::kDescriptionSearch + "/search/search.dll?";
    const std::string completed =
        std::string("http://") + hosts::kCompletedSearch + "/search/search.dll?";
    struct Case {
        const char* name;
        std::function<void(FakeControls&)> type;
        void (MainWindow::*start)();
        std::string first;
        std::string prefix;
    };
    const Case cases[] = {
        {"keyword, titles only", [](FakeControls& c) { c.type(Control::txtTitle, "red shoe"); },
         &MainWindow::cmdSearch_Click,
         keyword + "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=red+shoe&query2=red+shoe&"
                   "search_option=1&exclude=&category0=&minPrice=&maxPrice=&ebaytag1code=0&st=&"
                   "SortProperty=MetaEndSort",
         keyword + "query=red+shoe&minPrice=&maxPrice=&region=0&ebaytag1=ebayreg&ht=1&category0=&"
                   "combine=y&SortProperty=MetaEndSort&st=2&skip="},
        {"keyword, titles and descriptions",
         [](FakeControls& c) {
             c.type(Control::txtTitle, "red shoe");
             c.type(Control::txtExcluded, "used old");
             c.type(Control::txtBeginPrice, "5");
             c.type(Control::txtEndPrice, "20");
             c.setListIndex(Control::cmbSearch, 1);
             c.setListIndex(Control::cmbCategories, 3);  // Books
             c.check(Control::Check1, 1);
         },
         &MainWindow::cmdSearch_Click,
         description +
             "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=(red,shoe)+-(used,old)&"
             "query2=red+shoe&search_option=2&srchdesc=y&exclude=used+old&category0=267&"
             "minPrice=5&maxPrice=20&ebaytag1code=0&st=&SortProperty=MetaEndSort",
         description +
             "query=(red,shoe)+-(used,old)&minPrice=5&maxPrice=20&srchdesc=y&region=0&"
             "ebaytag1=ebayreg&ht=1&category0=267&combine=y&SortProperty=MetaEndSort&st=2&"
             "skip="},
        {"keyword, no mode and no category selected",
         [](FakeControls& c) {
             c.type(Control::txtTitle, "red");
             c.type(Control::txtExcluded, " ");
             c.setListIndex(Control::cmbSearch, -1);
             c.setListIndex(Control::cmbCategories, -1);
         },
         &MainWindow::cmdSearch_Click,
         keyword + "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=&query2=red&"
                   "search_option=0&exclude=+&category0=&minPrice=&maxPrice=&ebaytag1code=0&st=&"
                   "SortProperty=MetaEndSort",
         keyword + "query=&minPrice=&maxPrice=&region=0&ebaytag1=ebayreg&ht=1&category0=&combine=y&"
                   "SortProperty=MetaEndSort&st=2&skip="},
        {"completed", [](FakeControls& c) { c.type(Control::Text2, "red shoe"); },
         &MainWindow::Command5_Click, completed + "ht=1&query=red+shoe&SortProperty=MetaEndSort",
         completed + "GetResult&query=red+shoe&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip="},
        {"completed, nothing typed", [](FakeControls&) {}, &MainWindow::Command5_Click,
         completed + "ht=1&query=&SortProperty=MetaEndSort",
         completed + "GetResult&query=&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip="},
    };
    for (const Case& c : cases) {
        FakeDesktop desk;
        MainWindow window(desk.platform);
        window.Load();
        c.type(desk.controls);
        const SearchUrls urls = RunSearch(desk, window, c.start);
        EXPECT_EQ(urls.first, c.first) << c.name;
        EXPECT_EQ(urls.prefix, c.prefix) << c.name;
    }
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
