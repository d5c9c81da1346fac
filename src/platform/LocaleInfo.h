#pragma once

#include <string>

namespace vendra {

// The user's locale as far as number reading needs it. Separators are UTF-8 text.
struct NumberSeparators {
    std::string group = ",";
    std::string decimal = ".";
};

class LocaleInfo {
  public:
    virtual ~LocaleInfo() = default;
    virtual NumberSeparators separators() const = 0;
};

}  // namespace vendra
