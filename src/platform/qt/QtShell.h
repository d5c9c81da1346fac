#pragma once

#include <QUrl>

#include "platform/Shell.h"

namespace vendra {

// Hands a file or address to the desktop's default application (xdg-open on Linux desktops).
class QtShell : public Shell {
  public:
    void open(const std::string& target) override;

    // "http://" and "mailto:" targets are addresses; anything else is a path on this machine.
    static QUrl UrlFor(const std::string& target);
};

}  // namespace vendra
