#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "report/HeldRows.h"
#include "support/Fakes.h"

namespace vendra {
namespace {

struct Line {
    std::string text;
    std::uint64_t offset;
};

// For random listing files, count ranges and band sizes, the held rows come back as the rows
// with the most bids first, file order within a count, every byte unchanged, in writes no larger
// than a band.
TEST(HeldRows, GiveBackTheRowsInPageOrder) {
    const std::size_t bandSizes[] = {50, 1000, 70000, HeldRows::kBandBytes};
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        // Mostly short rows close together; some long ones that leave gaps or outgrow a band;
        // sometimes thousands of tiny rows.
        const bool tiny = seed % 10 == 0;
        const int lineCount = tiny ? 9000 : pick(0, 60);
        std::string file;
        std::vector<Line> lines;
        for (int i = 0; i < lineCount; ++i) {
            const int length = tiny              ? pick(1, 2)
                               : pick(0, 9) == 0 ? pick(17000, 40000)
                                                 : pick(0, 200);
            std::string text(static_cast<std::size_t>(length), ' ');
            for (char& c : text) {
                c = static_cast<char>(pick(0, 255));
                if (c == '\r') c = '\n';
            }
            lines.push_back(Line{text, file.size()});
            file += text + (pick(0, 3) == 0 ? "\r" : "\r\n");
        }
        const int lowest = pick(-32768, 5);
        const std::size_t band = bandSizes[seed % std::size(bandSizes)];
        // The widest range of counts only with large bands: each band walks every count.
        const int highest = band < 70000 || pick(0, 1) ? lowest + pick(-1, 6) : 32767;

        test::FakeDesktop desktop;
        desktop.write("Listinglist.txt", file);
        const auto listing =
            desktop.files.openForReading(desktop.identity.path("Listinglist.txt").string());
        HeldRows held(highest, lowest, band);
        std::vector<std::vector<std::string>> byCount(
            static_cast<std::size_t>(std::max(highest - lowest + 1, 0)));
        for (const Line& line : lines) {
            if (byCount.empty() || pick(0, 4) == 0) continue;
            const int bids = pick(lowest, highest);
            held.hold(static_cast<std::int16_t>(bids), line.offset, line.text.size());
            byCount[static_cast<std::size_t>(highest - bids)].push_back(line.text);
        }
        std::string expected;
        for (const auto& rows : byCount)
            for (const std::string& row : rows) expected += row;

        std::string copied;
        held.copy(*listing, [&](std::string_view bytes) {
            EXPECT_LE(bytes.size(), band);
            copied += bytes;
        });
        ASSERT_EQ(copied, expected);
    }
}

}  // namespace
}  // namespace vendra
