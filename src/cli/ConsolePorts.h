#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "cli/ConsoleOutput.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/WindowControls.h"

namespace vendra {

// The main window's controls for a search run from the command line: values instead of widgets,
// and the status texts handed to the console's output.
class ConsoleControls : public WindowControls {
  public:
    explicit ConsoleControls(ConsoleOutput& output) : output_(output) {}

    void setCaption(Control control, const std::string& text) override;
    void setEnabled(Control, bool) override {}
    std::string text(Control control) const override;
    int listIndex(Control control) const override;
    void setListIndex(Control control, int index) override { lists_[control] = index; }
    void appendListEntry(Control, const std::string&) override {}
    bool isChecked(Control control) const override {
        return control == Control::DescriptionsBox && descriptions_;
    }
    void closeWindow() override {}

    void type(Control control, const std::string& text) { texts_[control] = text; }
    void check(bool descriptions) { descriptions_ = descriptions; }

  private:
    ConsoleOutput& output_;
    std::map<Control, std::string> texts_;
    std::map<Control, int> lists_;
    bool descriptions_ = false;
};

// A message box that shows its text on the console's output and is confirmed at once.
class ConsoleMessages : public MessageBox {
  public:
    explicit ConsoleMessages(ConsoleOutput& output) : output_(output) {}
    void showMessage(const std::string& text) override { output_.message(text); }

  private:
    ConsoleOutput& output_;
};

// Remembers what the search handed to the desktop, and passes it on only when asked to.
class ConsoleShell : public Shell {
  public:
    explicit ConsoleShell(Shell* desktop) : desktop_(desktop) {}
    void open(const std::string& target) override;
    const std::string& lastOpened() const { return lastOpened_; }

  private:
    Shell* desktop_;
    std::string lastOpened_;
};

// What a search from the command line shows instead of a window: status texts and messages on
// `output` (lines on standard error, or a terminal's progress line), and the results page handed
// to `desktop` only when there is one.
struct ConsolePorts {
    ConsolePorts(std::unique_ptr<ConsoleOutput> shown, Shell* desktop)
        : output(std::move(shown)), controls(*output), messages(*output), shell(desktop) {}

    std::unique_ptr<ConsoleOutput> output;
    ConsoleControls controls;
    ConsoleMessages messages;
    ConsoleShell shell;
};

}  // namespace vendra
