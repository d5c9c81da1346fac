// The one read of the listing file that writes the results page, on seeded random files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/Failure.h"
#include "app/MainWindow.h"
#include "report/HeldRows.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"
#include "support/ReferenceWriter.h"

namespace vendra {
namespace {

constexpr char kListing[] = "Listinglist.txt";

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

// Lines with at most one bid cell among random bytes, now and then a cell that fails; mostly CR LF
// line breaks, some lone CRs, sometimes none after the last line.
std::string ListingFile(Draw& draw, bool withBadCells) {
    std::string file;
    for (int lines = draw(0, 30); lines > 0; --lines) {
        file += draw.bytes(draw(0, 12));
        if (draw(0, 4) > 0) {
            const bool bad = withBadCells && draw(0, 20) == 0;
            file += "</TD><TD ALIGN=CENTER WIDTH=\"12%\">" +
                    (bad ? "many" : std::to_string(draw(-3, 12))) + "<br>" +
                    draw.bytes(draw(0, 12));
        }
        const int ending = draw(0, 9);
        if (lines > 1 || ending > 1) file += ending == 0 ? "\r" : "\r\n";
    }
    return file;
}

bool Fails(const std::function<void()>& step) {
    try {
        step();
        return false;
    } catch (const Failure&) {
        return true;
    }
}

// For random listing files, minimums and highest counts, the one-read writer leaves the very
// bytes the pass-per-count writer leaves, and fails where it fails.
TEST(ResultsPageOneRead, MatchesOnePassPerCount) {
    int pages = 0;
    int failures = 0;
    for (std::uint32_t seed = 1; seed <= 600; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Draw draw(seed);
        test::FakeDesktop desktop;
        MainWindow window(desktop.platform);
        window.SearchKind = 2;
        desktop.write(kListing, ListingFile(draw, seed % 3 == 0));
        const auto path = [&](const char* name) { return desktop.identity.path(name).string(); };
        const auto bidCount = [&](const std::string& line) { return window.StripBid(line); };

        // Mostly the highest count the bid pass finds (up to a line that fails), else any other.
        std::int16_t found = 0;
        Fails([&] {
            for (auto listing = desktop.files.openForReading(path(kListing)); !listing->atEnd();)
                found = std::max(found, bidCount(listing->readLine()));
        });
        const auto highest = static_cast<std::int16_t>(draw(0, 2) ? found : draw(-2, 13));
        const auto minimum = static_cast<std::int16_t>(draw(-4, 14));
        desktop.controls.type(Control::txtBids, std::to_string(minimum));

        const bool referenceFailed = Fails([&] {
            test::WritePageOnePassPerCount(desktop.files, path(kListing), path("Reference.htm"),
                                           highest, minimum, bidCount);
        });
        const bool failed = Fails([&] { MainWindowTestAccess::WriteResults(window, highest); });
        EXPECT_EQ(desktop.read("Finalsearch.htm"), desktop.read("Reference.htm"));
        EXPECT_EQ(failed, referenceFailed);
        EXPECT_EQ(desktop.shell.opened.size(), failed ? 0u : 1u);
        ++(failed ? failures : pages);
    }
    // The draw must reach both outcomes often, or the comparison proves little.
    EXPECT_GT(pages, 300);
    EXPECT_GT(failures, 25);
}

// Random rows held with random counts come back with the most bids first, file order within a
// count, every byte unchanged, in writes no larger than a band, for bands of 50 bytes and up.
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
        std::vector<std::string> byCount(
            static_cast<std::size_t>(std::max(highest - lowest + 1, 0)));
        // Mostly short rows close together; some long ones that leave gaps or outgrow a band;
        // sometimes thousands of tiny rows, or huge ones read through many windows.
        const bool tiny = seed % 10 == 0;
        const bool huge = seed % 40 == 3;
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
                byCount[static_cast<std::size_t>(highest - bids)] += row;
            }
            file += row + (draw(0, 3) == 0 ? "\r" : "\r\n");
        }
        test::FakeDesktop desktop;
        desktop.write(kListing, file);
        std::string copied;
        held.copy(*desktop.files.openForReading(desktop.identity.path(kListing).string()),
                  [&](std::string_view bytes) {
                      EXPECT_LE(bytes.size(), band);
                      copied += bytes;
                  });
        std::string expected;
        for (const std::string& rows : byCount) expected += rows;
        ASSERT_EQ(copied, expected);
    }
}

}  // namespace
}  // namespace vendra
