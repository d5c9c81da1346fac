#pragma once

#include "platform/SearchLock.h"

namespace vendra {

// The search lock as the system's advisory lock (flock) on a lock file in the folder. The
// system holds it for the life of the process that took it and gives it back when that process
// ends, however it ends; the file itself is never written and stays, so what it holds or how old
// it is never matters.
class PosixSearchLock : public SearchLock {
  public:
    std::unique_ptr<Hold> tryHold(const std::string& folder) override;

    // The lock file's name inside the folder.
    static constexpr const char* kFileName = "Vendra-search.lock";
};

}  // namespace vendra
