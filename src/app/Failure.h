#pragma once

#include <stdexcept>
#include <string>

namespace vendra {

// A failure raised by a stage of a search and answered by the handler of the procedure that
// catches it: a text that is not a number, a number out of range, a marker without its end.
class Failure : public std::runtime_error {
public:
    enum class Kind { TypeMismatch, Overflow, MissingEndMarker };
    Failure(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

}  // namespace vendra
