#include "cli/ConsoleSearch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "query/Categories.h"
#include "text/OneLine.h"

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
        case SearchEnd::FolderUnusable:
            return "the folder of the working files cannot be used";
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

void ConsoleSearch::stop() {
    interrupts_ = std::max(interrupts_, 2);
    if (running_) running_->requestStop();
}

int ConsoleSearch::run(const SearchRequest& request, DataExport* data) {
    if (request.kind == SearchKind::None) return kExitBadOptions;
    // The application folder, which the search decides itself.
    const Ended ended = runIn(request, {}, data && data->wanted());
    if (ended.status != kExitResultsWritten) return ended.status;
    const SearchOutcome& outcome = ended.outcome;
    // A path that cannot reach standard output (a full disk, a closed pipe) fails the run, as it
    // fails a GNU tool.
    errno = 0;
    out_ << OneLine(outcome.resultsPage) << std::endl;
    const int printed = out_ ? kExitResultsWritten : kExitNoResults;
    if (printed != kExitResultsWritten)
        err_ << "vendra: write error on standard output"
             << (errno != 0 ? std::string(": ") + std::strerror(errno) : "") << std::endl;
    if (!data || !data->wanted()) return printed;
    data->write(outcome.rows);
    if (!data->failure().empty()) {
        err_ << "The data file could not be written: " << OneLine(data->failure()) << std::endl;
        return kExitNoResults;
    }
    if (!request.sinceFile.empty())
        err_ << data->fresh() << " of " << data->listings() << " listings are new since "
             << OneLine(request.sinceFile) << std::endl;
    return printed;
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
        case SearchEnd::TooManyListings:
            output.message(kTooManyListingsMessage);
            break;
        case SearchEnd::SiteUnreachable:
            output.message(UnreachableMessage(outcome));
            break;
        case SearchEnd::FolderUnusable:
            output.message(FolderUnusableMessage(outcome));
            break;
        default:
            break;
    }
    // What the search lost, however it ended.
    for (const std::string& message : LossMessages(outcome)) output.message(message);
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
