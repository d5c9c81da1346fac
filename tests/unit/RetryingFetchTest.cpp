#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <variant>

#include "platform/RetryingFetch.h"

namespace vendra {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds, std::chrono::seconds, std::chrono::system_clock;

// 2026-12-07 12:00:00 UTC, the fake wall clock's start.
const system_clock::time_point kStart = system_clock::time_point(seconds(1796644800));

// Answers (or failures) in turn; the last one again once they run out. Logs the fake time of
// every request.
struct ScriptedHttp : HttpFetch {
    HttpAnswer get(const std::string&) override {
        asked.push_back(*now);
        const std::variant<HttpAnswer, FetchError> next = script.front();
        if (script.size() > 1) script.pop_front();
        if (const auto* failure = std::get_if<FetchError>(&next)) throw *failure;
        return std::get<HttpAnswer>(next);
    }
    std::deque<std::variant<HttpAnswer, FetchError>> script;
    std::vector<system_clock::time_point> asked;
    system_clock::time_point* now = nullptr;
};

// Moves the fake clock on by each pause; at the pause numbered in `during` it runs that action
// (a click) instead and reports the wait cut short if the action ended it.
struct FakePause : RetryPause {
    bool wait(milliseconds howLong) override {
        waits.push_back(howLong);
        ended = false;
        if (during && waits.size() == duringPause) during();
        if (ended) return false;
        now += howLong;
        return true;
    }
    void end() override { ended = true; }
    system_clock::time_point now = kStart;
    std::vector<milliseconds> waits;
    std::function<void()> during;
    std::size_t duringPause = 1;
    bool ended = false;
};

struct NoticeLog : RetryObserver {
    void retrying(const RetryNotice& notice) override { notices.push_back(notice); }
    std::vector<RetryNotice> notices;
};

struct Retrying {
    explicit Retrying(int retries = RetryingFetch::kDefaultRetries)
        : fetch(
              http, pause, retries, [this] { return pause.now; }, [] { return 100ms; }) {
        http.now = &pause.now;
        fetch.observe(&log);
    }
    // The outcome of one fetch: the page, or "failed: " and why.
    std::string run() {
        try {
            return fetch.fetch("http://listings.ebay.com/aw/plistings/list/category267/page2.html");
        } catch (const FetchError& failure) {
            return std::string("failed: ") + failure.what();
        }
    }
    ScriptedHttp http;
    FakePause pause;
    NoticeLog log;
    RetryingFetch fetch;
};

HttpAnswer Status(int status, std::string retryAfter = "") {
    return {status, std::move(retryAfter), "body of " + std::to_string(status)};
}

const FetchError kReset("Failure when receiving data from the peer", true);
const FetchError kTimeOut("the site did not answer in time");

struct Case {
    const char* name;
    std::variant<HttpAnswer, FetchError> first;
    bool transient;
};

// Each transient kind is asked again after 1 s and 2 s (plus the jitter) and then has its page;
// anything else is the outcome of its first try, a status's body being the page.
TEST(RetryingFetch, TransientFailuresAreAskedAgainAndOthersAreNot) {
    const Case cases[] = {
        {"408", Status(408), true},  {"429", Status(429), true},    {"500", Status(500), true},
        {"502", Status(502), true},  {"503", Status(503), true},    {"504", Status(504), true},
        {"reset", kReset, true},     {"404", Status(404), false},   {"403", Status(403), false},
        {"501", Status(501), false}, {"time-out", kTimeOut, false}, {"200", Status(200), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Retrying retrying;
        retrying.http.script = {c.first, c.first, Status(200)};
        const std::string outcome = retrying.run();
        if (c.transient) {
            EXPECT_EQ(outcome, "body of 200");
            EXPECT_EQ(retrying.pause.waits, (std::vector<milliseconds>{1100ms, 2100ms}));
            ASSERT_EQ(retrying.http.asked.size(), 3u);
            EXPECT_EQ(retrying.http.asked[2] - retrying.http.asked[1], 2100ms);
        } else {
            const auto* failure = std::get_if<FetchError>(&c.first);
            EXPECT_EQ(outcome, failure ? std::string("failed: ") + failure->what()
                                       : std::get<HttpAnswer>(c.first).body);
            EXPECT_TRUE(retrying.pause.waits.empty());
            EXPECT_EQ(retrying.http.asked.size(), 1u);
        }
    }
}

TEST(RetryingFetch, APageThatKeepsFailingIsLostWithItsFailureAndTries) {
    struct {
        int retries;
        std::variant<HttpAnswer, FetchError> answer;
        const char* outcome;
    } const cases[] = {
        {2, Status(503), "failed: HTTP 503 Service Unavailable, 3 tries"},
        {0, Status(429), "failed: HTTP 429 Too Many Requests, 1 try"},
        {1, kReset, "failed: Failure when receiving data from the peer, 2 tries"},
        {99, Status(500), "failed: HTTP 500 Internal Server Error, 11 tries"},  // capped at 10
    };
    for (const auto& c : cases) {
        Retrying retrying(c.retries);
        retrying.http.script = {c.answer};
        EXPECT_EQ(retrying.run(), c.outcome);
        EXPECT_EQ(retrying.log.notices.size(), retrying.http.asked.size() - 1);
    }
}

// Retry-After is waited out when longer than the pause would be; past 30 s the page is lost at
// once.
TEST(RetryingFetch, RetryAfterInSecondsOrAsADate) {
    struct {
        const char* retryAfter;
        std::vector<milliseconds> waits;
        const char* outcome;
    } const cases[] = {
        {"2", {2000ms}, "body of 200"},
        {"0", {1100ms}, "body of 200"},
        {"30", {30000ms}, "body of 200"},
        {"Mon, 07 Dec 2026 12:00:07 GMT", {7000ms}, "body of 200"},
        {"Monday, 07-Dec-26 12:00:05 GMT", {5000ms}, "body of 200"},
        {"Mon Dec  7 12:00:04 2026", {4000ms}, "body of 200"},
        {"Mon, 07 Dec 2026 11:00:00 GMT",
         {1100ms},
         "body of 200"},  // past: no longer than the pause
        {"soon", {1100ms}, "body of 200"},
        {"31", {}, "failed: HTTP 503 Service Unavailable, asked to wait 31 s"},
        {"3600", {}, "failed: HTTP 503 Service Unavailable, asked to wait 3600 s"},
        {"Mon, 07 Dec 2026 12:01:00 GMT",
         {},
         "failed: HTTP 503 Service Unavailable, asked to wait 60 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.retryAfter);
        Retrying retrying;
        retrying.http.script = {Status(503, c.retryAfter), Status(200)};
        EXPECT_EQ(retrying.run(), c.outcome);
        EXPECT_EQ(retrying.pause.waits, c.waits);
    }
}

TEST(RetryingFetch, TheWaitIsToldBeforeItBegins) {
    Retrying retrying;
    retrying.http.script = {Status(503, "2"), kReset, Status(200)};
    retrying.run();
    ASSERT_EQ(retrying.log.notices.size(), 2u);
    EXPECT_EQ(retrying.log.notices[0].failure, "HTTP 503");
    EXPECT_EQ(retrying.log.notices[0].delay, 2s);
    EXPECT_EQ(retrying.log.notices[0].nextTry, 2);
    EXPECT_EQ(retrying.log.notices[1].failure, kReset.what());
    EXPECT_EQ(retrying.log.notices[1].delay, 2s);
    EXPECT_EQ(retrying.log.notices[1].url,
              "http://listings.ebay.com/aw/plistings/list/category267/page2.html");
}

// Stop Search ends a wait as a cancelled request; See Incomplete Results ends it with what failed
// so far. Neither asks again, and an end asked for before a wait lets none begin.
TEST(RetryingFetch, StopAndIncompleteResultsEndAWait) {
    Retrying stopped;
    stopped.http.script = {Status(503)};
    stopped.pause.duringPause = 2;
    stopped.pause.during = [&] { stopped.fetch.cancel(); };
    EXPECT_EQ(stopped.run(), "failed: the request was cancelled");
    EXPECT_EQ(stopped.http.asked.size(), 2u);

    Retrying incomplete;
    incomplete.http.script = {Status(502)};
    incomplete.pause.during = [&] { incomplete.fetch.endWait(); };
    EXPECT_EQ(incomplete.run(), "failed: HTTP 502 Bad Gateway, 1 try");
    EXPECT_EQ(incomplete.http.asked.size(), 1u);

    Retrying early;
    early.fetch.endWait();  // from an earlier page: forgotten by the next fetch
    early.http.script = {Status(504), Status(200)};
    EXPECT_EQ(early.run(), "body of 200");
}

}  // namespace
}  // namespace vendra
