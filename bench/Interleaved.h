#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vendra::bench {

// Starts Google Benchmark with the repetitions of all benchmarks interleaved at random, so that
// whatever else the machine does weighs on each alike. False when an argument is not understood.
inline bool InitializeInterleaved(int argc, char** argv) {
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    return !benchmark::ReportUnrecognizedArguments(count, arguments.data());
}

// Keeps each benchmark's time per run in seconds, by the clock asked for: the median where there
// are repetitions, else the one run. No colours: the lines are read by scripts/bench.
class SecondsReporter : public benchmark::ConsoleReporter {
  public:
    enum class Clock { Processor, Wall };
    explicit SecondsReporter(Clock clock) : ConsoleReporter(OO_Tabular), clock_(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!single && run.aggregate_name != "median") continue;
            const double time =
                clock_ == Clock::Wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            seconds[run.run_name.function_name] =
                time / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;

  private:
    Clock clock_;
};

}  // namespace vendra::bench
