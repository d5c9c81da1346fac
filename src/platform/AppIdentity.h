#pragma once

#include <string>

namespace vendra {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The program's own identity: its application folder, title and version.
class AppIdentity {
  public:
    virtual ~AppIdentity() = default;
    // Decides the application folder now and makes it ready: the program's folder when it is
    // writable, else one writable per-user folder, created if need be; either way with the help
    // page in it. Returns it without a trailing separator. A search asks once, at its start, and
    // keeps the answer until it has returned. Throws FileError, naming the folders tried, when
    // none of them can be written.
    virtual std::string prepareFolder() = 0;
    virtual std::string title() const = 0;
    virtual Version version() const = 0;
};

}  // namespace vendra
