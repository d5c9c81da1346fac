#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OddAnswers.h"
#include "SitePages.h"

namespace vendra::site {

// What the faults that match one request ask for, all together.
struct FaultPlan {
    std::chrono::microseconds latency{};  // the latencies of every match, added up
    std::chrono::microseconds drip{};     // the pause before each body byte; zero: no dripping
    bool stall = false;
    bool reset = false;
    bool truncate = false;
    bool endless = false;                    // a chunked body that never ends
    bool huge = false;                       // a body of kHugeBodyBytes
    std::optional<std::uint64_t> announced;  // the Content-Length, whatever the body is
    PageTwist twist;
    OddAnswer odd;
};

// The body of a `huge` answer: the page, then its bytes again and again.
inline constexpr std::uint64_t kHugeBodyBytes = std::uint64_t{100} << 20;

// One --fault KIND[/N]@SUBSTRING: a request whose full target contains the substring gets it,
// only the first N such requests when N is given.
struct Fault {
    std::string substring;
    std::function<void(FaultPlan&)> addTo;
    std::shared_ptr<std::uint64_t> remaining;  // of the N; null: every request
};

// Reads "KIND[/N]@SUBSTRING"; nothing when the text is not a fault.
std::optional<Fault> ParseFault(std::string_view text);

FaultPlan PlanFor(const std::vector<Fault>& faults, std::string_view fullTarget);

}  // namespace vendra::site
