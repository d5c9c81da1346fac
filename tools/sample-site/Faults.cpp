#include "Faults.h"

#include <algorithm>
#include <charconv>

namespace vendra::site {
namespace {

// Longer waits than this (in seconds or milliseconds) are surely a typing mistake.
constexpr double kLongestWait = 1e6;

std::optional<double> WaitNumber(std::string_view text) {
    double number = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (problem != std::errc() || end != text.data() + text.size() || !(number >= 0) ||
        number > kLongestWait)
        return std::nullopt;
    return number;
}

std::function<void(FaultPlan&)> Effect(std::string_view name,
                                       std::optional<std::string_view> value) {
    using Count = PageTwist::Count;
    using std::chrono::duration_cast, std::chrono::microseconds;
    if (!value) {
        if (name == "stall") return [](FaultPlan& plan) { plan.stall = true; };
        if (name == "reset") return [](FaultPlan& plan) { plan.reset = true; };
        if (name == "truncate") return [](FaultPlan& plan) { plan.truncate = true; };
        if (name == "badcount") return [](FaultPlan& plan) { plan.twist.count = Count::Word; };
        if (name == "nocount") return [](FaultPlan& plan) { plan.twist.count = Count::Missing; };
        if (name == "big") return [](FaultPlan& plan) { plan.twist.big = true; };
        if (name == "classic") return [](FaultPlan& plan) { plan.twist.classic = true; };
        if (name == "endless") return [](FaultPlan& plan) { plan.endless = true; };
        if (name == "huge") return [](FaultPlan& plan) { plan.huge = true; };
        return nullptr;
    }
    if (name == "bigcount")
        return [text = std::string(*value)](FaultPlan& plan) { plan.twist.countText = text; };
    if (name == "length") {
        std::uint64_t length = 0;
        const auto [end, problem] =
            std::from_chars(value->data(), value->data() + value->size(), length);
        if (value->empty() || problem != std::errc() || end != value->data() + value->size())
            return nullptr;
        return [length](FaultPlan& plan) { plan.announced = length; };
    }
    const std::optional<double> number = WaitNumber(*value);
    if (!number) return nullptr;
    if (name == "latency") {
        const auto wait =
            duration_cast<microseconds>(std::chrono::duration<double, std::milli>(*number));
        return [wait](FaultPlan& plan) { plan.latency += wait; };
    }
    if (name == "drip" && *number > 0) {
        const auto pause = duration_cast<microseconds>(std::chrono::duration<double>(*number));
        return [pause](FaultPlan& plan) { plan.drip = std::max(plan.drip, pause); };
    }
    return nullptr;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view kind = text.substr(0, at);
    const std::size_t equals = kind.find('=');
    const auto value = equals == std::string_view::npos
                           ? std::nullopt
                           : std::optional<std::string_view>(kind.substr(equals + 1));
    Fault fault{std::string(text.substr(at + 1)), Effect(kind.substr(0, equals), value)};
    if (!fault.addTo) return std::nullopt;
    return fault;
}

FaultPlan PlanFor(const std::vector<Fault>& faults, std::string_view fullTarget) {
    FaultPlan plan;
    for (const Fault& fault : faults)
        if (fullTarget.find(fault.substring) != std::string_view::npos) fault.addTo(plan);
    return plan;
}

}  // namespace vendra::site
