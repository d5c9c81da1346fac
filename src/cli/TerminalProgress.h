#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "cli/ConsoleOutput.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalLine.h"
#include "search/SearchProgress.h"

namespace vendra {

// A search on a terminal: while the walk runs, one line at the bottom shows how far it is, how
// fast it goes and how long it has left, redrawn in place; the other status texts and the
// messages print as lines above it. The walk's own progress texts are the line's, so they are
// not printed.
class TerminalProgress : public ConsoleOutput {
  public:
    using Clock = std::function<std::chrono::milliseconds()>;

    TerminalProgress(std::ostream& out, std::function<int()> columns, bool colour, Clock now);

    void report(const Progress& event) override;
    void message(const std::string& text) override;
    void finish() override;

  private:
    void redraw();

    TerminalLine line_;
    std::function<int()> columns_;
    bool colour_;
    Clock now_;
    std::chrono::milliseconds started_{0};
    ProgressFigures figures_;
    bool walking_ = false;  // the line is up
};

}  // namespace vendra
