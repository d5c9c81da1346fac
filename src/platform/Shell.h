#pragma once

#include <string>

namespace vendra {

// Opens a file path, an "http://" address or a "mailto:" address with the user's default
// application. The outcome is never examined.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void open(const std::string& target) = 0;
};

}  // namespace vendra
