#include "help/HelpMenu.h"

#include <optional>

#include "query/SiteAddresses.h"
#include "search/WorkingFiles.h"

namespace vendra {
namespace {

// The application folder's files; none when no folder can be written, which then holds neither.
std::optional<WorkingFiles> Files(AppIdentity& identity) {
    try {
        return WorkingFiles::In(identity.prepareFolder());
    } catch (const FileError&) {
        return std::nullopt;
    }
}

}  // namespace

void HelpMenu::openInstructions() {
    if (const auto files = Files(identity_)) shell_.open(files->instructions);
}

void HelpMenu::emailAuthor() { shell_.open(std::string("mailto:") + hosts::kAuthorMail); }

void HelpMenu::visitWebsite() { shell_.open(std::string("http://") + hosts::kAuthorWebsite); }

void HelpMenu::openLastResults() {
    if (const auto files = Files(identity_)) shell_.open(files->results);
}

}  // namespace vendra
