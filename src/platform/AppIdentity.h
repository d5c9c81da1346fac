#pragma once

#include <string>

namespace vendra {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The program's own identity: its folder, title and version.
class AppIdentity {
public:
    virtual ~AppIdentity() = default;
    // The application folder, without a trailing separator: the program's folder when it is
    // writable, else one writable per-user folder. Asked afresh whenever a path is needed.
    virtual std::string folder() const = 0;
    virtual std::string title() const = 0;
    virtual Version version() const = 0;
};

}  // namespace vendra
