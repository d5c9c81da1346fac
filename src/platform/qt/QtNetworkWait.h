#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "platform/NetworkWait.h"
#include "platform/qt/HeldInput.h"

namespace vendra {

// While the program waits on the network, Qt's events run: painting and timers go on, and user
// input waits until the walk yields, but for the input let through, which can end the wait at
// once. Without a window (nothing let through), user input is not looked at.
class QtNetworkWait : public NetworkWait {
  public:
    // `duringPage` passes the input that may run while a page loads (the stop button);
    // `beforeNextTry` that which may run while a page waits to be asked for again.
    void letThrough(std::function<bool(const QObject*)> duringPage,
                    std::function<bool(const QObject*)> beforeNextTry);

    void begin(For what) override;
    void pump() override;
    void end() override;

  private:
    std::function<bool(const QObject*)> duringPage_;
    std::function<bool(const QObject*)> beforeNextTry_;
    bool passes_ = false;
    std::optional<HeldInput> held_;
};

}  // namespace vendra
