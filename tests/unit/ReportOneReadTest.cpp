#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/Failure.h"
#include "app/MainWindow.h"
#include "support/Fakes.h"
#include "support/MainWindowTestAccess.h"
#include "support/ReferenceWriter.h"

namespace vendra {
namespace {

constexpr char kListing[] = "Listinglist.txt";
constexpr char kPage[] = "Finalsearch.htm";
constexpr char kReferencePage[] = "Reference.htm";

// Listing files of every shape the walk can leave, drawn from a seeded generator.
class ListingGenerator {
public:
    explicit ListingGenerator(std::uint32_t seed) : random_(seed) {}

    std::int16_t kind() { return static_cast<std::int16_t>(Pick(0, 5)); }

    std::string file(std::int16_t kind, bool withBadCells) {
        std::string bytes;
        const int lines = Pick(0, 30);
        for (int i = 0; i < lines; ++i) {
            bytes += line(kind, withBadCells);
            const int ending = Pick(0, 9);
            // Mostly CR LF; sometimes a lone CR; the last line may have no line break.
            if (i + 1 < lines || ending > 1) bytes += ending == 0 ? "\r" : "\r\n";
        }
        return bytes;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    std::string line(std::int16_t kind, bool withBadCells) {
        const bool results = kind == 1 || kind == 4;
        const std::string opening = results ? kResultsCell : kListingsCell;
        const std::string closing = results ? "</font>" : "<br>";
        std::string text = junk();
        const int cells = Pick(0, 2);
        for (int c = 0; c < cells; ++c) {
            // The first cell may be in any letter case; a later one in another case is no cell.
            text += Pick(0, 3) == 0 ? Recase(opening) : opening;
            text += cellText(withBadCells);
            text += Pick(0, 4) == 0 ? Recase(closing) : closing;
            text += junk();
        }
        if (withBadCells && Pick(0, 40) == 0) text += opening + "5";  // no closing marker
        return text;
    }

    std::string cellText(bool withBadCells) {
        if (withBadCells && Pick(0, 30) == 0) return Pick(0, 1) ? "many" : "40000";
        switch (Pick(0, 5)) {
            case 0:
                return "-";
            case 1:
                return " " + std::to_string(Pick(0, 9)) + " ";
            default:
                return std::to_string(Pick(-3, 12));
        }
    }

    // Bytes that hold no marker: letters, blanks, NUL, lone LF, bytes above 127.
    std::string junk() {
        static const std::string alphabet =
            std::string("abcXYZ <>/=\"%0123456789\n\x80\xff") + '\0';
        std::string text(static_cast<std::size_t>(Pick(0, 12)), ' ');
        const int last = static_cast<int>(alphabet.size()) - 1;
        for (char& c : text) c = alphabet[static_cast<std::size_t>(Pick(0, last))];
        return text;
    }

    std::string Recase(std::string text) {
        for (char& c : text) {
            if (Pick(0, 1) == 0) continue;
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return text;
    }

    static inline const std::string kListingsCell = "</TD><TD ALIGN=CENTER WIDTH=\"12%\">";
    static inline const std::string kResultsCell =
        "</td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>";

    std::mt19937 random_;
};

// The highest count the bid pass would find, or nullopt when a line fails.
std::optional<std::int16_t> HighestCount(const MainWindow& window, TextFiles& files,
                                         const std::string& path) {
    try {
        std::int16_t highest = 0;
        const auto listing = files.openForReading(path);
        while (!listing->atEnd()) highest = std::max(highest, window.StripBid(listing->readLine()));
        return highest;
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// For many random listing files, minimums and highest counts, the one-read writer leaves the
// very bytes the pass-per-count writer leaves, and fails where it fails.
TEST(ResultsPageOneRead, MatchesOnePassPerCount) {
    int pagesCompared = 0;
    int failuresCompared = 0;
    for (std::uint32_t seed = 1; seed <= 600; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        ListingGenerator generate(seed);
        test::FakeDesktop desktop;
        MainWindow window(desktop.platform);
        window.SearchKind = generate.kind();
        const bool withBadCells = seed % 3 == 0;
        desktop.write(kListing, generate.file(window.SearchKind, withBadCells));
        const std::string listingPath = desktop.identity.path(kListing).string();

        const std::optional<std::int16_t> found = HighestCount(window, desktop.files, listingPath);
        const auto highest = static_cast<std::int16_t>(
            found && generate.Pick(0, 2) > 0 ? *found : generate.Pick(-2, 13));
        const auto minimum = static_cast<std::int16_t>(generate.Pick(-4, 14));
        desktop.controls.type(Control::txtBids, std::to_string(minimum));

        bool referenceFailed = false;
        try {
            test::WritePageOnePassPerCount(
                desktop.files, listingPath, desktop.identity.path(kReferencePage).string(), highest,
                minimum, [&](const std::string& line) { return window.StripBid(line); });
        } catch (const Failure&) {
            referenceFailed = true;
        }
        bool writerFailed = false;
        try {
            MainWindowTestAccess::WriteResults(window, highest);
        } catch (const Failure&) {
            writerFailed = true;
        }

        EXPECT_EQ(desktop.read(kPage), desktop.read(kReferencePage));
        EXPECT_EQ(writerFailed, referenceFailed);
        EXPECT_EQ(desktop.shell.opened.size(), writerFailed ? 0u : 1u);
        ++(referenceFailed ? failuresCompared : pagesCompared);
    }
    // The draw must reach both outcomes often, or the comparison proves little.
    EXPECT_GT(pagesCompared, 300);
    EXPECT_GT(failuresCompared, 25);
}

}  // namespace
}  // namespace vendra
