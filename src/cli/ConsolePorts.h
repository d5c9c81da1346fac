#pragma once

#include <map>
#include <ostream>
#include <string>

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/WindowControls.h"

namespace vendra {

// The main window's controls for a search run from the command line: values instead of widgets,
// and every new status text written on a line of its own.
class ConsoleControls : public WindowControls {
  public:
    explicit ConsoleControls(std::ostream& progress) : progress_(progress) {}

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
    std::ostream& progress_;
    std::string status_;
    std::map<Control, std::string> texts_;
    std::map<Control, int> lists_;
    bool descriptions_ = false;
};

// A message box that writes its text on a line of its own and is confirmed at once.
class ConsoleMessages : public MessageBox {
  public:
    explicit ConsoleMessages(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text) override { out_ << text << std::endl; }

  private:
    std::ostream& out_;
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
// `err`, and the results page handed to `desktop` only when there is one.
struct ConsolePorts {
    ConsolePorts(std::ostream& err, Shell* desktop)
        : controls(err), messages(err), shell(desktop) {}

    ConsoleControls controls;
    ConsoleMessages messages;
    ConsoleShell shell;
};

}  // namespace vendra
