#include "cli/ConsoleSearch.h"

namespace vendra {

int RunConsoleSearch(const SearchRequest& request, SearchController& logic, ConsoleControls& controls,
                     const ConsoleShell& shell, std::ostream& out, std::ostream& err) {
    logic.load();
    controls.type(Control::MinimumBids, request.minimumBids);
    controls.type(Control::CategoryNumber, request.category);
    controls.type(Control::TitleWords, request.words);
    controls.type(Control::CompletedWords, request.words);
    controls.type(Control::ExcludedWords, request.excluded);
    controls.type(Control::PriceFrom, request.priceFrom);
    controls.type(Control::PriceTo, request.priceTo);
    controls.setListIndex(Control::SearchMode, request.modeIndex);
    controls.setListIndex(Control::CategoryList, request.categoryIndex);
    controls.check(request.descriptions);

    switch (request.kind) {
        case SearchKind::Category:
            logic.startCategorySearch();
            break;
        case SearchKind::Featured:
            logic.startFeaturedSearch();
            break;
        case SearchKind::Keyword:
            logic.startKeywordSearch();
            break;
        case SearchKind::Completed:
            logic.startCompletedSearch();
            break;
        case SearchKind::None:
            return kExitBadOptions;
    }

    const char* why = nullptr;
    switch (logic.lastSearchEnd()) {
        case SearchEnd::Finished:
            out << shell.lastOpened() << std::endl;
            return kExitResultsWritten;
        case SearchEnd::Stopped:
            err << "Search stopped." << std::endl;
            return kExitStopped;
        case SearchEnd::TooManyListings:
            why = "the site refused the search as too large";
            break;
        case SearchEnd::SiteUnreachable:
            why = "the auction site could not be reached";
            break;
        case SearchEnd::BidsUnreadable:
            why = "a bid count in the listing file could not be read";
            break;
        case SearchEnd::PageNotWritten:
            why = "the results page could not be written";
            break;
        case SearchEnd::FolderInUse:
            why = "another Vendra is searching from this folder";
            break;
        case SearchEnd::None:
            why = "the search did not finish";
            break;
    }
    err << "No results page: " << why << "." << std::endl;
    return kExitNoResults;
}

}  // namespace vendra
