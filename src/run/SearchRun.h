#pragma once

#include <string>

#include "platform/AppIdentity.h"
#include "platform/EventYield.h"
#include "platform/LocaleInfo.h"
#include "platform/SearchLock.h"
#include "platform/TextFiles.h"
#include "platform/UrlFetch.h"
#include "run/SearchInputs.h"
#include "run/SearchOutcome.h"
#include "search/SearchKind.h"
#include "search/SearchProgress.h"
#include "search/SearchState.h"
#include "search/WorkingFiles.h"

namespace vendra {

// What a search needs of the desktop; `identity` gives the folder of its working files and lock.
struct RunPorts {
    UrlFetch& fetch;
    EventYield& events;
    TextFiles& files;
    LocaleInfo& locale;
    SearchLock& searchLock;
    AppIdentity& identity;
};

// What to run: the kind of search, and whether the outcome carries the kept listings as data.
struct RunRequest {
    SearchKind kind = SearchKind::None;
    std::string folder;  // of the working files and lock; empty: the application folder
    bool keepRows = false;
};

// One search from its start to its end, whoever started it: it asks `inputs` for what it needs
// when it needs it, reports its progress to `progress` and returns how it ended. The walk
// yields to the desktop once per block; a Stop or See Incomplete Results given there reaches the
// search through requestStop() and requestIncomplete(). Each run starts from fresh state.
class SearchRun : private ProgressReport {
  public:
    SearchRun(const RunPorts& ports, SearchInputs& inputs, ProgressReport& progress);

    SearchOutcome run(const RunRequest& request);

    // The search ends at its next look at its state, and the page in flight is abandoned.
    void requestStop();
    // The walk ends after the block in hand, and the results page follows; a page waiting to
    // be asked for again is not waited for.
    void requestIncomplete();
    bool stopRequested() const { return state_.stopRequested; }

  private:
    void runFirstStage(SearchKind kind);
    void walkListingPages(const std::string& firstPage);
    void walkSearchResults(const ResultPages& pages);
    void writeResults(const RunRequest& request);
    void end(SearchEnd how);
    // Ends the search before anything is fetched: its folder cannot serve, for `why`.
    void refuseFolder(const std::string& why);
    // Counts what the stages lost, and passes every report on.
    void report(const Progress& event) override;

    RunPorts ports_;
    SearchInputs& inputs_;
    ProgressReport& progress_;
    SearchState state_;
    WorkingFiles files_;
    SearchOutcome outcome_;
    bool ended_ = false;  // the outcome's end is settled
};

}  // namespace vendra
