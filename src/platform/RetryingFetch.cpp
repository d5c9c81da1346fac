#include "platform/RetryingFetch.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <random>
#include <vector>

namespace vendra {
namespace {

using namespace std::chrono;

std::string_view ReasonPhrase(int status) {
    switch (status) {
        case 408:
            return "Request Timeout";
        case 429:
            return "Too Many Requests";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        case 503:
            return "Service Unavailable";
        case 504:
            return "Gateway Timeout";
        default:
            return {};
    }
}

bool IsTransientStatus(int status) { return !ReasonPhrase(status).empty(); }

std::string Tries(int count) { return count == 1 ? "1 try" : std::to_string(count) + " tries"; }

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

// A whole number of at most nine digits; -1 for anything else.
int Number(std::string_view text) {
    if (!AllDigits(text) || text.size() > 9) return -1;
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

// 1 to 12 for the month's English abbreviation, 0 for anything else.
unsigned MonthNumber(std::string_view text) {
    static constexpr std::array<std::string_view, 12> kMonths{
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3) return 0;
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = std::find(kMonths.begin(), kMonths.end(), lower);
    return found == kMonths.end() ? 0 : static_cast<unsigned>(found - kMonths.begin() + 1);
}

// "HH:MM:SS" as seconds into the day; -1 for anything else.
int TimeOfDay(std::string_view text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return -1;
    const int h = Number(text.substr(0, 2)), m = Number(text.substr(3, 2)),
              s = Number(text.substr(6, 2));
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 60) return -1;
    return h * 3600 + m * 60 + s;
}

std::optional<system_clock::time_point> ReadHttpDate(std::string_view value) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t end = value.find_first_of(" ,-", at);
        const std::size_t stop = end == std::string_view::npos ? value.size() : end;
        if (stop > at) words.push_back(value.substr(at, stop - at));
        at = stop + 1;
    }
    if (!words.empty() && !MonthNumber(words[0])) words.erase(words.begin());  // the weekday
    if (!words.empty() && words.back() == "GMT") words.pop_back();
    if (words.size() != 4) return std::nullopt;
    // asctime: "Nov 6 08:49:37 1994"; the others: "06 Nov 1994 08:49:37", "06 Nov 94 08:49:37".
    const bool asctime = MonthNumber(words[0]) != 0;
    const unsigned monthNumber = MonthNumber(words[asctime ? 0 : 1]);
    const int dayNumber = Number(words[asctime ? 1 : 0]);
    int yearNumber = Number(words[asctime ? 3 : 2]);
    const int secondOfDay = TimeOfDay(words[asctime ? 2 : 3]);
    // Two digits (RFC 850): the nearer century.
    if (yearNumber >= 0 && words[asctime ? 3 : 2].size() == 2)
        yearNumber += yearNumber < 70 ? 2000 : 1900;
    if (monthNumber == 0 || dayNumber < 1 || yearNumber < 1 || secondOfDay < 0) return std::nullopt;
    const year_month_day date{year{yearNumber}, month{monthNumber},
                              day{static_cast<unsigned>(dayNumber)}};
    if (!date.ok()) return std::nullopt;
    return sys_days(date) + seconds(secondOfDay);
}

}  // namespace

std::optional<seconds> ReadRetryAfter(std::string_view value, system_clock::time_point now) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (AllDigits(value)) {
        // Any count past a day is as good as a day: far past what is waited out.
        return seconds(value.size() > 6 ? 86400 : std::min(Number(value), 86400));
    }
    const std::optional<system_clock::time_point> date = ReadHttpDate(value);
    if (!date) return std::nullopt;
    return std::max(ceil<seconds>(*date - now), seconds(0));
}

RetryingFetch::RetryingFetch(HttpFetch& http, RetryPause& pause, int retries, Clock now,
                             Jitter jitter)
    : http_(http),
      pause_(pause),
      retries_(std::clamp(retries, 0, kMostRetries)),
      now_(std::move(now)),
      jitter_(std::move(jitter)) {}

RetryingFetch::Jitter RetryingFetch::SmallJitter() {
    return [engine = std::minstd_rand(std::random_device()())]() mutable {
        return milliseconds(std::uniform_int_distribution<int>(0, 250)(engine));
    };
}

std::string RetryingFetch::fetch(const std::string& url) {
    cancelled_ = false;
    waitsEnded_ = false;
    for (int tries = 1;; ++tries) {
        std::string failure, briefly;
        seconds asked{0};
        try {
            HttpAnswer answer = http_.get(url);
            if (!IsTransientStatus(answer.status)) return std::move(answer.body);
            briefly = "HTTP " + std::to_string(answer.status);
            failure = briefly + " " + std::string(ReasonPhrase(answer.status));
            asked = ReadRetryAfter(answer.retryAfter, now_()).value_or(seconds(0));
            if (asked > kLongestWait)
                throw FetchError(failure + ", asked to wait " + std::to_string(asked.count()) +
                                 " s");
        } catch (const FetchError& error) {
            if (!error.transient() || cancelled_) throw;
            failure = briefly = error.what();
        }
        if (tries > retries_ || waitsEnded_ || cancelled_)
            throw FetchError(failure + ", " + Tries(tries));
        const milliseconds backoff = seconds(1) * (1 << std::min(tries - 1, 16));
        const milliseconds delay = std::max<milliseconds>(backoff + jitter_(), asked);
        if (observer_) observer_->retrying({url, briefly, round<seconds>(delay), tries + 1});
        const bool waited = pause_.wait(delay);
        if (cancelled_) throw FetchError("the request was cancelled");
        if (!waited || waitsEnded_) throw FetchError(failure + ", " + Tries(tries));
    }
}

void RetryingFetch::cancel() {
    cancelled_ = true;
    http_.cancel();
    pause_.end();
}

void RetryingFetch::endWait() {
    waitsEnded_ = true;
    pause_.end();
}

}  // namespace vendra
