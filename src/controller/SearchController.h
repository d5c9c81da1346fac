#pragma once

#include <optional>
#include <string>

#include "help/HelpMenu.h"
#include "platform/Platform.h"
#include "run/SearchInputs.h"
#include "run/SearchOutcome.h"
#include "run/SearchRun.h"
#include "search/SearchProgress.h"

namespace vendra {

// The window's side of a search: the commands behind the window's buttons with the button
// states of a search. A search runs from its start to its end inside the command that started
// it; its inputs are read from the controls at the moment it asks for them, and what it reports
// and how it ends become the status texts, captions, button states and messages of the window.
// Stop Search and See Incomplete Results run nested in the page walk's yields and reach the
// running search through its requests.
class SearchController : private ProgressReport, private SearchInputs {
  public:
    explicit SearchController(Platform& platform);

    // Start-up, before the window is first shown: fills the category list and selects the
    // first entry of both lists.
    void load();

    void startKeywordSearch();
    void startCategorySearch();
    void startFeaturedSearch();
    void startCompletedSearch();
    // "Stop Search", and "Begin New Search" after a finished search: back to the idle state.
    void stopSearch();
    void seeIncompleteResults();
    void showCategories();
    HelpMenu& helpMenu() { return help_; }

    // Asked when the user closes the window. True: close now. False: a search is running; it has
    // been told to stop, and the window closes itself once the search has returned.
    bool mayClose();
    // How the last search ended; none before the first one has, or while one runs.
    std::optional<SearchEnd> lastSearchEnd() const { return lastEnd_; }

  private:
    // The idle state the window returns to, after Stop Search or after the site refused a
    // search; the two differ only in what they leave of See Incomplete Results.
    enum class Idle { AfterStop, AfterRefusal };

    bool searchRunning() const { return searchDepth_ > 0; }
    void start(SearchKind kind);
    void runSearch(SearchKind kind);
    void present(const SearchOutcome& outcome);

    void report(const Progress& event) override;
    std::string categoryNumber() override;
    std::string completedWords() override;
    KeywordSearchForm keywordForm() override;
    std::string minimumBids() override;

    void setSearchControlsEnabled(bool enabled);
    void showStatus(const std::string& text);
    void returnToIdle(Idle idle);

    Platform& platform_;
    HelpMenu help_;
    SearchRun* running_ = nullptr;  // the search under way, while its run has not returned
    std::optional<SearchEnd> lastEnd_;
    int searchDepth_ = 0;
    std::optional<SearchKind> deferredStart_;
    bool closeRequested_ = false;
};

}  // namespace vendra
