// Cutting the listing tables out of a 17 MB page of 10,000 tables, as the listing walk does it
// (the start marker found ignoring letter case, then the end marker, then the next start), against
// the same walk over the page with the C library's memmem. Prints the ratio at the end.

#include <benchmark/benchmark.h>
#include <string.h>

#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include "Interleaved.h"
#include "SitePages.h"
#include "retrieval/ListingBlocks.h"

namespace vendra {
namespace {

constexpr int kBlocks = 10000;
constexpr std::string_view kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
constexpr std::string_view kBlockEnd = "</table>";

// Listing tables of one or two of the sample site's rows, each after a line of other markup, as
// on its pages: about 17 MB.
std::string MakePage() {
    std::string rows;
    for (int page = 1; rows.size() < 200'000; ++page) {
        const std::string text = site::CategoryListingPage("pages1000", page);
        for (std::size_t at = text.find("\n<tr "); at != std::string::npos;
             at = text.find("\n<tr ", at + 1))
            rows += text.substr(at + 1, text.find('\n', at + 1) - at);
    }
    std::string page = "<html><body>\r\n";
    std::size_t row = 0;
    for (int block = 0; block < kBlocks; ++block) {
        page += "<p><font size=2>Listings</font>\r\n";
        page += std::string(kBlockStart) + (block % 2 ? "#ffffff>\r\n" : "#ffffcc>\r\n");
        for (int r = 0; r < 1 + block % 2; ++r) {
            const std::size_t end = rows.find('\n', row) + 1;
            page += rows.substr(row, end - row);
            row = end < rows.size() ? end : 0;
        }
        page += std::string(kBlockEnd) + "\r\n";
    }
    return page + "</body></html>\r\n";
}

const std::string& Page() {
    static const std::string page = MakePage();
    return page;
}

// The walk's own cutting of the listing tables.
std::size_t CutWithFindText(std::string_view page) {
    std::size_t bytes = 0;
    ListingBlocks blocks(page);
    while (const std::optional<std::string_view> block = blocks.next()) bytes += block->size();
    return bytes;
}

const char* Find(const char* from, const char* end, std::string_view marker) {
    return static_cast<const char*>(
        memmem(from, static_cast<std::size_t>(end - from), marker.data(), marker.size()));
}

std::size_t CutWithMemmem(std::string_view page) {
    std::size_t bytes = 0;
    const char* end = page.data() + page.size();
    for (const char* p = Find(page.data(), end, kBlockStart); p;) {
        const char* e = Find(p + kBlockStart.size(), end, kBlockEnd);
        if (!e) break;
        bytes += static_cast<std::size_t>(e + kBlockEnd.size() - p);
        p = Find(e + 1, end, kBlockStart);
    }
    return bytes;
}

template <std::size_t (*Cut)(std::string_view)>
void CutBlocks(benchmark::State& state) {
    const std::string& page = Page();
    for (auto _ : state) benchmark::DoNotOptimize(Cut(page));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

void FindTextCut(benchmark::State& state) { CutBlocks<CutWithFindText>(state); }
void MemmemCut(benchmark::State& state) { CutBlocks<CutWithMemmem>(state); }

// Processor time: the work is a single thread's alone, and other programs on the machine weigh
// less on it than on the time that passes. Repetitions interleaved at random; the ratio uses the
// medians.
BENCHMARK(FindTextCut)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(MemmemCut)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vendra

int main(int argc, char** argv) {
    if (!vendra::bench::InitializeInterleaved(argc, argv)) return 1;

    // Both loops must cut the same tables.
    const std::string& page = vendra::Page();
    const std::size_t cut = vendra::CutWithFindText(page);
    const bool same = cut == vendra::CutWithMemmem(page) && cut > page.size() * 9 / 10;
    std::cout << "page: " << page.size() << " bytes, " << vendra::kBlocks << " tables, " << cut
              << " bytes in tables; " << (same ? "both cut the same" : "CUTS DIFFER") << "\n";
    vendra::bench::SecondsReporter reporter(vendra::bench::SecondsReporter::Clock::Processor);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double findText = reporter.seconds["FindTextCut"];
    const double memmem = reporter.seconds["MemmemCut"];
    if (findText > 0 && memmem > 0)
        std::cout << "figure block_cut_vs_memmem " << findText / memmem << "\n";
    return same ? 0 : 1;
}
