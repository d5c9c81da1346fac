#include "help/HelpMenu.h"

#include "query/SiteAddresses.h"
#include "search/WorkingFiles.h"

namespace vendra {

void HelpMenu::openInstructions() {
    shell_.open(WorkingFiles::In(identity_.prepareFolder()).instructions);
}

void HelpMenu::emailAuthor() { shell_.open(std::string("mailto:") + hosts::kAuthorMail); }

void HelpMenu::visitWebsite() { shell_.open(std::string("http://") + hosts::kAuthorWebsite); }

void HelpMenu::openLastResults() {
    shell_.open(WorkingFiles::In(identity_.prepareFolder()).results);
}

}  // namespace vendra
