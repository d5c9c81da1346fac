// The data file of the kept listings, both formats: the exact bytes, a round trip through the
// reader of an earlier run's links, the files that reader refuses, and writes that fail.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <unordered_set>

#include "report/DataFile.h"
#include "report/EarlierRun.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

const ListingRow kAwkward{12,      "Lamp, \"rare\"", "http://x/1?a=1,b=\"2\"\nc",
                          "$4.00", "03/14",          true};
const ListingRow kPlain{0, "Atlas", "", "", "", true};

std::string Written(test::FakeDesktop& desk, const std::string& name,
                    const std::vector<std::pair<ListingRow, Novelty>>& rows) {
    DataFileWriter writer(desk.files, desk.identity.path(name), *DataFormatOf(name));
    for (const auto& [row, novelty] : rows) writer.add(row, novelty);
    writer.finish();
    return desk.read(name).value_or("no file");
}

TEST(DataFile, TakesItsFormatFromTheName) {
    for (const char* csv : {"a.csv", "dir/Results.CSV", ".csv"})
        EXPECT_EQ(DataFormatOf(csv), DataFormat::Csv) << csv;
    EXPECT_EQ(DataFormatOf("a.Json"), DataFormat::Json);
    for (const char* other : {"a.csv.txt", "csv", "a.jsonl", "a.htm", ""})
        EXPECT_EQ(DataFormatOf(other), std::nullopt) << other;
}

TEST(DataFile, WritesCsvAndJsonByteForByte) {
    test::FakeDesktop desk;
    const std::vector<std::pair<ListingRow, Novelty>> rows{{kAwkward, Novelty::New},
                                                           {kPlain, Novelty::NotAsked}};
    EXPECT_EQ(Written(desk, "d.csv", rows),
              "bids,title,link,price,ends,new\r\n"
              "12,\"Lamp, \"\"rare\"\"\",\"http://x/1?a=1,b=\"\"2\"\"\nc\",$4.00,03/14,yes\r\n"
              "0,Atlas,,,,\r\n");
    EXPECT_EQ(
        Written(desk, "d.json", rows),
        "[\n{\"bids\":12,\"title\":\"Lamp, \\\"rare\\\"\",\"link\":\"http://x/1?a=1,b=\\\"2\\\""
        "\\nc\",\"price\":\"$4.00\",\"ends\":\"03/14\",\"new\":\"yes\"},\n"
        "{\"bids\":0,\"title\":\"Atlas\",\"link\":\"\",\"price\":\"\",\"ends\":\"\",\"new\":\"\"}"
        "\n]\n");
    EXPECT_EQ(Written(desk, "none.json", {}), "[]\n");
    EXPECT_FALSE(desk.read("d.csv.partial"));
}

// Whether `set` holds these links and no other.
bool Holds(const LinkSet& set, const std::unordered_set<std::string>& links) {
    for (const std::string& link : links)
        if (!set.contains(link)) return false;
    return set.size() == links.size() && !set.contains("http://x/other");
}

TEST(DataFile, GivesBackTheLinksItWrote) {
    const std::unordered_set<std::string> links{kAwkward.link,  "a\r\nb", " spaced ",
                                                "caf\u00e9,\"", "\"",     "http://x/?q=1&amp;r=2"};
    for (const char* name : {"d.csv", "d.JSON"}) {
        test::FakeDesktop desk;
        std::vector<std::pair<ListingRow, Novelty>> rows{{kPlain, Novelty::Seen}};
        for (const std::string& link : links) rows.push_back({{1, "t", link, "", "", true}, {}});
        Written(desk, name, rows);
        const EarlierLinks earlier = ReadEarlierLinks(desk.files, desk.identity.path(name));
        EXPECT_EQ(earlier.error, "") << name;
        EXPECT_TRUE(Holds(earlier.links, links)) << name;
    }
    // As a spreadsheet may save it: a byte order mark, LF line ends, other columns first.
    test::FakeDesktop desk;
    desk.write("s.csv", "\xEF\xBB\xBFnote,link\n\"x\ny\",http://x/1\n,\"http://x/2\"\n\n");
    EXPECT_TRUE(Holds(ReadEarlierLinks(desk.files, desk.identity.path("s.csv")).links,
                      {"http://x/1", "http://x/2"}));
}

// Many links, each once, some longer than a piece of the set's storage, across its growth.
TEST(DataFile, KeepsMillionsOfLinksEachOnce) {
    LinkSet set;
    const std::string huge(3 << 20, 'h');
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 200000; ++i) set.insert("http://x/" + std::to_string(i));
        set.insert(huge);
        set.insert("");
    }
    EXPECT_EQ(set.size(), 200002u);
    for (int i = 0; i < 200000; i += 997)
        EXPECT_TRUE(set.contains("http://x/" + std::to_string(i)));
    EXPECT_TRUE(set.contains(huge) && set.contains(""));
    EXPECT_FALSE(set.contains("http://x/200000") || set.contains(huge + "h"));
    set.clear();
    EXPECT_TRUE(set.empty() && !set.contains(""));
}

TEST(DataFile, RefusesWhatNoRunWrote) {
    const struct {
        const char* name;
        const char* content;  // nullptr: no file; "/": a folder
        const char* why;
    } cases[] = {
        {"gone.csv", nullptr, "No such file"},
        {"folder.json", "/", "not a regular file"},
        {"open.csv", "bids,link\r\n1,\"http://x", "malformed CSV at line 2"},
        {"nolink.csv", "bids,title\r\n1,a\r\n", "no link column"},
        {"short.csv", "a,b,link\r\n1,2\r\n", "record 1 has no link field"},
        {"bad.json", "[{\"link\":\"a\"},", "malformed JSON at byte 15"},
        {"unclosed.json", "[{\"link\":\"a\"}", "malformed JSON at byte 14"},
        {"deep.json",
         "[{\"x\":[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[",
         "nested deeper than 64 levels at byte 69"},
        {"flat.json", "[[[[[[[[", "listing 1 has no link text, at byte 2"},
        {"top.json", "{\"link\":\"a\"}", "not a JSON array"},
        {"number.json", "[{\"link\":\"a\"},{\"link\":7}]", "listing 2 has no link text"},
        {"results.htm", "<html>", "not a data file name"},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desk;
        if (c.content && std::string(c.content) == "/")
            std::filesystem::create_directory(desk.identity.path(c.name));
        else if (c.content)
            desk.write(c.name, c.content);
        const EarlierLinks earlier = ReadEarlierLinks(desk.files, desk.identity.path(c.name));
        EXPECT_NE(earlier.error.find(desk.identity.path(c.name).string()), std::string::npos)
            << earlier.error;
        EXPECT_NE(earlier.error.find(c.why), std::string::npos) << earlier.error;
        EXPECT_EQ(earlier.error.find('\n'), std::string::npos) << earlier.error;
        EXPECT_TRUE(earlier.links.empty()) << c.name;
    }
}

// A write that fails (a full disk, here a file size limit) says so and leaves the earlier file as
// it was, and no temporary beside it.
TEST(DataFile, AFailedWriteKeepsTheEarlierFile) {
    test::FakeDesktop desk;
    ::signal(SIGXFSZ, SIG_IGN);
    for (const char* name : {"d.csv", "d.json"}) {
        desk.write(name, "earlier");
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit full{100, limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_THROW(
            {
                DataFileWriter writer(desk.files, desk.identity.path(name), *DataFormatOf(name));
                for (int i = 0; i < 3; ++i) writer.add(kAwkward, Novelty::New);
                writer.finish();
            },
            FileError)
            << name;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(desk.read(name), "earlier") << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(desk.identity.folder()), {}), 2);
    EXPECT_THROW(DataFileWriter(desk.files, desk.identity.path("no/such/d.csv"), DataFormat::Csv),
                 FileError);
}

}  // namespace
}  // namespace vendra
