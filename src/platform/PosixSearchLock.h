#pragma once

#include "platform/SearchLock.h"

namespace vendra {

// The search lock as the system's advisory lock (flock) on a lock file in the folder. The
// system holds it for the life of the process that took it and gives it back when that process
// ends, however it ends. The file itself is never written, and removed when the hold ends; one
// left behind by a program that crashed is taken, whatever it holds and however old it is.
class PosixSearchLock : public SearchLock {
  public:
    std::unique_ptr<Hold> tryHold(const std::string& folder) override;

    // The lock file's name inside the folder.
    static constexpr const char* kFileName = "Vendra-search.lock";
};

}  // namespace vendra
