#pragma once

#include <string>

namespace vendra {

// A modal message with one OK button and the program's title as caption; returns once closed.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace vendra
