#pragma once

#include "platform/AppIdentity.h"
#include "platform/Shell.h"

namespace vendra {

// The menu commands that hand a file or an address to the desktop. None reads or changes the
// search, so they run at any time, also during a search; what the shell makes of them is not
// examined.
class HelpMenu {
  public:
    HelpMenu(Shell& shell, AppIdentity& identity) : shell_(shell), identity_(identity) {}

    void openInstructions();
    void emailAuthor();
    void visitWebsite();
    // Opens the results page of the last finished search, whether or not there is one.
    void openLastResults();

  private:
    Shell& shell_;
    AppIdentity& identity_;
};

}  // namespace vendra
