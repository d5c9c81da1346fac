#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace vendra {

// What a stream of the program can show.
struct TerminalTraits {
    bool redraws = false;  // a terminal that can redraw a line in place
    bool colour = false;   // and colour is welcome (NO_COLOR unset or empty)
};

// Describes the descriptor: a terminal (isatty) other than TERM=dumb, which cannot clear a line.
TerminalTraits DescribeTerminal(int fd);

// The terminal's width in columns, asked anew each time so that a resize counts: the terminal's
// own size, else COLUMNS, else 80.
int TerminalColumns(int fd);

// One line at the bottom of a terminal, redrawn in place, with other texts printed above it.
// Every line drawn is cut to the width of the moment, so a terminal made narrower never wraps it.
class TerminalLine {
  public:
    TerminalLine(std::ostream& out, std::function<int()> columns);

    // Replaces the line: "\r", the line, and "\x1b[K" to clear what was longer before.
    void draw(const std::string& line);
    // Clears the line, prints the text and a line break, then draws the line again below it.
    void printAbove(const std::string& text);
    // Clears the line for good, leaving the cursor at the start of an empty line.
    void finish();

  private:
    void show();

    std::ostream& out_;
    std::function<int()> columns_;
    std::string line_;
    bool shown_ = false;
};

}  // namespace vendra
