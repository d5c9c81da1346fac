#include "cli/ConsolePorts.h"

namespace vendra {

void ConsoleControls::setCaption(Control control, const std::string& text) {
    if (control == Control::StatusLine) output_.status(text);
}

std::string ConsoleControls::text(Control control) const {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : found->second;
}

int ConsoleControls::listIndex(Control control) const {
    const auto found = lists_.find(control);
    return found == lists_.end() ? -1 : found->second;
}

void ConsoleShell::open(const std::string& target) {
    lastOpened_ = target;
    if (desktop_) desktop_->open(target);
}

}  // namespace vendra
