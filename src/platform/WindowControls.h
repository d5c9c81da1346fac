#pragma once

#include <string>

namespace vendra {

// The controls of the main window that the logic reads or changes, named by what they are.
enum class Control {
    StatusLine,
    MinimumBids,
    StopButton,  // "Stop Search", or "Begin New Search" after a finished search
    IncompleteButton,
    ShowCategoriesButton,
    CategorySearchButton,
    FeaturedSearchButton,
    CompletedSearchButton,
    KeywordSearchButton,
    CategoryNumber,
    CompletedWords,
    TitleWords,
    ExcludedWords,
    PriceFrom,
    PriceTo,
    SearchMode,
    CategoryList,
    DescriptionsBox,
    Count,  // not a control: how many there are, so it stays last
};

// What the logic may do with the main window's controls. Texts are UTF-8.
class WindowControls {
  public:
    virtual ~WindowControls() = default;

    // The caption of a label or button; for the status line its whole text.
    virtual void setCaption(Control control, const std::string& text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    // The text of a text box, as typed.
    virtual std::string text(Control control) const = 0;
    // The selected index of a drop-down list; -1 when no entry is selected.
    virtual int listIndex(Control control) const = 0;
    virtual void setListIndex(Control control, int index) = 0;
    virtual void appendListEntry(Control control, const std::string& entry) = 0;
    virtual bool isChecked(Control control) const = 0;
    // Closes the window; used when a close that arrived during a search may go ahead.
    virtual void closeWindow() = 0;
};

}  // namespace vendra
