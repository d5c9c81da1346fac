#pragma once

#include "platform/SearchLock.h"

namespace vendra {

// The search lock as a lock file in the folder (QLockFile). The file names the process that
// holds it, so a lock whose process has died is taken over; a lock is never judged stale by its
// age, since a search may run for hours.
class QtSearchLock : public SearchLock {
  public:
    std::unique_ptr<Hold> tryHold(const std::string& folder) override;

    // The lock file's name inside the folder.
    static constexpr const char* kFileName = "Vendra-search.lock";
};

}  // namespace vendra
