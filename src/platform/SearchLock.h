#pragma once

#include <memory>
#include <string>

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
    // left behind by a program that ended without giving it back is taken over. A folder that
    // cannot take a lock at all gets a hold that guards nothing: the search then goes on as it
    // would without one.
    virtual std::unique_ptr<Hold> tryHold(const std::string& folder) = 0;
};

}  // namespace vendra
