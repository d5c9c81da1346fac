// The terminal's progress line: what it shows at each width, that it never reaches the last
// column, how it is redrawn under the status texts, and what counts as a terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "cli/ProgressLine.h"
#include "cli/TerminalLine.h"
#include "text/Utf8.h"

namespace vendra {
namespace {

using std::chrono::milliseconds;

const std::regex kColour("\x1b\\[[0-9;]*m");

std::size_t Columns(const std::string& line) {
    return CodePointCount(std::regex_replace(line, kColour, ""));
}

TEST(ProgressLine, DropsTheBarThenTheRateThenTheTimeLeft) {
    const ProgressFigures walk{"Walking pages", 12, 40, "pages", milliseconds(4000)};
    const ProgressFigures unknown{"Walking pages", 12, 0, "pages", milliseconds(4000)};
    const ProgressFigures over{"Reading", 150, 120, "listings", milliseconds(0)};
    const ProgressFigures slow{"Walking pages", 1, 32767, "pages", milliseconds(10000)};
    const auto bar = [](int filled, int empty) {
        return std::string("[").append(filled, '#').append(empty, '-').append("]");
    };
    const struct {
        const ProgressFigures& progress;
        int width;
        std::string line;
    } cases[] = {
        // The stage names the unit, so the count does not say it again.
        {walk, 200, "Walking pages 12/40 " + bar(12, 28) + " 3.0/s ETA 0:10"},
        {walk, 70, "Walking pages 12/40 " + bar(9, 23) + " 3.0/s ETA 0:10"},
        {walk, 40, "Walking pages 12/40 3.0/s ETA 0:10"},
        {walk, 30, "Walking pages 12/40 ETA 0:10"},
        {walk, 28, "Walking page 12/40 ETA 0:10"},  // the stage cut
        {walk, 20, "Walking pages 12/40"},
        {walk, 15, "12/40 pages"},  // no room for the stage: the unit comes back
        {walk, 8, "12/40"},
        {walk, 5, "Walk"},
        {walk, 1, ""},
        {unknown, 80, "Walking pages 12 3.0/s ETA --:--"},
        {over, 60, "Reading 120/120 listings " + bar(18, 0) + " --/s ETA 0:00"},
        {slow, 60, "Walking pages 1/32767 " + bar(0, 16) + " 0.1/s ETA 91:01:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenderProgressLine(c.progress, c.width, false), c.line) << c.width;
    EXPECT_EQ(RenderProgressLine(walk, 48, true),
              "\x1b[1mWalking pages\x1b[0m 12/40 [\x1b[32m###\x1b[0m-------] 3.0/s ETA 0:10");
}

TEST(ProgressLine, NeverReachesTheLastColumn) {
    const ProgressFigures shapes[] = {
        {"Walking pages", 7, 9, "pages", milliseconds(1500)},
        {"S\u00f6kning p\u00e5g\u00e5r \u2014 sidor", 123456, 7654321, "listings", milliseconds(1)},
        {"Line\nbreak\x1b[2J", -3, -1, "", milliseconds(-5)},
        {"", 0, 0, "pages", milliseconds(0)},
    };
    // No control character but the escape of a colour, and that only when allowed.
    const std::regex plain("[^\\x00-\\x1f]*"), coloured("([^\\x00-\\x1f]|\x1b\\[[0-9;]*m)*");
    for (const ProgressFigures& progress : shapes) {
        for (int width = -1; width < 130; ++width) {
            for (const bool colour : {false, true}) {
                const std::string line = RenderProgressLine(progress, width, colour);
                EXPECT_LE(Columns(line), static_cast<std::size_t>(std::max(width - 1, 0)))
                    << width << ": " << line;
                EXPECT_TRUE(std::regex_match(line, colour ? coloured : plain)) << line;
            }
        }
    }
}

TEST(TerminalLine, RedrawsInPlaceUnderTheTexts) {
    std::ostringstream out;
    int columns = 80;
    TerminalLine terminal(out, [&columns] { return columns; });
    terminal.printAbove("Deleting Temporary Files.......");
    terminal.draw("\x1b[1mWalking\x1b[0m 2/3");
    columns = 6;  // made narrower: the redrawn line is cut, its colour ended
    terminal.printAbove("2 of 3 pages searched.");
    terminal.finish();
    terminal.finish();
    EXPECT_EQ(out.str(),
              "Deleting Temporary Files.......\n"
              "\r\x1b[1mWalking\x1b[0m 2/3\x1b[K"
              "\r\x1b[K2 of 3 pages searched.\n\r\x1b[1mWalki\x1b[0m\x1b[K"
              "\r\x1b[K");
}

TEST(TerminalLine, KnowsATerminalAndItsWidth) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    winsize size{};
    size.ws_col = 123;
    ASSERT_EQ(::ioctl(terminal, TIOCSWINSZ, &size), 0);
    const std::string term = std::getenv("TERM") ? std::getenv("TERM") : "";
    const struct {
        int fd;
        const char *term, *noColour;  // nullptr: unset
        bool redraws, colour;
    } cases[] = {
        {terminal, "xterm", nullptr, true, true},  {pipeEnds[1], "xterm", nullptr, false, false},
        {terminal, "xterm", "", true, true},       {terminal, "xterm", "1", true, false},
        {terminal, "dumb", nullptr, false, false},
    };
    for (const auto& c : cases) {
        ::setenv("TERM", c.term, 1);
        c.noColour ? ::setenv("NO_COLOR", c.noColour, 1) : ::unsetenv("NO_COLOR");
        EXPECT_EQ(DescribeTerminal(c.fd).redraws, c.redraws) << c.term << c.fd;
        EXPECT_EQ(DescribeTerminal(c.fd).colour, c.colour) << c.term << c.fd;
    }
    ::setenv("COLUMNS", "57", 1);
    EXPECT_EQ(TerminalColumns(terminal), 123);
    EXPECT_EQ(TerminalColumns(pipeEnds[1]), 57);
    ::setenv("COLUMNS", "57x", 1);
    EXPECT_EQ(TerminalColumns(pipeEnds[1]), 80);
    for (const int fd : {pipeEnds[0], pipeEnds[1], master, terminal}) ::close(fd);
    ::unsetenv("COLUMNS");
    ::unsetenv("NO_COLOR");
    ::setenv("TERM", term.c_str(), 1);
}

}  // namespace
}  // namespace vendra
