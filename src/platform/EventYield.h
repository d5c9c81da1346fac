#pragma once

namespace vendra {

// Lets the window handle the clicks and menu commands that are waiting, then returns.
class EventYield {
  public:
    virtual ~EventYield() = default;
    virtual void yield() = 0;
};

}  // namespace vendra
