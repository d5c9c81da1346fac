#include <string_view>

#include "app/MainWindow.h"
#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

constexpr std::string_view kListingCount =
    "<tr><td><font size=\"2\" face=\"Arial, Helvetica, sans-serif\"><b>";
constexpr std::string_view kCountEnd = "</b>";

}  // namespace

void MainWindow::GetSearchListing(const std::string& URL, const std::string& NextUrl) {
    ResultOffset = 0;
    // A failed fetch of the first page goes to the start command, which ends the search.
    const std::string page = platform_.fetch.fetch(URL);
    if (StopFlag) return;

    // Without the count marker p is 0 and the count is cut from where it would have begun.
    const std::size_t p = FindText(page, kListingCount, 1, LetterCase::Ignore);
    const std::size_t countStart = p + kListingCount.size();
    const std::size_t e = FindText(page, kCountEnd, countStart, LetterCase::Ignore);
    if (e == 0) return;  // no end to the count: no walk, no message
    const std::string count(TextAt(page, countStart, e - countStart));

    const NumberReading reading =
        ReadNumber(count, NumberWidth::Int32, platform_.locale.separators());
    switch (reading.status) {
        case NumberReading::Status::NotANumber: TooManyListings(); return;
        case NumberReading::Status::Overflow: return;
        case NumberReading::Status::Ok: break;
    }
    ListingTotal = reading.value;
    ShowStatus(count + " listings found");
    GetListing(URL, NextUrl);
}

}  // namespace vendra
