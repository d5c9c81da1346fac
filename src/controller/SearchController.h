#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "help/HelpMenu.h"
#include "platform/Platform.h"
#include "query/SearchUrls.h"
#include "search/KeptListings.h"
#include "search/SearchProgress.h"
#include "search/SearchState.h"
#include "search/WorkingFiles.h"

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

// What a front end may watch besides the window's controls; either may be absent.
struct FrontEndViews {
    // Sees every report of the stages, each just before the status text it turns into.
    ProgressReport* progress = nullptr;
    // Reads the kept listings of every finished search.
    ResultsView* results = nullptr;
};

// The search's controller: the search state, the commands behind the window's buttons with the
// button states of a search, and the order in which a search calls its stages. It turns what the
// stages report into the status texts and button states, and hands the reports on to the front
// end's own view, if it has one. A search runs from its start to its end inside the command that
// started it; Stop Search and See Incomplete Results run nested in the page walk's yields and
// reach the search only through the state.
class SearchController : private ProgressReport {
  public:
    explicit SearchController(Platform& platform, FrontEndViews views = {});

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
    SearchEnd lastSearchEnd() const { return lastEnd_; }

  private:
    // What a walk lost, counted, with the first reason.
    struct Losses {
        std::uint64_t count = 0;
        std::string firstReason;
        void add(const std::string& reason) {
            if (count++ == 0) firstReason = reason;
        }
    };
    // The idle state the window returns to, after Stop Search or after the site refused a
    // search; the two differ only in what they leave of See Incomplete Results.
    enum class Idle { AfterStop, AfterRefusal };

    bool searchRunning() const { return searchDepth_ > 0; }
    void start(SearchKind kind);
    void runSearch(SearchKind kind);
    void runFirstStage(SearchKind kind);
    void walkListingPages(const std::string& firstPage);
    void walkSearchResults(const ResultPages& pages);
    void findBidsAndWriteResults();
    void finishResults(std::int16_t highest);
    KeywordSearchForm keywordForm() const;

    void report(const Progress& event) override;
    void setSearchControlsEnabled(bool enabled);
    void showStatus(const std::string& text);
    void returnToIdle(Idle idle);
    // The message and window reset when the site refuses a search with too many listings.
    void tooManyListings();
    // Tells the user how many pages and listing blocks the results page lacks, and why.
    void reportLosses();

    Platform& platform_;
    FrontEndViews views_;
    SearchState state_;
    HelpMenu help_;
    // The application folder's files, decided once at the start of each search.
    WorkingFiles files_;
    Losses lostPages_;
    Losses lostBlocks_;
    SearchEnd lastEnd_ = SearchEnd::None;
    int searchDepth_ = 0;
    std::optional<SearchKind> deferredStart_;
    bool closeRequested_ = false;
};

}  // namespace vendra
