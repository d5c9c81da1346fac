#pragma once

#include "platform/Shell.h"

namespace vendra {

// Hands a file or address to the desktop's default application through xdg-open, without a
// window system of the program's own. The outcome is never examined.
class XdgOpenShell : public Shell {
  public:
    void open(const std::string& target) override;
};

}  // namespace vendra
