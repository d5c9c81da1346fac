#include "run/SearchRun.h"

#include <utility>

#include "report/BidPass.h"
#include "report/ResultsWriter.h"
#include "retrieval/ListingCount.h"
#include "retrieval/PageCountProbe.h"
#include "retrieval/PageWalk.h"

namespace vendra {
namespace {

// The listings of the results page as data, gathered as the page is written.
class RowCollector : public KeptRowSink {
  public:
    RowCollector(SearchKind kind, const NumberSeparators& separators)
        : kind_(kind), separators_(separators) {}
    void keptRow(std::string_view line, std::int16_t) override {
        ListingRow row = ReadListingRow(line, kind_, separators_);
        if (row.isListing()) rows.push_back(std::move(row));
    }
    std::vector<ListingRow> rows;

  private:
    SearchKind kind_;
    NumberSeparators separators_;
};

}  // namespace

SearchRun::SearchRun(const RunPorts& ports, SearchInputs& inputs, ProgressReport& progress)
    : ports_(ports), inputs_(inputs), progress_(progress), files_(WorkingFiles::In("")) {}

void SearchRun::refuseFolder(const std::string& why) {
    end(SearchEnd::FolderUnusable);
    outcome_.whyFolderUnusable = why;
}

void SearchRun::requestStop() {
    state_.stopRequested = true;
    state_.incompleteRequested = false;
    // A stopped search writes no results, so the page in flight is abandoned, not waited for.
    ports_.fetch.cancel();
}

void SearchRun::requestIncomplete() {
    state_.incompleteRequested = true;
    ports_.fetch.endWait();
}

void SearchRun::end(SearchEnd how) {
    outcome_.end = how;
    ended_ = true;
}

SearchOutcome SearchRun::run(const RunRequest& request) {
    state_ = {};
    outcome_ = {};
    ended_ = false;
    // The lock and every file of this search are in the folder decided here, whatever happens
    // to the folders while the search runs. The lock is taken before anything is deleted and
    // held until the search has returned, however it ends. A folder that cannot serve is found
    // now, before anything is fetched.
    std::unique_ptr<SearchLock::Hold> folderHold;
    try {
        files_ = WorkingFiles::In(request.folder.empty() ? ports_.identity.prepareFolder()
                                                         : request.folder);
        folderHold = ports_.searchLock.tryHold(files_.folder);
    } catch (const FileError& error) {
        refuseFolder(error.what());
        return std::move(outcome_);
    }
    if (!folderHold) {
        end(SearchEnd::FolderInUse);
        return std::move(outcome_);
    }
    state_.kind = request.kind;
    if (request.kind != SearchKind::Keyword) state_.pageNumber = 2;
    progress_.report(progress::SearchBegun{});
    if (const auto blocked = RemoveWorkingFiles(ports_.files, files_)) {
        refuseFolder(*blocked);
        return std::move(outcome_);
    }

    try {
        runFirstStage(request.kind);
    } catch (const FetchError& error) {
        // A first page abandoned by a stop is a stop, not a site out of reach. Only a first page
        // ends the search this way; the walk skips later pages it cannot fetch.
        if (state_.stopRequested) {
            end(SearchEnd::Stopped);
        } else {
            end(SearchEnd::SiteUnreachable);
            outcome_.whyUnreachable = error.what();
        }
        return std::move(outcome_);
    }
    if (!ended_) writeResults(request);
    return std::move(outcome_);
}

void SearchRun::runFirstStage(SearchKind kind) {
    if (kind != SearchKind::Keyword) progress_.report(progress::FirstPageAsked{kind});
    switch (kind) {
        case SearchKind::Category:
            walkListingPages(CategoryFirstPageUrl(inputs_.categoryNumber()));
            break;
        case SearchKind::Featured:
            walkListingPages(FeaturedFirstPageUrl());
            break;
        case SearchKind::Completed:
            walkSearchResults(CompletedSearchPages(inputs_.completedWords()));
            break;
        case SearchKind::Keyword:
            walkSearchResults(KeywordSearchPages(inputs_.keywordForm()));
            break;
        case SearchKind::None:
            break;
    }
}

void SearchRun::walkListingPages(const std::string& firstPage) {
    ProbePageCount(firstPage, state_, ports_.fetch, ports_.locale, *this);
    // The walk fetches the first page again: the probe's page is not handed over.
    WalkPages(firstPage, "", files_.listing, state_,
              {ports_.fetch, ports_.events, ports_.files, *this,
               [this] { return inputs_.categoryNumber(); }});
}

void SearchRun::walkSearchResults(const ResultPages& pages) {
    state_.resultOffset = 0;
    const std::string firstPage = ports_.fetch.fetch(pages.firstPage);
    if (state_.stopRequested) return;
    const ListingCount count = ReadListingCount(firstPage, ports_.locale.separators());
    switch (count.status) {
        case ListingCount::Status::NotANumber:
            end(SearchEnd::TooManyListings);
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
              {ports_.fetch, ports_.events, ports_.files, *this, {}});
}

void SearchRun::writeResults(const RunRequest& request) {
    if (state_.stopRequested) return end(SearchEnd::Stopped);
    progress_.report(progress::BidPassBegun{});
    const NumberSeparators separators = ports_.locale.separators();
    const HighestBids bids = FindHighestBids(ports_.files, files_.listing, state_.kind, separators);
    switch (bids.status) {
        case HighestBids::Status::NoListingFile:
            return end(SearchEnd::TooManyListings);
        case HighestBids::Status::Unreadable:
            return end(SearchEnd::BidsUnreadable);
        case HighestBids::Status::Found:
            break;
    }
    progress_.report(progress::ResultsBegun{});
    RowCollector rows(state_.kind, separators);
    switch (WriteResults(ports_.files, files_.listing, files_.results, inputs_.minimumBids(),
                         bids.highest, state_.kind, separators,
                         request.keepRows ? &rows : nullptr)) {
        case ResultsOutcome::NoListingFile:
            return end(SearchEnd::TooManyListings);
        case ResultsOutcome::Failed:
            return end(SearchEnd::PageNotWritten);
        case ResultsOutcome::Written:
            break;
    }
    end(SearchEnd::Finished);
    outcome_.resultsPage = files_.results;
    outcome_.rows = std::move(rows.rows);
    try {
        ports_.files.remove(files_.listing);
    } catch (const FileError& error) {
        // The listing file went between the page and now: the site refused the search.
        if (error.kind() == FileError::Kind::NotFound) end(SearchEnd::TooManyListings);
    }
}

void SearchRun::report(const Progress& event) {
    if (const auto* lost = std::get_if<progress::PageLost>(&event))
        outcome_.lostPages.add(lost->reason);
    if (const auto* lost = std::get_if<progress::BlockLost>(&event))
        outcome_.lostBlocks.add(lost->reason);
    progress_.report(event);
}

}  // namespace vendra
