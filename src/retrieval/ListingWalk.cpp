#include <limits>
#include <string_view>

#include "app/MainWindow.h"
#include "platform/Hosts.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

// The block-start marker ends at "bgcolor=": any colour after it matches.
constexpr std::string_view kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
constexpr std::string_view kBlockEnd = "</table>";

constexpr int kResultsPerPage = 50;

}  // namespace

// Walks the pages one after another; each turn of the loop is one page step. The walk ends at the
// last page, on a stop, on See Incomplete Results, or for a search kind without following pages.
void MainWindow::GetListing(const std::string& URL, const std::string& NextUrl) {
    std::string url = URL;
    // Set once PageNumber has reached the largest page number it can hold: that page is the last.
    bool pageNumbersUsedUp = false;

    for (;;) {
        if (StopFlag) return;
        platform_.controls.setEnabled(Control::Command6, true);

        // A page that cannot be fetched yields no block; the walk goes on with the next page.
        std::string page;
        try {
            page = platform_.fetch.fetch(url);
        } catch (const FetchError&) {
        }

        std::size_t p = FindText(page, kBlockStart, 1, LetterCase::Ignore);
        while (p > 0 && !StopFlag) {
            const std::size_t e =
                FindText(page, kBlockEnd, p + kBlockStart.size(), LetterCase::Ignore);
            // A table that never ends (a page cut short) cannot be cut out, nor can anything
            // after it: the page is done.
            if (e == 0) break;
            const std::string_view block = TextAt(page, p, e - p + kBlockEnd.size());
            platform_.events.yield();
            try {
                platform_.files.appendLine(listingFilePath(), block);
            } catch (const FileError&) {
                // The block is lost, but the walk goes on.
            }
            if (IncompleteFlag) return;
            p = FindText(page, kBlockStart, e + 1, LetterCase::Exact);
        }

        // The next page, by the kind of search.
        switch (SearchKind) {
            case 2:
            case 3: {
                const std::string number = std::to_string(PageNumber);
                url = std::string("http://") + hosts::kListings +
                      (SearchKind == 2 ? "/aw/plistings/list/category" +
                                             platform_.controls.text(Control::Text1) + "/page" +
                                             number + ".html"
                                       : "/aw/plistings/list/category0/page" + number +
                                             ".html?featured");
                if (pageNumbersUsedUp || PageNumber >= PageTotal + 1) return;
                if (PageNumber == std::numeric_limits<std::int16_t>::max()) {
                    pageNumbersUsedUp = true;
                } else {
                    ++PageNumber;
                }
                const int shown = pageNumbersUsedUp ? PageNumber : PageNumber - 1;
                ShowStatus(std::to_string(shown) + " of " + std::to_string(PageTotal) +
                           " pages searched.");
                break;
            }
            case 1:
            case 4: {
                if (ResultOffset >= ListingTotal) return;
                const std::int64_t next = std::int64_t{ResultOffset} + kResultsPerPage;
                // No offset beyond what the field holds: the walk ends there.
                if (next > std::numeric_limits<std::int32_t>::max()) return;
                ResultOffset = static_cast<std::int32_t>(next);
                url = NextUrl + std::to_string(ResultOffset);
                ShowStatus(std::to_string(ResultOffset) + " of " + std::to_string(ListingTotal) +
                           " searched.");
                break;
            }
            default:
                return;
        }
    }
}

}  // namespace vendra
