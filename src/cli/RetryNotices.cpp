#include "cli/RetryNotices.h"

#include <cctype>
#include <optional>

namespace vendra {
namespace {

// The whole number at `at` in `text`, if digits stand there.
std::optional<long long> DigitsAt(const std::string& text, std::size_t at) {
    long long value = 0;
    std::size_t end = at;
    for (;
         end < text.size() && end - at < 12 && std::isdigit(static_cast<unsigned char>(text[end]));
         ++end)
        value = value * 10 + (text[end] - '0');
    if (end == at) return std::nullopt;
    return value;
}

}  // namespace

std::string PageOfAddress(const std::string& url) {
    constexpr long long kResultsPerPage = 50;
    long long page = 1;
    if (const std::size_t skip = url.rfind("&skip="); skip != std::string::npos) {
        if (const auto offset = DigitsAt(url, skip + 6)) page = *offset / kResultsPerPage + 1;
    } else if (const std::size_t numbered = url.rfind("/page"); numbered != std::string::npos) {
        if (const auto number = DigitsAt(url, numbered + 5)) page = *number;
    }
    return "page " + std::to_string(page);
}

void RetryNotices::retrying(const RetryNotice& notice) {
    output_.message(PageOfAddress(notice.url) + ": " + notice.failure + ", asking again in " +
                    std::to_string(notice.delay.count()) + " s");
}

}  // namespace vendra
