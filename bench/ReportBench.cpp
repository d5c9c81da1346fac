// The results page writer on a listing file of 200,000 rows (about 100 MB) with bid counts from 0
// to 500 and minimum 0, against a plain copy of the same file and against the writer that makes
// one pass over the file per bid count. Prints the ratios at the end, as "figure NAME VALUE".

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "HeapUse.h"
#include "Interleaved.h"
#include "ReferenceWriter.h"
#include "platform/StdTextFiles.h"
#include "report/BidReader.h"
#include "report/ResultsWriter.h"

namespace vendra {
namespace {

constexpr int kRows = 200000;
constexpr int kHighestBids = 500;
constexpr char kMaster[] = "Master.txt";
constexpr char kListing[] = "Listinglist.txt";
constexpr char kPage[] = "Finalsearch.htm";

// One keyword-search row of about 500 bytes, with its bid count in the results bid cell.
std::string ListingRow(int index, int bids, unsigned noise) {
    static const char* const kWords[] = {"Vintage",  "Brass",  "Compass", "Leather", "Case",
                                         "Nautical", "Pocket", "Watch",   "Silver",  "Antique",
                                         "Mint",     "Boxed",  "Rare",    "Camera",  "Lens"};
    std::string title;
    for (int w = 0; w < 3 + static_cast<int>(noise % 4); ++w)
        title += std::string(kWords[(noise >> (w * 3)) % 15]) + " ";
    const std::string item = std::to_string(1000000000 + index);
    return "<tr><td width=\"12%\"><a "
           "href=\"http://cgi.example.com/ViewItem?item=" +
           item +
           "\"><img src=\"http://pics.example.com/pic.gif\"></a></td><td "
           "width=\"50%\"><font size=3><a "
           "href=\"http://cgi.example.com/ViewItem?item=" +
           item + "\">" + title +
           "</a></font></td><td align=\"right\" valign=\"top\" "
           "width=\"12%\"><font size=3><b>$" +
           std::to_string(noise % 900) + "." + std::to_string(10 + noise % 90) +
           "</b></font></td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>" +
           std::to_string(bids) +
           "</font></td><td align=\"center\" valign=\"top\" width=\"16%\"><font size=2>Mar-" +
           std::to_string(10 + noise % 19) + " 18:22:05</font></td></tr>";
}

// The application folder with the generated listing file, made once for the whole run.
struct Fixture {
    StdTextFiles files;
    std::filesystem::path folder;
    std::uintmax_t listingBytes = 0;

    Fixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vendra-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        folder = pattern;
        std::FILE* out = std::fopen(path(kMaster).c_str(), "wb");
        forEachRow([&](const std::string& line, int) {
            std::fwrite(line.data(), 1, line.size(), out);
            std::fwrite("\r\n", 1, 2, out);
        });
        std::fclose(out);
        listingBytes = std::filesystem::file_size(path(kMaster));
    }

    template <class Use>
    static void forEachRow(Use&& use) {
        unsigned state = 12345;
        for (int row = 0; row < kRows; ++row) {
            state = state * 1103515245u + 12345u;
            const int bids = static_cast<int>((state >> 8) % (kHighestBids + 1));
            use(ListingRow(row, bids, state >> 4), bids);
        }
    }

    // The page the writer must leave: every row, most bids first, file order within a count.
    std::string expectedPage() const {
        std::vector<std::string> byCount(kHighestBids + 1);
        forEachRow(
            [&](const std::string& line, int bids) { byCount[kHighestBids - bids] += line; });
        std::string page = reference::ExpectedPageHead();
        for (const std::string& rows : byCount) page += rows;
        return page + reference::ExpectedPageEnd();
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string path(const char* name) const { return (folder / name).string(); }

    ResultsOutcome writePage() {
        return WriteResults(files, path(kListing), path(kPage), "0", kHighestBids,
                            SearchKind::Keyword, {",", "."});
    }

    // The writer deletes the listing file when done: each run gets a fresh name for the same bytes.
    void linkListing() const {
        std::filesystem::remove(path(kListing));
        std::filesystem::create_hard_link(path(kMaster), path(kListing));
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void PlainCopy(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        std::FILE* in = std::fopen(fixture.path(kMaster).c_str(), "rb");
        std::FILE* out = std::fopen(fixture.path(kPage).c_str(), "wb");
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0)
            std::fwrite(buffer.data(), 1, got, out);
        std::fclose(in);
        std::fclose(out);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.listingBytes));
}

void OneReadWriter(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    std::size_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.linkListing();
        const std::size_t before = bench::heapInUse();
        bench::resetHeapPeak();
        state.ResumeTiming();

        const ResultsOutcome outcome = fixture.writePage();

        state.PauseTiming();
        peak = std::max(peak, bench::heapPeak() - before);
        if (outcome != ResultsOutcome::Written) state.SkipWithError("not written");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.listingBytes));
    state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1 << 20);
}

void OnePassPerCount(benchmark::State& state) {
    Fixture& fixture = TheFixture();
    for (auto _ : state) {
        reference::WritePageOnePassPerCount(
            fixture.files, fixture.path(kMaster), fixture.path(kPage), kHighestBids, 0,
            [](const std::string& line) {
                return ReadBids(line, SearchKind::Keyword, {",", "."}).bids;
            });
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.listingBytes));
}

// Repetitions interleaved at random, so that whatever else the machine does weighs on both alike;
// the ratios use the medians.
BENCHMARK(PlainCopy)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(OneReadWriter)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
// 501 passes over 100 MB: one run is all the time it deserves.
BENCHMARK(OnePassPerCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace vendra

int main(int argc, char** argv) {
    if (!vendra::bench::InitializeInterleaved(argc, argv)) return 1;
    vendra::Fixture& fixture = vendra::TheFixture();
    std::cout << "listing file: " << vendra::kRows << " rows, " << fixture.listingBytes
              << " bytes\n";
    vendra::bench::SecondsReporter reporter(vendra::bench::SecondsReporter::Clock::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // What was timed must also be right.
    fixture.linkListing();
    fixture.writePage();
    std::ifstream page(fixture.path(vendra::kPage), std::ios::binary);
    const bool right =
        std::string(std::istreambuf_iterator<char>(page), {}) == fixture.expectedPage();
    std::cout << "one-read writer's page is " << (right ? "right" : "WRONG") << "\n";

    const auto& s = reporter.seconds;
    const auto time = [&](const char* name) {
        const auto found = s.find(name);
        return found == s.end() ? 0.0 : found->second;
    };
    const double copy = time("PlainCopy");
    const double oneRead = time("OneReadWriter");
    const double perCount = time("OnePassPerCount");
    // The figures, for scripts/bench to hold against their targets.
    if (copy > 0 && oneRead > 0) std::cout << "figure report_vs_copy " << oneRead / copy << "\n";
    if (oneRead > 0 && perCount > 0)
        std::cout << "figure per_count_vs_report " << perCount / oneRead << "\n";
    return right ? 0 : 1;
}
