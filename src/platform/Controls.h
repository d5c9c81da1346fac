#pragma once

#include <string>

namespace vendra {

// The Main window's controls that the logic reads or changes, by their names in the window.
// Command3 and Command4 are the category and featured "Search" buttons.
enum class Control {
    Label1,  // the status line
    txtBids,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    cmdSearch,
    Text1,
    Text2,
    txtTitle,
    txtExcluded,
    txtBeginPrice,
    txtEndPrice,
    cmbSearch,
    cmbCategories,
    Check1,
};

// What the logic may do with the Main window's controls. Texts are UTF-8.
class WindowControls {
public:
    virtual ~WindowControls() = default;

    // The caption of a label or button; for Label1 the whole status line.
    virtual void setCaption(Control control, const std::string& text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    // The text of a text box, as typed.
    virtual std::string text(Control control) const = 0;
    // The selected index of a drop-down list; -1 when no entry is selected.
    virtual int listIndex(Control control) const = 0;
    virtual void setListIndex(Control control, int index) = 0;
    virtual void appendListEntry(Control control, const std::string& entry) = 0;
    // 0 unchecked, 1 checked.
    virtual int checkState(Control control) const = 0;
    // Closes the window; used when a close that arrived during a search may go ahead.
    virtual void closeWindow() = 0;
};

}  // namespace vendra
