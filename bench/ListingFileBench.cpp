// A category walk of 10,000 listing tables (100 pages of 100 tables, served from memory) by the
// program's page walk, which opens, writes and closes the listing file for every table, against
// the same walk with the file held open from the first table to the last. Prints the ratio at
// the end: what opening and closing the file for each table costs a walk.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <type_traits>

#include "Interleaved.h"
#include "platform/StdTextFiles.h"
#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"

namespace vendra {
namespace {

constexpr int kPages = 100;
constexpr int kTablesPerPage = 100;

// A page of listing tables of about 1 kB each, as the site's pages hold them.
std::string MakePage() {
    std::string row = "<tr bgcolor=#ffffff><td><a href=\"http://cgi.example/item\">";
    row.append(700, 'x');
    row += "</a></td><td>$12.50</td><td>3</td><td>Dec-07 19:44</td></tr>\r\n";
    std::string page = "<html><body>\r\n";
    for (int table = 0; table < kTablesPerPage; ++table)
        page += "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=#ffffcc>\r\n" +
                row + "</table>\r\n";
    return page + "</body></html>\r\n";
}

class SamePage : public UrlFetch {
  public:
    std::string fetch(const std::string& /*url*/) override { return page_; }

  private:
    std::string page_ = MakePage();
};

struct NoClicks : EventYield {
    void yield() override {}
};

struct Unwatched : ProgressReport {
    void report(const Progress& /*event*/) override {}
};

// The listing file opened once and held open until the walk is over: each open hands out the
// one file, and each close leaves it open.
class HeldOpenFiles : public StdTextFiles {
  public:
    std::unique_ptr<LineAppender> openForAppending(const std::string& path) override {
        class Borrowed : public LineAppender {
          public:
            explicit Borrowed(LineAppender& file) : file_(file) {}
            void appendLine(std::string_view text) override { file_.appendLine(text); }
            void close() override {}

          private:
            LineAppender& file_;
        };
        if (!held_) held_ = StdTextFiles::openForAppending(path);
        return std::make_unique<Borrowed>(*held_);
    }
    void closeHeld() {
        if (held_) held_->close();
        held_.reset();
    }

  private:
    std::unique_ptr<LineAppender> held_;
};

template <typename Files>
void Walk(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("listing-file-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string listing = (folder / "Listinglist.txt").string();
    SamePage fetch;
    NoClicks events;
    Unwatched progress;
    Files files;
    for (auto _ : state) {
        std::filesystem::remove(listing);
        SearchState walk{SearchKind::Category, 2, kPages};
        WalkPages(CategoryFirstPageUrl("1"), "", listing, walk,
                  {fetch, events, files, progress, [] { return std::string("1"); }});
        if constexpr (std::is_same_v<Files, HeldOpenFiles>) files.closeHeld();
    }
    state.counters["tables"] = kPages * kTablesPerPage;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(listing));
    std::filesystem::remove_all(folder);
}

void FilePerTable(benchmark::State& state) { Walk<StdTextFiles>(state); }
void FileHeldOpen(benchmark::State& state) { Walk<HeldOpenFiles>(state); }

// Wall time: opening and closing a file is the system's work as much as the program's.
BENCHMARK(FilePerTable)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(FileHeldOpen)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vendra

int main(int argc, char** argv) {
    if (!vendra::bench::InitializeInterleaved(argc, argv)) return 1;
    vendra::bench::SecondsReporter reporter(vendra::bench::SecondsReporter::Clock::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double perTable = reporter.seconds["FilePerTable"];
    const double heldOpen = reporter.seconds["FileHeldOpen"];
    if (perTable > 0 && heldOpen > 0) {
        const int tables = vendra::kPages * vendra::kTablesPerPage;
        std::cout << "walk: " << tables << " tables, " << perTable * 1e3 << " ms with the file per "
                  << "table, " << heldOpen * 1e3
                  << " ms held open: " << (perTable - heldOpen) / tables * 1e6
                  << " us more per table\n";
        std::cout << "figure file_per_table_vs_held_open " << perTable / heldOpen << "\n";
    }
    return 0;
}
