#include "help/AboutTexts.h"

namespace vendra {

std::string VersionLine(Version version) {
    return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

AboutTexts AboutTextsOf(const AppIdentity& identity) {
    return {"About " + identity.title(), VersionLine(identity.version())};
}

}  // namespace vendra
