#include "cli/TerminalLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "cli/ProgressLine.h"

namespace vendra {
namespace {

constexpr std::string_view kClearLine = "\r\x1b[K";

bool SetAndNotEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

TerminalTraits DescribeTerminal(int fd) {
    TerminalTraits traits;
    const char* term = std::getenv("TERM");
    traits.redraws = ::isatty(fd) == 1 && !(term && std::string_view(term) == "dumb");
    traits.colour = traits.redraws && !SetAndNotEmpty("NO_COLOR");
    return traits;
}

int TerminalColumns(int fd) {
    winsize size{};
    if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    if (const char* columns = std::getenv("COLUMNS")) {
        char* end = nullptr;
        const long value = std::strtol(columns, &end, 10);
        if (end != columns && *end == '\0' && value > 0 && value <= 10000)
            return static_cast<int>(value);
    }
    return 80;
}

TerminalLine::TerminalLine(std::ostream& out, std::function<int()> columns)
    : out_(out), columns_(std::move(columns)) {}

void TerminalLine::draw(const std::string& line) {
    line_ = line;
    show();
    out_.flush();
}

void TerminalLine::printAbove(const std::string& text) {
    if (shown_) out_ << kClearLine;
    out_ << text << '\n';
    if (shown_) show();
    out_.flush();
}

void TerminalLine::finish() {
    if (shown_) out_ << kClearLine;
    shown_ = false;
    out_.flush();
}

void TerminalLine::show() {
    const int columns = columns_();
    const std::size_t room = columns > 1 ? static_cast<std::size_t>(columns) - 1 : 0;
    out_ << '\r' << FitToColumns(line_, room) << "\x1b[K";
    shown_ = true;
}

}  // namespace vendra
