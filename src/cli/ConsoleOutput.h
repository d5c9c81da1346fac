#pragma once

#include <ostream>
#include <string>

#include "search/SearchProgress.h"

namespace vendra {

// Where a search from the command line shows what the window would: its status texts and its
// messages.
class ConsoleOutput {
  public:
    virtual ~ConsoleOutput() = default;
    virtual void status(const std::string& text) = 0;
    virtual void message(const std::string& text) = 0;
    // The search is over: whatever is printed next stands on plain lines.
    virtual void finish() {}
    // Where the stages' reports go, if this output shows them.
    virtual ProgressReport* progressView() { return nullptr; }
};

// Every new status text and every message on a line of its own, as a log or a pipe takes them.
class LineOutput : public ConsoleOutput {
  public:
    explicit LineOutput(std::ostream& out) : out_(out) {}
    void status(const std::string& text) override {
        if (text == status_) return;
        status_ = text;
        out_ << text << std::endl;
    }
    void message(const std::string& text) override { out_ << text << std::endl; }

  private:
    std::ostream& out_;
    std::string status_;
};

}  // namespace vendra
