#pragma once

#include <optional>
#include <string>

#include "search/SearchState.h"
#include "search/WorkingFiles.h"
#include "help/HelpMenu.h"
#include "platform/Platform.h"
#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"

namespace vendra {

// How the last search ended.
enum class SearchEnd {
    None,             // no search yet, or one still running
    Finished,         // the results page was written and handed to the desktop
    Stopped,          // Stop Search, or the window closed
    TooManyListings,  // the site refused the search
    SiteUnreachable,  // the first page could not be fetched
    BidsUnreadable,   // a bid count in the listing file could not be read
    PageNotWritten,   // the minimum is not a number, or the results page could not be written
    FolderInUse,      // another program was searching from the application folder
};

// The main window's logic: the search state, the commands behind the buttons with the button
// states of a search, and the order in which a search calls its stages. A search runs from its
// start to its end inside the command that started it; Stop Search and See Incomplete Results
// run nested in the page walk's yields and reach the search only through the state.
class SearchController {
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
    bool searchRunning() const { return searchDepth_ > 0; }
    const SearchState& state() const { return state_; }
    SearchEnd lastSearchEnd() const { return lastEnd_; }

  private:
    void start(SearchKind kind);
    void runSearch(SearchKind kind);
    LostBlocks walkListingPages(const std::string& firstPage);
    LostBlocks walkSearchResults(const ResultPages& pages);
    void findBidsAndWriteResults();
    void finishResults(const WorkingFiles& paths);
    KeywordSearchForm keywordForm() const;

    void setSearchControlsEnabled(bool enabled);
    void showStatus(const std::string& text);
    // The idle state after a stop: what Stop Search does, and how a failed first page ends.
    void returnToIdle();
    // The message and window reset when the site refuses a search with too many listings.
    void tooManyListings();
    // Tells the user how many listing blocks the results page lacks, and why.
    void reportLostBlocks(const LostBlocks& lost);
    WorkingFiles workingFiles() const;

    Platform& platform_;
    SearchState state_;
    HelpMenu help_;
    SearchEnd lastEnd_ = SearchEnd::None;
    int searchDepth_ = 0;
    std::optional<SearchKind> deferredStart_;
    bool closeRequested_ = false;
};

}  // namespace vendra
