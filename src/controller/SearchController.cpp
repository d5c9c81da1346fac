#include "controller/SearchController.h"

#include "query/Categories.h"
#include "run/SearchTexts.h"

namespace vendra {
namespace {

// The controls every search start disables and Stop Search enables again.
constexpr Control kSearchControls[] = {
    Control::ShowCategoriesButton, Control::CategorySearchButton, Control::FeaturedSearchButton,
    Control::CompletedSearchButton, Control::KeywordSearchButton};

}  // namespace

SearchController::SearchController(Platform& platform)
    : platform_(platform), help_(platform.shell, platform.identity) {}

void SearchController::load() {
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
    if (running_) running_->requestStop();
}

void SearchController::seeIncompleteResults() {
    if (running_) running_->requestIncomplete();
    platform_.controls.setEnabled(Control::IncompleteButton, false);
}

void SearchController::showCategories() { platform_.shell.open(CategoriesIndexUrl()); }

bool SearchController::mayClose() {
    if (!searchRunning()) return true;
    // The search ends at its next look at its state, without waiting on the network.
    if (running_) running_->requestStop();
    closeRequested_ = true;
    deferredStart_.reset();
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
    // Running until its outcome has been shown: a message box shown then is still part of it.
    struct Running {
        int& depth;
        explicit Running(int& d) : depth(d) { ++depth; }
        ~Running() { --depth; }
    } running(searchDepth_);

    lastEnd_.reset();
    SearchRun run({platform_.fetch, platform_.events, platform_.files, platform_.locale,
                   platform_.searchLock, platform_.identity},
                  *this, *this);
    running_ = &run;
    const SearchOutcome outcome = run.run({kind, {}, false});
    running_ = nullptr;
    present(outcome);
}

void SearchController::present(const SearchOutcome& outcome) {
    lastEnd_ = outcome.end;
    if (!outcome.resultsPage.empty()) {
        platform_.shell.open(outcome.resultsPage);
        showStatus(kFinishedText);
        platform_.controls.setCaption(Control::StopButton, "Begin New Search");
    }
    switch (outcome.end) {
        case SearchEnd::TooManyListings:
            platform_.messages.showMessage(kTooManyListingsMessage);
            returnToIdle(Idle::AfterRefusal);
            break;
        case SearchEnd::SiteUnreachable:
            platform_.messages.showMessage(UnreachableMessage(outcome));
            returnToIdle(Idle::AfterStop);
            break;
        case SearchEnd::FolderInUse:
            platform_.messages.showMessage(
                "Another Vendra window is searching from this folder. Wait for it to finish, "
                "then search again.");
            returnToIdle(Idle::AfterStop);
            break;
        case SearchEnd::FolderUnusable:
            platform_.messages.showMessage(FolderUnusableMessage(outcome));
            returnToIdle(Idle::AfterStop);
            break;
        case SearchEnd::Finished:
        case SearchEnd::Stopped:         // the stop has shown the idle state already
        case SearchEnd::BidsUnreadable:  // ended without results, as it stands
        case SearchEnd::PageNotWritten:
            break;
    }
    // What the search lost, however it ended; after a results page only once it is open: the
    // user sees what arrived, then what is missing.
    for (const std::string& message : LossMessages(outcome))
        platform_.messages.showMessage(message);
}

void SearchController::report(const Progress& event) {
    if (std::holds_alternative<progress::SearchBegun>(event)) setSearchControlsEnabled(false);
    if (std::holds_alternative<progress::PageStepBegun>(event))
        platform_.controls.setEnabled(Control::IncompleteButton, true);
    if (const auto text = StatusText(event)) showStatus(*text);
}

std::string SearchController::categoryNumber() {
    return platform_.controls.text(Control::CategoryNumber);
}

std::string SearchController::completedWords() {
    return platform_.controls.text(Control::CompletedWords);
}

KeywordSearchForm SearchController::keywordForm() {
    const WindowControls& controls = platform_.controls;
    return {controls.text(Control::TitleWords),
            controls.text(Control::ExcludedWords),
            controls.listIndex(Control::SearchMode),
            controls.isChecked(Control::DescriptionsBox),
            CategoryNumber(controls.listIndex(Control::CategoryList)),
            controls.text(Control::PriceFrom),
            controls.text(Control::PriceTo)};
}

std::string SearchController::minimumBids() {
    return platform_.controls.text(Control::MinimumBids);
}

void SearchController::setSearchControlsEnabled(bool enabled) {
    for (Control control : kSearchControls) platform_.controls.setEnabled(control, enabled);
}

void SearchController::showStatus(const std::string& text) {
    platform_.controls.setCaption(Control::StatusLine, text);
}

void SearchController::returnToIdle(Idle idle) {
    setSearchControlsEnabled(true);
    if (idle == Idle::AfterStop) platform_.controls.setEnabled(Control::IncompleteButton, false);
    platform_.controls.setCaption(Control::StopButton, "Stop Search");
    showStatus("Ready for another search");
}

}  // namespace vendra
