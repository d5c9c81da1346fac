// The bid pass and the results page: the exact bytes for every way a run ends, and the rows held
// by bid count given back in page order. The one read of the listing file is compared with the
// plain way of one pass per bid count by the results writer's fuzz target.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ReferenceWriter.h"
#include "report/BidPass.h"
#include "report/HeldRows.h"
#include "report/ResultsWriter.h"
#include "support/Fakes.h"
#include "support/Pages.h"

namespace vendra {
namespace {

using test::ListingsCell;
using test::ListingsRow;

constexpr char kListing[] = "Listinglist.txt";
constexpr char kPage[] = "Finalsearch.htm";
constexpr char kOldPage[] = "the previous search's page";

std::string Whole(const std::vector<std::string>& rows) {
    std::string page = reference::ExpectedPageHead();
    for (const std::string& row : rows) page += row;
    return page + reference::ExpectedPageEnd();
}

// Refuses to create the results page, as in a folder that has gone.
class NoFolderFiles : public test::FakeFiles {
  public:
    std::unique_ptr<TextWriter> create(const std::string& path) override {
        throw FileError(FileError::Kind::NotFound, "no such folder: " + path);
    }
};

struct WriterRun {
    test::FakeDesktop desk;
    ResultsOutcome write(TextFiles& files, const std::string& minimum, std::int16_t highest) {
        return WriteResults(files, desk.identity.path(kListing), desk.identity.path(kPage), minimum,
                            highest, SearchKind::Category, {",", "."});
    }
};

TEST(BidPass, FindsTheHighestCountOrSaysWhyNot) {
    using S = HighestBids::Status;
    const struct {
        std::optional<std::string> listing;  // nullopt: no listing file
        S status;
        std::int16_t highest;
    } cases[] = {
        {ListingsRow("a", "5") + "\r\n" + ListingsRow("b", "7") + "\r" + ListingsRow("c"), S::Found,
         7},
        {ListingsRow("a", "-3") + "\r\n" + ListingsRow("b"), S::Found, 0},
        {ListingsRow("a", "7") + "\r\n" + ListingsRow("b", "lots"), S::Unreadable, 0},
        {std::nullopt, S::NoListingFile, 0},
    };
    for (const auto& c : cases) {
        test::FakeDesktop desk;
        if (c.listing) desk.write(kListing, *c.listing);
        const HighestBids bids = FindHighestBids(desk.files, desk.identity.path(kListing),
                                                 SearchKind::Category, {",", "."});
        EXPECT_EQ(bids.status, c.status) << c.listing.value_or("no file");
        EXPECT_EQ(bids.highest, c.highest) << c.listing.value_or("no file");
    }
    // A folder where the file should be cannot be read, which is not a missing file.
    test::FakeDesktop desk;
    std::filesystem::create_directory(desk.identity.path(kListing));
    EXPECT_EQ(
        FindHighestBids(desk.files, desk.identity.path(kListing), SearchKind::Category, {}).status,
        S::Unreadable);
}

// Every way a run ends, with the page's exact bytes. Row order, minimums and bad cells are
// compared with the plain writer by the fuzz target; these are the ends it does not reach.
TEST(ResultsWriter, WritesThePageOrSaysWhyNot) {
    const std::string none = ListingsRow("f"), low = ListingsRow("m", "-32768"),
                      high = ListingsRow("n", "32767"), c2 = ListingsRow("c", "2");
    // Every byte is kept: NUL, lone LF, bytes above 127, a CR LF that straddles the reader's
    // 64 KiB chunks, a line longer than a chunk, lone CRs that end lines, no final line break.
    const std::string straddling =
        std::string(65535 - ListingsCell("1").size(), 'x') + ListingsCell("1");
    const std::string odd = std::string("\0\n\x80", 3) + ListingsCell("2") + "\n\xff";
    const std::string longLine = std::string(200000, 'y') + ListingsCell("3");
    const std::string last = "last" + ListingsCell("2");
    const std::string anyBytes = straddling + "\r\n" + odd + "\r" + longLine + "\r\n\r\n" + last;
    using O = ResultsOutcome;
    const struct {
        const char* name;
        std::optional<std::string> listing;  // nullopt: none
        std::string minimum;
        std::int16_t highest;
        O outcome;
        std::optional<std::string> page;  // nullopt: none at all
        bool pageUndeletable = false;
    } cases[] = {
        {"the widest range", low + "\r\n" + none + "\r\n" + high, "-32768", 32767, O::Written,
         Whole({high, none, low})},
        {"lines of any bytes", anyBytes, "0", 3, O::Written,
         Whole({longLine, odd, last, straddling, ""})},
        {"minimum not a number", c2, "three", 2, O::Failed, reference::ExpectedPageHead()},
        {"old page undeletable", c2, "0", 2, O::Failed, kOldPage, true},
        {"listing file gone", std::nullopt, "0", 2, O::NoListingFile,
         reference::ExpectedPageHead()},
    };
    for (const auto& c : cases) {
        WriterRun run;
        run.desk.write(kPage, kOldPage);
        if (c.listing) run.desk.write(kListing, *c.listing);
        if (c.pageUndeletable) run.desk.files.undeletable.insert(run.desk.identity.path(kPage));
        EXPECT_EQ(run.write(run.desk.files, c.minimum, c.highest), c.outcome) << c.name;
        EXPECT_EQ(run.desk.read(kPage), c.page) << c.name;
        EXPECT_EQ(run.desk.read(kListing), c.listing) << c.name;  // never changed here
    }
    // The page's own trouble is never taken for a missing listing file.
    WriterRun run;
    NoFolderFiles noFolder;
    run.desk.write(kListing, c2);
    EXPECT_EQ(run.write(noFolder, "0", 2), O::Failed);
}

class Draw {
  public:
    explicit Draw(std::uint32_t seed) : random_(seed) {}
    int operator()(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    // Bytes of every value but CR, which would end the line: NUL, lone LF, bytes above 127.
    std::string bytes(int length) {
        std::string text(static_cast<std::size_t>(length), ' ');
        for (char& c : text) c = static_cast<char>(random_());
        std::replace(text.begin(), text.end(), '\r', '\n');
        return text;
    }

  private:
    std::mt19937 random_;
};

// Random rows held with random counts come back one by one with their counts, the most bids
// first, file order within a count, every byte unchanged, for bands of 50 bytes and up (a row
// longer than a band comes back whole all the same).
TEST(HeldRows, GiveBackTheRowsInPageOrder) {
    const std::size_t bands[] = {50, 1000, 70000, HeldRows::kBandBytes};
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Draw draw(seed);
        const std::size_t band = bands[seed % std::size(bands)];
        const int lowest = draw(-32768, 5);
        // The widest range of counts only with large bands: each band walks every count.
        const int highest = band < 70000 || draw(0, 1) ? lowest + draw(-1, 6) : 32767;
        HeldRows held(highest, lowest, band);
        std::vector<std::vector<std::string>> byCount(
            static_cast<std::size_t>(std::max(highest - lowest + 1, 0)));
        // Mostly short rows close together; some long ones that leave gaps or outgrow a band;
        // sometimes thousands of tiny rows, or huge ones read through many windows.
        const bool tiny = seed % 10 == 0, huge = seed % 40 == 3;
        std::string file;
        for (int rows = tiny ? 9000 : huge ? 8 : draw(0, 60); rows > 0; --rows) {
            const int length = tiny              ? draw(1, 2)
                               : huge            ? draw(150000, 300000)
                               : draw(0, 9) == 0 ? draw(17000, 40000)
                                                 : draw(0, 200);
            const std::string row = draw.bytes(length);
            if (!byCount.empty() && (huge || draw(0, 4) > 0)) {
                const int bids = draw(lowest, highest);
                held.hold(static_cast<std::int16_t>(bids), file.size(), row.size());
                // An empty row adds nothing to the page and is not held.
                if (!row.empty()) byCount[static_cast<std::size_t>(highest - bids)].push_back(row);
            }
            file += row + (draw(0, 3) == 0 ? "\r" : "\r\n");
        }
        test::FakeDesktop desk;
        desk.write(kListing, file);
        std::vector<std::pair<int, std::string>> copied, expected;
        held.copy(*desk.files.openForReading(desk.identity.path(kListing).string()),
                  [&](std::string_view row, std::int16_t bids) {
                      copied.emplace_back(bids, std::string(row));
                  });
        for (std::size_t group = 0; group < byCount.size(); ++group)
            for (const std::string& row : byCount[group])
                expected.emplace_back(highest - static_cast<int>(group), row);
        ASSERT_EQ(copied, expected);
    }
}

}  // namespace
}  // namespace vendra
