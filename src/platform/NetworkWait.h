#pragma once

namespace vendra {

// What the desktop does while the program waits on the network, for a page or before asking for
// one again: the window keeps painting, and only the input that may end the wait runs at once
// (Stop Search; during a wait before another try also See Incomplete Results). Other input waits
// until the walk yields.
class NetworkWait {
  public:
    enum class For { Page, NextTry };

    virtual ~NetworkWait() = default;
    virtual void begin(For what) = 0;
    // Runs what is pending (repaints, timers, the input let through) and returns at once.
    virtual void pump() = 0;
    virtual void end() = 0;
};

// No desktop to keep going: a program without a window.
class NoNetworkWait : public NetworkWait {
  public:
    void begin(For) override {}
    void pump() override {}
    void end() override {}
};

}  // namespace vendra
