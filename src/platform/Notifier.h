#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vendra {

// The desktop's notifications. A notification has a summary, a body of plain text, a default
// action and an "Open results" action; one shown again under its id takes the place of the one
// before.
class Notifier {
  public:
    virtual ~Notifier() = default;
    // Shows the notification in place of the one numbered `replaces` (0: none) and returns its
    // number; returns 0 and says why in `why` when there is nothing to show it (no notification
    // server, no session bus). Waits a couple of seconds at most.
    virtual std::uint32_t show(const std::string& summary, const std::string& body,
                               std::uint32_t replaces, std::string& why) = 0;
    // Called with a notification's number when the user picks one of its actions.
    virtual void onAction(std::function<void(std::uint32_t)> picked) = 0;
};

}  // namespace vendra
