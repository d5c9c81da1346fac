#pragma once

#include <string>

#include "platform/AppIdentity.h"

namespace vendra {

// "Version " and the three numbers in plain decimal: {3, 0, 12} reads "Version 3.0.12".
std::string VersionLine(Version version);

// What the About box shows, filled by its load step each time the box is created.
struct AboutTexts {
    std::string caption;  // "About " + the program's title
    std::string version;  // the version line
};

// The About box's load step: reads only the program's own identity.
AboutTexts AboutTextsOf(const AppIdentity& identity);

}  // namespace vendra
