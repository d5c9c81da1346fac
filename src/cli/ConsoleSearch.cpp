#include "cli/ConsoleSearch.h"

#include "query/Categories.h"

namespace vendra {
namespace {

FixedInputs InputsOf(const SearchRequest& request) {
    FixedInputs inputs;
    inputs.category = request.category;
    inputs.completed = request.words;
    inputs.keyword = {request.words,
                      request.excluded,
                      request.modeIndex,
                      request.descriptions,
                      CategoryNumber(request.categoryIndex),
                      request.priceFrom,
                      request.priceTo};
    inputs.minimum = request.minimumBids;
    return inputs;
}

// Why a search that wrote no results page ended so.
const char* WhyNoResults(SearchEnd end) {
    switch (end) {
        case SearchEnd::TooManyListings:
            return "the site refused the search as too large";
        case SearchEnd::SiteUnreachable:
            return "the auction site could not be reached";
        case SearchEnd::BidsUnreadable:
            return "a bid count in the listing file could not be read";
        case SearchEnd::PageNotWritten:
            return "the results page could not be written";
        case SearchEnd::FolderInUse:
            return "another Vendra is searching from this folder";
        case SearchEnd::Finished:
        case SearchEnd::Stopped:
            break;
    }
    return "the search did not finish";
}

}  // namespace

int ConsoleSearch::interrupt() {
    ++interrupts_;
    if (!running_) return interrupts_;
    if (interrupts_ == 1) {
        ports_.output.message(
            "Ending the walk after the listings in hand; Ctrl+C again stops the search.");
        running_->requestIncomplete();
    } else {
        running_->requestStop();
    }
    return interrupts_;
}

int ConsoleSearch::run(const SearchRequest& request, DataExport* data) {
    if (request.kind == SearchKind::None) return kExitBadOptions;
    const Ended ended = runIn(request, ports_.identity.prepareFolder(), data && data->wanted());
    if (ended.status != kExitResultsWritten) return ended.status;
    const SearchOutcome& outcome = ended.outcome;
    out_ << outcome.resultsPage << std::endl;
    if (!data || !data->wanted()) return kExitResultsWritten;
    data->write(outcome.rows);
    if (!data->failure().empty()) {
        err_ << "The data file could not be written: " << data->failure() << std::endl;
        return kExitNoResults;
    }
    if (!request.sinceFile.empty())
        err_ << data->fresh() << " of " << data->listings() << " listings are new since "
             << request.sinceFile << std::endl;
    return kExitResultsWritten;
}

ConsoleSearch::Ended ConsoleSearch::runIn(const SearchRequest& request, const std::string& folder,
                                          bool keepRows) {
    FixedInputs inputs = InputsOf(request);
    ConsoleOutput& output = ports_.output;
    SearchRun search(ports_.run, inputs, output);
    interrupts_ = 0;
    running_ = &search;
    Ended ended{search.run({request.kind, folder, keepRows}), kExitNoResults, false};
    running_ = nullptr;
    ended.cutShort = interrupts_ > 0;
    const SearchOutcome& outcome = ended.outcome;

    if (!outcome.resultsPage.empty()) {
        if (ports_.desktop) ports_.desktop->open(outcome.resultsPage);
        output.message(kFinishedText);
    }
    switch (outcome.end) {
        case SearchEnd::Finished:
            for (const std::string& message : LossMessages(outcome)) output.message(message);
            break;
        case SearchEnd::TooManyListings:
            output.message(kTooManyListingsMessage);
            break;
        case SearchEnd::SiteUnreachable:
            output.message(UnreachableMessage(outcome));
            break;
        default:
            break;
    }
    output.finish();

    if (outcome.end == SearchEnd::Stopped) {
        err_ << "Search stopped." << std::endl;
        ended.status = kExitStopped;
    } else if (outcome.end != SearchEnd::Finished) {
        err_ << "No results page: " << WhyNoResults(outcome.end) << "." << std::endl;
    } else {
        ended.status = kExitResultsWritten;
    }
    return ended;
}

}  // namespace vendra
