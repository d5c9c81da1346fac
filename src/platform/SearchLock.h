#pragma once

#include <memory>
#include <string>

#include "platform/TextFiles.h"

namespace vendra {

// One search at a time per application folder. Two programs started from one folder share its
// listing file and results page, and every search start deletes both: a second search would
// pull the listing file out from under the first one's walk.
class SearchLock {
  public:
    // The lock, held for as long as this lives.
    class Hold {
      public:
        virtual ~Hold() = default;
    };

    virtual ~SearchLock() = default;
    // Takes the folder's lock for this program; nullptr while another program holds it. A lock
    // is held only as long as its program runs: the lock file left by one that crashed, whatever
    // it holds, never blocks a search. Throws FileError when the lock's path cannot serve (not a
    // regular file, a folder that cannot be written); a file system that takes no locks gets a
    // hold that guards nothing: the search then goes on as it would without one.
    virtual std::unique_ptr<Hold> tryHold(const std::string& folder) = 0;
};

}  // namespace vendra
