#include "Faults.h"

#include <algorithm>
#include <charconv>

namespace vendra::site {

std::optional<Fault> ParseFault(std::string_view text, std::string& error) {
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) {
        error = "a fault reads KIND@SUBSTRING: " + std::string(text);
        return std::nullopt;
    }
    const std::string_view kind = text.substr(0, at);
    Fault fault;
    fault.substring = std::string(text.substr(at + 1));

    constexpr std::string_view kLatency = "latency=";
    constexpr std::string_view kBigCount = "bigcount=";
    if (kind.starts_with(kLatency)) {
        const std::string_view digits = kind.substr(kLatency.size());
        long long ms = 0;
        const auto [end, problem] =
            std::from_chars(digits.data(), digits.data() + digits.size(), ms);
        if (digits.empty() || problem != std::errc() || end != digits.data() + digits.size() ||
            ms < 0) {
            error = "latency wants milliseconds: " + std::string(text);
            return std::nullopt;
        }
        fault.kind = Fault::Kind::Latency;
        fault.latency = std::chrono::milliseconds(ms);
    } else if (kind.starts_with(kBigCount)) {
        fault.kind = Fault::Kind::BigCount;
        fault.countText = std::string(kind.substr(kBigCount.size()));
    } else if (kind == "stall") {
        fault.kind = Fault::Kind::Stall;
    } else if (kind == "reset") {
        fault.kind = Fault::Kind::Reset;
    } else if (kind == "truncate") {
        fault.kind = Fault::Kind::Truncate;
    } else if (kind == "badcount") {
        fault.kind = Fault::Kind::BadCount;
    } else if (kind == "nocount") {
        fault.kind = Fault::Kind::NoCount;
    } else if (kind == "big") {
        fault.kind = Fault::Kind::Big;
    } else {
        error = "unknown fault kind: " + std::string(kind);
        return std::nullopt;
    }
    return fault;
}

FaultPlan PlanFor(const std::vector<Fault>& faults, std::string_view fullTarget) {
    FaultPlan plan;
    for (const Fault& fault : faults) {
        if (fullTarget.find(fault.substring) == std::string_view::npos) continue;
        switch (fault.kind) {
            case Fault::Kind::Latency:
                plan.latency += fault.latency;
                break;
            case Fault::Kind::Stall:
                plan.stall = true;
                break;
            case Fault::Kind::Reset:
                plan.reset = true;
                break;
            case Fault::Kind::Truncate:
                plan.truncate = true;
                break;
            case Fault::Kind::BadCount:
                plan.twist.count = PageTwist::Count::Word;
                break;
            case Fault::Kind::NoCount:
                plan.twist.count = PageTwist::Count::Missing;
                break;
            case Fault::Kind::Big:
                plan.twist.big = true;
                break;
            case Fault::Kind::BigCount:
                plan.twist.countText = fault.countText;
                break;
        }
    }
    return plan;
}

}  // namespace vendra::site
