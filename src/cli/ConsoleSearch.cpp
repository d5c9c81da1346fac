#include "cli/ConsoleSearch.h"

namespace vendra {

int RunConsoleSearch(const SearchRequest& request, SearchController& controller,
                     ConsolePorts& console, const DataExport* data, std::ostream& out,
                     std::ostream& err) {
    ConsoleControls& controls = console.controls;
    controller.load();
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
            controller.startCategorySearch();
            break;
        case SearchKind::Featured:
            controller.startFeaturedSearch();
            break;
        case SearchKind::Keyword:
            controller.startKeywordSearch();
            break;
        case SearchKind::Completed:
            controller.startCompletedSearch();
            break;
        case SearchKind::None:
            return kExitBadOptions;
    }

    console.output->finish();
    const char* why = nullptr;
    switch (controller.lastSearchEnd()) {
        case SearchEnd::Finished:
            out << console.shell.lastOpened() << std::endl;
            if (data && !data->failure().empty()) {
                err << "The data file could not be written: " << data->failure() << std::endl;
                return kExitNoResults;
            }
            if (data && !request.sinceFile.empty())
                err << data->fresh() << " of " << data->listings() << " listings are new since "
                    << request.sinceFile << std::endl;
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
