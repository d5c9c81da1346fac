#include <algorithm>

#include "app/MainWindow.h"
#include "platform/Hosts.h"

namespace vendra {
namespace {

std::string ReplaceSpaces(std::string text, char by) {
    std::replace(text.begin(), text.end(), ' ', by);
    return text;
}

}  // namespace

std::string MainWindow::MakeQuery(const std::string& Search, const std::string& Excluded) const {
    // Every single space becomes one separator: nothing is trimmed or collapsed.
    const std::string plus = ReplaceSpaces(Search, '+');
    const std::string excluded =
        Excluded.empty() ? std::string() : "+-(" + ReplaceSpaces(Excluded, ',') + ")";
    switch (platform_.controls.listIndex(Control::cmbSearch)) {
        case 0: return plus + excluded;                                  // all of these words
        case 1: return "(" + ReplaceSpaces(Search, ',') + ")" + excluded;  // any of these words
        case 2: return "\"" + plus + "\"" + excluded;                    // exact phrase
        default: return {};
    }
}

void MainWindow::KeywordSearch() {
    const WindowControls& controls = platform_.controls;
    const std::string title = controls.text(Control::txtTitle);
    const std::string excluded = controls.text(Control::txtExcluded);
    const std::string query = MakeQuery(title, excluded);
    const std::string titleTerms = AddPlus(title);
    const std::string option = std::to_string(controls.listIndex(Control::cmbSearch) + 1);
    const std::string excludedTerms = AddPlus(excluded);
    const std::string category = getcatno();
    const std::string minPrice = controls.text(Control::txtBeginPrice);
    const std::string maxPrice = controls.text(Control::txtEndPrice);

    if (StopFlag) return;

    const bool descriptions = controls.checkState(Control::Check1) == 1;
    const std::string site = std::string("http://") +
                             (descriptions ? hosts::kDescriptionSearch : hosts::kKeywordSearch);
    const std::string excludeKey = descriptions ? "&srchdesc=y&exclude=" : "&exclude=";
    const std::string regionKey = descriptions ? "&srchdesc=y&region=" : "&region=";

    const std::string firstPage =
        site + "/search/search.dll?MfcISAPICommand=GetResult&ht=1&ebaytag1=ebayreg&query=" + query +
        "&query2=" + titleTerms + "&search_option=" + option + excludeKey + excludedTerms +
        "&category0=" + category + "&minPrice=" + minPrice + "&maxPrice=" + maxPrice +
        "&ebaytag1code=" + "0" + "&st=&SortProperty=MetaEndSort";
    const std::string followingPages =
        site + "/search/search.dll?query=" + query + "&minPrice=" + minPrice + "&maxPrice=" +
        maxPrice + regionKey + "0" + "&ebaytag1=ebayreg&ht=1&category0=" + category +
        "&combine=y&SortProperty=MetaEndSort&st=2&skip=";
    GetSearchListing(firstPage, followingPages);
}

}  // namespace vendra
