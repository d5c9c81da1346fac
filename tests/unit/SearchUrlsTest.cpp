#include <gtest/gtest.h>

#include "query/Categories.h"
#include "query/SearchUrls.h"
#include "query/SiteAddresses.h"

namespace vendra {
namespace {

const std::string kListings = std::string("http://") + hosts::kListings;

TEST(SearchUrls, ListingPagesTakeTheCategoryAsTyped) {
    EXPECT_EQ(CategoryFirstPageUrl("12345"),
              kListings + "/aw/plistings/list/category12345/index.html");
    EXPECT_EQ(CategoryFirstPageUrl(""), kListings + "/aw/plistings/list/category/index.html");
    EXPECT_EQ(CategoryFirstPageUrl(" 12"), kListings + "/aw/plistings/list/category 12/index.html");
    EXPECT_EQ(CategoryPageUrl("7", 32767),
              kListings + "/aw/plistings/list/category7/page32767.html");
    EXPECT_EQ(FeaturedFirstPageUrl(), kListings + "/aw/plistings/list/featured/index.html");
    EXPECT_EQ(FeaturedPageUrl(2), kListings + "/aw/plistings/list/category0/page2.html?featured");
    EXPECT_EQ(CategoriesIndexUrl(), kListings + "/aw/listings/list/categories.html");
}

TEST(SearchUrls, QueryTextOfEachMode) {
    const struct {
        int mode;
        std::string title, excluded, query;
    } cases[] = {
        {0, "red shoe", "", "red+shoe"},
        {0, "red shoe", "used old", "red+shoe+-(used,old)"},
        {2, "red shoe", "used old", "\"red+shoe\"+-(used,old)"},
        // Empty words are sent all the same.
        {1, "", "", "()"},
        // Every space is one separator: nothing is trimmed or collapsed; a lone space excludes.
        {0, " red  shoe", " ", "+red++shoe+-(,)"},
        // Only the space is replaced.
        {0, "a&b #1 50% (x,y)", "", "a&b+#1+50%+(x,y)"},
        {-1, "red shoe", "used", ""},  // no mode selected
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeywordQueryText(c.title, c.excluded, c.mode), c.query)
            << c.mode << " '" << c.title << "'";
}

TEST(SearchUrls, ResultPagesOfTheKeywordAndCompletedSearches) {
    const auto dll = [](const char* host) {
        return std::string("http://") + host + "/search/search.dll?";
    };
    const std::string keyword = dll(hosts::kKeywordSearch),
                      description = dll(hosts::kDescriptionSearch),
                      completed = dll(hosts::kCompletedSearch);
    const struct {
        const char* name;
        ResultPages pages, expected;
    } cases[] = {
        {"titles only",
         KeywordSearchPages({"red shoe", "", 0, false, "", "", ""}),
         {keyword +
              "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=red+shoe&query2=red+shoe&"
              "search_option=1&exclude=&category0=&minPrice=&maxPrice=&ebaytag1code=0&st=&"
              "SortProperty=MetaEndSort",
          keyword + "query=red+shoe&minPrice=&maxPrice=&region=0&ebaytag1=ebayreg&ht=1&category0=&"
                    "combine=y&SortProperty=MetaEndSort&st=2&skip="}},
        {"titles and descriptions",
         KeywordSearchPages({"red shoe", "used old", 1, true, "267", "5", "20"}),
         {description +
              "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=(red,shoe)+-(used,old)&"
              "query2=red+shoe&search_option=2&srchdesc=y&exclude=used+old&category0=267&"
              "minPrice=5&maxPrice=20&ebaytag1code=0&st=&SortProperty=MetaEndSort",
          description +
              "query=(red,shoe)+-(used,old)&minPrice=5&maxPrice=20&srchdesc=y&region=0&"
              "ebaytag1=ebayreg&ht=1&category0=267&combine=y&SortProperty=MetaEndSort&st=2&skip="}},
        {"no mode selected",
         KeywordSearchPages({"red", " ", -1, false, "", "", ""}),
         {keyword + "MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=&query2=red&"
                    "search_option=0&exclude=+&category0=&minPrice=&maxPrice=&ebaytag1code=0&st=&"
                    "SortProperty=MetaEndSort",
          keyword +
              "query=&minPrice=&maxPrice=&region=0&ebaytag1=ebayreg&ht=1&category0=&combine=y&"
              "SortProperty=MetaEndSort&st=2&skip="}},
        {"completed",
         CompletedSearchPages("red shoe"),
         {completed + "ht=1&query=red+shoe&SortProperty=MetaEndSort",
          completed +
              "GetResult&query=red+shoe&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip="}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.pages.firstPage, c.expected.firstPage) << c.name;
        EXPECT_EQ(c.pages.followingPrefix, c.expected.followingPrefix) << c.name;
    }
}

TEST(Categories, NumbersByListIndexAndIndexesByName) {
    // All Categories, Books, the last, and out of the list at both ends.
    for (const auto& [index, number] :
         {std::pair{0, ""}, {3, "267"}, {23, "99"}, {-1, ""}, {24, ""}})
        EXPECT_EQ(CategoryNumber(index), number) << index;
    EXPECT_EQ(CategoryIndex("Books"), 3);
    EXPECT_EQ(CategoryIndex("books"), std::nullopt);
}

}  // namespace
}  // namespace vendra
