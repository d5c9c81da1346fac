#include "cli/TerminalProgress.h"

#include <type_traits>

namespace vendra {

TerminalProgress::TerminalProgress(std::ostream& out, std::function<int()> columns, bool colour,
                                   Clock now)
    : line_(out, columns), columns_(std::move(columns)), colour_(colour), now_(std::move(now)) {}

void TerminalProgress::report(const Progress& event) {
    // The walk's own steps move the line; every other report with a text prints it above the
    // line, and after the walk has begun says that it is over (done, stopped or cut short).
    bool step = false;
    std::visit(
        [&](const auto& e) {
            using Event = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<Event, progress::PagesAnnounced>) {
                figures_ = {"Searching pages", 0, e.pages, "pages", {}};
            } else if constexpr (std::is_same_v<Event, progress::ListingsAnnounced>) {
                figures_ = {"Searching listings", 0, e.listings, "listings", {}};
            } else if constexpr (std::is_same_v<Event, progress::PageStepBegun>) {
                if (!walking_) {
                    walking_ = true;
                    started_ = now_();
                    // A walk without a count (it was unreadable) still shows its pages.
                    if (figures_.unit.empty()) figures_ = {"Searching pages", 0, 0, "pages", {}};
                    redraw();
                }
            } else if constexpr (std::is_same_v<Event, progress::PagesSearched>) {
                figures_.done = e.page - 1;
                figures_.total = e.pages;
                step = true;
            } else if constexpr (std::is_same_v<Event, progress::ListingsSearched>) {
                figures_.done = e.offset;
                figures_.total = e.listings;
                step = true;
            }
        },
        event);
    if (step) {
        if (walking_) redraw();
        return;
    }
    const std::optional<std::string> text = StatusText(event);
    if (!text) return;
    if (walking_) finish();
    line_.printAbove(*text);
}

void TerminalProgress::message(const std::string& text) { line_.printAbove(text); }

void TerminalProgress::finish() {
    walking_ = false;
    figures_ = {};
    line_.finish();
}

void TerminalProgress::redraw() {
    figures_.elapsed = now_() - started_;
    line_.draw(RenderProgressLine(figures_, columns_(), colour_));
}

}  // namespace vendra
