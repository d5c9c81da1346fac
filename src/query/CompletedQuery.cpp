#include <algorithm>

#include "app/MainWindow.h"
#include "platform/Hosts.h"

namespace vendra {

std::string MainWindow::AddPlus(std::string Terms) {
    std::replace(Terms.begin(), Terms.end(), ' ', '+');
    return Terms;
}

void MainWindow::CompletedSearch() {
    if (StopFlag) return;
    const std::string terms = AddPlus(platform_.controls.text(Control::Text2));
    const std::string site = std::string("http://") + hosts::kCompletedSearch;
    GetSearchListing(site + "/search/search.dll?ht=1&query=" + terms + "&SortProperty=MetaEndSort",
                     site + "/search/search.dll?GetResult&query=" + terms +
                         "&ht=1&combine=y&SortProperty=MetaEndSort&st=2&skip=");
}

}  // namespace vendra
