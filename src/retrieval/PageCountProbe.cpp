#include "retrieval/PageCountProbe.h"

#include "text/NumberReading.h"
#include "text/TextSearch.h"

namespace vendra {
namespace {

constexpr std::string_view kCountOpen = "of <b>";
constexpr std::string_view kCountClose = "</b></font>";

}  // namespace

PageCount ReadPageCount(std::string_view page, const NumberSeparators& separators) {
    PageCount count;
    std::size_t open = FindText(page, kCountOpen, 1, LetterCase::Ignore);
    if (open == 0) return count;
    // The last count of the page wins; every count before it must have its end as well.
    while (open > 0) {
        const std::size_t close =
            FindText(page, kCountClose, open + kCountOpen.size(), LetterCase::Ignore);
        if (close == 0) return {PageCount::Status::Unreadable, {}, 0};
        count.text =
            std::string(TextAt(page, open + kCountOpen.size(), close - open - kCountOpen.size()));
        open = FindText(page, kCountOpen, close + 1, LetterCase::Ignore);
    }
    const NumberReading reading = ReadNumber(count.text, NumberWidth::Int16, separators);
    if (!reading.ok()) return {PageCount::Status::Unreadable, count.text, 0};
    count.status = PageCount::Status::Found;
    count.pages = static_cast<std::int16_t>(reading.value);
    return count;
}

void ProbePageCount(const std::string& firstPage, SearchState& state, UrlFetch& fetch,
                    const LocaleInfo& locale, ProgressReport& progress) {
    const PageCount count = ReadPageCount(fetch.fetch(firstPage), locale.separators());
    if (count.status == PageCount::Status::Unreadable) {
        progress.report(progress::PagesUnreadable{});
        return;
    }
    state.pageTotal = count.pages;
    progress.report(progress::PagesAnnounced{count.text, count.pages});
}

}  // namespace vendra
