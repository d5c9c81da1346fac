#include "run/SearchTexts.h"

#include "text/OneLine.h"

namespace vendra {
namespace {

// One handler per kind of report; a kind without one does not compile.
template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// clang 14, which builds the fuzzers, deduces no aggregate's arguments by itself.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

using Text = std::optional<std::string>;

Text FirstPageText(SearchKind kind) {
    switch (kind) {
        case SearchKind::Category:
            return "Finding # of Auctions in Category.......";
        case SearchKind::Featured:
            return "Finding # of featured auctions.......";
        case SearchKind::Completed:
            return "Finding # of completed auctions.......";
        case SearchKind::Keyword:
        case SearchKind::None:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> StatusText(const Progress& event) {
    return std::visit(
        Overloaded{
            [](const progress::SearchBegun&) -> Text { return "Deleting Temporary Files......."; },
            [](const progress::FirstPageAsked& e) -> Text { return FirstPageText(e.kind); },
            [](const progress::PagesAnnounced& e) -> Text {
                return e.asWritten + " pages of listings found";
            },
            [](const progress::PagesUnreadable&) -> Text {
                return "No Contents Found between selected Text...";
            },
            [](const progress::ListingsAnnounced& e) -> Text {
                return e.asWritten + " listings found";
            },
            [](const progress::PageStepBegun&) -> Text { return std::nullopt; },
            [](const progress::PagesSearched& e) -> Text {
                return std::to_string(e.page) + " of " + std::to_string(e.pages) +
                       " pages searched.";
            },
            [](const progress::ListingsSearched& e) -> Text {
                return std::to_string(e.offset) + " of " + std::to_string(e.listings) +
                       " searched.";
            },
            [](const progress::PageLost&) -> Text { return std::nullopt; },
            [](const progress::BlockLost&) -> Text { return std::nullopt; },
            [](const progress::BidPassBegun&) -> Text { return "Finding Bid amounts......."; },
            [](const progress::ResultsBegun&) -> Text { return "Creating Output......."; },
        },
        event);
}

std::string UnreachableMessage(const SearchOutcome& outcome) {
    return "The auction site could not be reached: " + outcome.whyUnreachable;
}

std::string FolderUnusableMessage(const SearchOutcome& outcome) {
    return "The search cannot begin: " + OneLine(outcome.whyFolderUnusable) + ".";
}

std::vector<std::string> LossMessages(const SearchOutcome& outcome) {
    std::vector<std::string> messages;
    const auto tell = [&](const Losses& lost, const char* one, const char* many, const char* why) {
        if (lost.count == 0) return;
        const bool single = lost.count == 1;
        messages.push_back(std::to_string(lost.count) + " " + (single ? one : many) + " " + why +
                           " (" + lost.firstReason + "); the results page lacks " +
                           (single ? "its" : "their") + " listings.");
    };
    tell(outcome.lostPages, "page of the search", "pages of the search", "could not be fetched");
    tell(outcome.lostBlocks, "listing block", "listing blocks",
         "could not be written to the listing file");
    return messages;
}

}  // namespace vendra
