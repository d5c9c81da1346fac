#include <optional>
#include <string_view>

#include "app/Failure.h"
#include "app/MainWindow.h"
#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

constexpr std::string_view kCountOpen = "of <b>";
constexpr std::string_view kCountClose = "</b></font>";

// The text between the last count-open marker of the page and the first count-close marker after
// it; nullopt when the page has no count-open marker. Throws when a count-open marker has no
// count-close marker after it.
std::optional<std::string> ReadCountText(std::string_view page, const bool& stopFlag) {
    std::optional<std::string> count;
    std::size_t p = FindText(page, kCountOpen, 1, LetterCase::Ignore);
    while (p > 0 && !stopFlag) {
        const std::size_t e = FindText(page, kCountClose, p + kCountOpen.size(), LetterCase::Ignore);
        if (e == 0) throw Failure(Failure::Kind::MissingEndMarker, "page count without its end");
        count = std::string(TextAt(page, p + kCountOpen.size(), e - p - kCountOpen.size()));
        p = FindText(page, kCountOpen, e + 1, LetterCase::Ignore);
    }
    return count;
}

}  // namespace

void MainWindow::GetData(const std::string& URL, const std::string& NextUrl) {
    // A failed fetch of the first page goes to the start command, which ends the search.
    const std::string page = platform_.fetch.fetch(URL);

    try {
        const std::optional<std::string> count = ReadCountText(page, StopFlag);
        std::int16_t total = 0;
        if (count) {
            const NumberReading reading =
                ReadNumber(*count, NumberWidth::Int16, platform_.locale.separators());
            if (!reading.ok()) throw Failure(Failure::Kind::TypeMismatch, "page count: " + *count);
            total = static_cast<std::int16_t>(reading.value);
        }
        PageTotal = total;
        ShowStatus(count.value_or("") + " pages of listings found");
    } catch (const Failure&) {
        // PageTotal keeps the count of the last search that had one; the walk still runs.
        ShowStatus("No Contents Found between selected Text...");
    }

    // The walk fetches the first page again: the probe's page is not handed over.
    GetListing(URL, NextUrl);
}

}  // namespace vendra
