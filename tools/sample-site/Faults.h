#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SitePages.h"

namespace vendra::site {

// One --fault KIND@SUBSTRING: a request whose full target contains the substring gets it.
struct Fault {
    enum class Kind { Latency, Stall, Reset, Truncate, BadCount, NoCount, Big, BigCount };
    Kind kind{};
    std::chrono::milliseconds latency{};  // latency=MS
    std::string countText;                // bigcount=N
    std::string substring;
};

// What the faults that match one request ask for, all together.
struct FaultPlan {
    std::chrono::milliseconds latency{};  // the latencies of every match, added up
    bool stall = false;
    bool reset = false;
    bool truncate = false;
    PageTwist twist;
};

// Reads "KIND@SUBSTRING"; on a mistake, says what is wrong in `error`.
std::optional<Fault> ParseFault(std::string_view text, std::string& error);

FaultPlan PlanFor(const std::vector<Fault>& faults, std::string_view fullTarget);

}  // namespace vendra::site
