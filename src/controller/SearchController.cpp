#include "controller/SearchController.h"

#include "query/Categories.h"
#include "report/BidPass.h"
#include "report/ResultsWriter.h"
#include "retrieval/ListingCount.h"
#include "retrieval/PageCountProbe.h"
#include "retrieval/PageWalk.h"

namespace vendra {
namespace {

// The controls every search start disables and Stop Search enables again.
constexpr Control kSearchControls[] = {
    Control::ShowCategoriesButton, Control::CategorySearchButton, Control::FeaturedSearchButton,
    Control::CompletedSearchButton, Control::KeywordSearchButton};

// One handler per kind of report; a kind without one does not compile.
template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// clang 14, which builds the fuzzers, deduces no aggregate's arguments by itself.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

SearchController::SearchController(Platform& platform, FrontEndViews views)
    : platform_(platform),
      views_(views),
      help_(platform.shell, platform.identity),
      files_(WorkingFiles::In("")) {}

void SearchController::load() {
    state_.stopRequested = false;
    for (const Category& category : Categories())
        platform_.controls.appendListEntry(Control::CategoryList, std::string(category.name));
    platform_.controls.setListIndex(Control::SearchMode, 0);
    platform_.controls.setListIndex(Control::CategoryList, 0);
}

void SearchController::startKeywordSearch() { start(SearchKind::Keyword); }
void SearchController::startCategorySearch() { start(SearchKind::Category); }
void SearchController::startFeaturedSearch() { start(SearchKind::Featured); }
void SearchController::startCompletedSearch() { start(SearchKind::Completed); }

void SearchController::stopSearch() {
    returnToIdle(Idle::AfterStop);
    // A stopped search writes no results, so the page in flight is not needed: it is abandoned
    // rather than waited for.
    if (searchRunning()) platform_.fetch.cancel();
}

void SearchController::seeIncompleteResults() {
    state_.incompleteRequested = true;
    platform_.controls.setEnabled(Control::IncompleteButton, false);
    // A page waiting to be asked for again is not waited for.
    platform_.fetch.endWait();
}

void SearchController::showCategories() { platform_.shell.open(CategoriesIndexUrl()); }

bool SearchController::mayClose() {
    if (!searchRunning()) return true;
    // The search ends at its next look at the state; the request in flight is abandoned so
    // that nothing waits on the network.
    state_.stopRequested = true;
    closeRequested_ = true;
    deferredStart_.reset();
    platform_.fetch.cancel();
    return false;
}

void SearchController::start(SearchKind kind) {
    // A stopped search re-enables the search buttons while it is still unwinding below this
    // command; a start then waits until that search has returned.
    deferredStart_ = kind;
    if (searchRunning()) return;
    while (deferredStart_ && !closeRequested_) {
        const SearchKind next = *deferredStart_;
        deferredStart_.reset();
        runSearch(next);
    }
    if (closeRequested_) {
        closeRequested_ = false;
        platform_.controls.closeWindow();
    }
}

void SearchController::runSearch(SearchKind kind) {
    struct Running {
        int& depth;
        explicit Running(int& d) : depth(d) { ++depth; }
        ~Running() { --depth; }
    } running(searchDepth_);

    lastEnd_ = SearchEnd::None;
    lostPages_ = {};
    lostBlocks_ = {};
    // The lock and every file of this search are in the folder decided here, whatever happens
    // to the folders while the search runs.
    files_ = WorkingFiles::In(platform_.identity.prepareFolder());
    // Taken before anything is deleted and held until the search has returned, however it ends.
    const std::unique_ptr<SearchLock::Hold> folderHold =
        platform_.searchLock.tryHold(files_.folder);
    if (!folderHold) {
        platform_.messages.showMessage(
            "Another Vendra window is searching from this folder. Wait for it to finish, then "
            "search again.");
        returnToIdle(Idle::AfterStop);
        lastEnd_ = SearchEnd::FolderInUse;
        return;
    }
    state_.stopRequested = false;
    // A See Incomplete Results left over from a search that ended with the too-many-listings
    // message would otherwise cut this search short after its first block.
    state_.incompleteRequested = false;
    setSearchControlsEnabled(false);
    if (kind != SearchKind::Keyword) state_.pageNumber = 2;
    showStatus("Deleting Temporary Files.......");
    RemoveWorkingFiles(platform_.files, files_);
    state_.kind = kind;

    try {
        runFirstStage(kind);
    } catch (const FetchError& error) {
        // A first page abandoned by Stop Search or a close is a stop, not a site out of reach.
        if (state_.stopRequested) {
            lastEnd_ = SearchEnd::Stopped;
            return;
        }
        // Only a first page ends the search this way; the walk skips later pages it cannot fetch.
        platform_.messages.showMessage(std::string("The auction site could not be reached: ") +
                                       error.what());
        returnToIdle(Idle::AfterStop);
        lastEnd_ = SearchEnd::SiteUnreachable;
        return;
    }
    findBidsAndWriteResults();
    // Only once the results page is open: the user sees what arrived, then what is missing.
    if (lastEnd_ == SearchEnd::Finished) reportLosses();
}

void SearchController::runFirstStage(SearchKind kind) {
    switch (kind) {
        case SearchKind::Category:
            showStatus("Finding # of Auctions in Category.......");
            walkListingPages(
                CategoryFirstPageUrl(platform_.controls.text(Control::CategoryNumber)));
            break;
        case SearchKind::Featured:
            showStatus("Finding # of featured auctions.......");
            walkListingPages(FeaturedFirstPageUrl());
            break;
        case SearchKind::Completed:
            showStatus("Finding # of completed auctions.......");
            walkSearchResults(
                CompletedSearchPages(platform_.controls.text(Control::CompletedWords)));
            break;
        case SearchKind::Keyword:
            walkSearchResults(KeywordSearchPages(keywordForm()));
            break;
        case SearchKind::None:
            break;
    }
}

void SearchController::walkListingPages(const std::string& firstPage) {
    ProbePageCount(firstPage, state_, platform_.fetch, platform_.locale, *this);
    // The walk fetches the first page again: the probe's page is not handed over.
    WalkPages(firstPage, "", files_.listing, state_,
              {platform_.fetch, platform_.events, platform_.files, *this,
               [this] { return platform_.controls.text(Control::CategoryNumber); }});
}

void SearchController::walkSearchResults(const ResultPages& pages) {
    state_.resultOffset = 0;
    const std::string firstPage = platform_.fetch.fetch(pages.firstPage);
    if (state_.stopRequested) return;
    const ListingCount count = ReadListingCount(firstPage, platform_.locale.separators());
    switch (count.status) {
        case ListingCount::Status::NotANumber:
            tooManyListings();
            return;
        case ListingCount::Status::NoEnd:
        case ListingCount::Status::Overflow:
            return;
        case ListingCount::Status::Found:
            break;
    }
    state_.listingTotal = count.listings;
    report(progress::ListingsAnnounced{count.text, count.listings});
    // A category search's number is never asked for by a results walk.
    WalkPages(pages.firstPage, pages.followingPrefix, files_.listing, state_,
              {platform_.fetch, platform_.events, platform_.files, *this, {}});
}

KeywordSearchForm SearchController::keywordForm() const {
    const WindowControls& controls = platform_.controls;
    return {controls.text(Control::TitleWords),
            controls.text(Control::ExcludedWords),
            controls.listIndex(Control::SearchMode),
            controls.isChecked(Control::DescriptionsBox),
            CategoryNumber(controls.listIndex(Control::CategoryList)),
            controls.text(Control::PriceFrom),
            controls.text(Control::PriceTo)};
}

void SearchController::findBidsAndWriteResults() {
    if (state_.stopRequested) {
        if (lastEnd_ == SearchEnd::None) lastEnd_ = SearchEnd::Stopped;
        return;
    }
    showStatus("Finding Bid amounts.......");
    const NumberSeparators separators = platform_.locale.separators();
    const HighestBids bids =
        FindHighestBids(platform_.files, files_.listing, state_.kind, separators);
    switch (bids.status) {
        case HighestBids::Status::NoListingFile:
            tooManyListings();
            return;
        case HighestBids::Status::Unreadable:  // ended without results, as it stands
            lastEnd_ = SearchEnd::BidsUnreadable;
            return;
        case HighestBids::Status::Found:
            break;
    }
    showStatus("Creating Output.......");
    switch (WriteResults(platform_.files, files_.listing, files_.results,
                         platform_.controls.text(Control::MinimumBids), bids.highest, state_.kind,
                         separators)) {
        case ResultsOutcome::NoListingFile:
            tooManyListings();
            return;
        case ResultsOutcome::Failed:
            lastEnd_ = SearchEnd::PageNotWritten;
            return;
        case ResultsOutcome::Written:
            break;
    }
    finishResults(bids.highest);
}

void SearchController::finishResults(std::int16_t highest) {
    platform_.shell.open(files_.results);
    showStatus("Finished!!!");
    platform_.controls.setCaption(Control::StopButton, "Begin New Search");
    lastEnd_ = SearchEnd::Finished;
    if (views_.results)
        views_.results->resultsWritten({files_.listing,
                                        platform_.controls.text(Control::MinimumBids), highest,
                                        state_.kind, platform_.locale.separators()});
    try {
        platform_.files.remove(files_.listing);
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::NotFound) tooManyListings();
    }
}

void SearchController::report(const Progress& event) {
    if (views_.progress) views_.progress->report(event);
    std::visit(Overloaded{
                   [this](const progress::PagesAnnounced& e) {
                       showStatus(e.asWritten + " pages of listings found");
                   },
                   [this](const progress::PagesUnreadable&) {
                       showStatus("No Contents Found between selected Text...");
                   },
                   [this](const progress::ListingsAnnounced& e) {
                       showStatus(e.asWritten + " listings found");
                   },
                   [this](const progress::PageStepBegun&) {
                       platform_.controls.setEnabled(Control::IncompleteButton, true);
                   },
                   [this](const progress::PagesSearched& e) {
                       showStatus(std::to_string(e.page) + " of " + std::to_string(e.pages) +
                                  " pages searched.");
                   },
                   [this](const progress::ListingsSearched& e) {
                       showStatus(std::to_string(e.offset) + " of " + std::to_string(e.listings) +
                                  " searched.");
                   },
                   [this](const progress::PageLost& e) { lostPages_.add(e.reason); },
                   [this](const progress::BlockLost& e) { lostBlocks_.add(e.reason); },
               },
               event);
}

void SearchController::setSearchControlsEnabled(bool enabled) {
    for (Control control : kSearchControls) platform_.controls.setEnabled(control, enabled);
}

void SearchController::showStatus(const std::string& text) {
    platform_.controls.setCaption(Control::StatusLine, text);
}

void SearchController::returnToIdle(Idle idle) {
    if (idle == Idle::AfterStop) state_.incompleteRequested = false;
    state_.stopRequested = true;
    setSearchControlsEnabled(true);
    if (idle == Idle::AfterStop) platform_.controls.setEnabled(Control::IncompleteButton, false);
    platform_.controls.setCaption(Control::StopButton, "Stop Search");
    showStatus("Ready for another search");
}

void SearchController::tooManyListings() {
    platform_.messages.showMessage(
        "eBay says your search returned too many listings. Please narrow it and try again");
    lastEnd_ = SearchEnd::TooManyListings;
    returnToIdle(Idle::AfterRefusal);
}

void SearchController::reportLosses() {
    const auto tell = [this](const Losses& lost, const char* one, const char* many,
                             const char* why) {
        if (lost.count == 0) return;
        const bool single = lost.count == 1;
        platform_.messages.showMessage(std::to_string(lost.count) + " " + (single ? one : many) +
                                       " " + why + " (" + lost.firstReason +
                                       "); the results page lacks " + (single ? "its" : "their") +
                                       " listings.");
    };
    tell(lostPages_, "page of the search", "pages of the search", "could not be fetched");
    tell(lostBlocks_, "listing block", "listing blocks",
         "could not be written to the listing file");
}

}  // namespace vendra
