#pragma once

#include "platform/EventYield.h"

namespace vendra {

// Runs the clicks, keys, menu commands and repaints that are waiting, then returns.
class QtEventYield : public EventYield {
  public:
    void yield() override;
};

}  // namespace vendra
