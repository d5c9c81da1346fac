#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "run/SearchTexts.h"
#include "search/SearchProgress.h"

namespace vendra {

// Where a search from the command line shows how it goes: its reports, and the lines the
// command line has to say.
class ConsoleOutput : public ProgressReport {
  public:
    virtual void message(const std::string& text) = 0;
    // The search is over: whatever is printed next stands on plain lines.
    virtual void finish() {}
};

// The status text of every report on a line of its own, as a log or a pipe takes them, and
// every message.
class LineOutput : public ConsoleOutput {
  public:
    explicit LineOutput(std::ostream& out) : out_(out) {}
    void report(const Progress& event) override {
        const std::optional<std::string> text = StatusText(event);
        if (!text || *text == status_) return;
        status_ = *text;
        out_ << *text << std::endl;
    }
    void message(const std::string& text) override { out_ << text << std::endl; }

  private:
    std::ostream& out_;
    std::string status_;
};

}  // namespace vendra
