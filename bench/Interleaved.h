#pragma once

#include <benchmark/benchmark.h>

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

}  // namespace vendra::bench
