// One category walk with the real page fetch, run from inside the application's event loop as a
// search runs from a click: every page fetched, its listing tables cut out and appended to a
// listing file, one yield per table. The site is reached as the web proxy (http_proxy).
//
//   walk_bench CATEGORY [PAGES]
//
// Prints one line of key=value figures: pages, seconds, ms_per_page over the whole walk and over
// its first and last tenth, the processor time per page of all the program's threads, the peak
// resident memory and that at the last page (kB), and the pages that failed.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/RetryingFetch.h"
#include "platform/StdTextFiles.h"
#include "platform/curl/CurlFetch.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtNetworkWait.h"
#include "query/SearchUrls.h"
#include "retrieval/PageWalk.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of all the program's threads so far, in seconds.
double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A figure from /proc/self/status, in kB.
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    return -1;
}

struct WalkFigures {
    int pages = 0;
    int failed = 0;
    double seconds = 0;
    double processorSeconds = 0;
    double firstTenthSeconds = 0;
    double lastTenthSeconds = 0;
    long residentKb = 0;  // at the last page, before the walk returns to the event loop
};

// The real fetch, noting when each tenth of the walk's requests begins and which ones fail.
class TimedFetch : public vendra::UrlFetch {
  public:
    TimedFetch(int pages, WalkFigures& figures) : pages_(pages), figures_(figures) {}

    std::string fetch(const std::string& url) override {
        const int tenth = std::max(pages_ / 10, 1);
        ++requests_;
        if (requests_ == tenth + 1) figures_.firstTenthSeconds = Since(start_);
        if (requests_ == pages_ - tenth + 1) lastTenthStart_ = Clock::now();
        try {
            return inner_.fetch(url);
        } catch (const vendra::FetchError&) {
            ++figures_.failed;
            throw;
        }
    }

    static double Since(Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    }

    const Clock::time_point start_ = Clock::now();
    Clock::time_point lastTenthStart_ = start_;

  private:
    vendra::QtNetworkWait wait_;
    vendra::CurlFetch http_{wait_};
    vendra::RetryingFetch inner_{http_, http_};
    int pages_;
    int requests_ = 0;
    WalkFigures& figures_;
};

// A category walk of `pages` pages by the program's own page walk, with the real fetch, files
// and yield.
WalkFigures Walk(const std::string& category, int pages, const std::string& listingPath) {
    WalkFigures figures;
    TimedFetch fetch(pages, figures);
    vendra::StdTextFiles files;
    vendra::QtEventYield yield;
    struct : vendra::ProgressReport {
        void report(const vendra::Progress&) override {}
    } unwatched;
    vendra::SearchState state{vendra::SearchKind::Category, 2, static_cast<std::int16_t>(pages)};
    const double processorStart = ProcessorSeconds();
    vendra::WalkPages(vendra::CategoryFirstPageUrl(category), "", listingPath, state,
                      {fetch, yield, files, unwatched, [&] { return category; }});
    figures.pages = pages;
    figures.seconds = TimedFetch::Since(fetch.start_);
    figures.processorSeconds = ProcessorSeconds() - processorStart;
    figures.lastTenthSeconds = TimedFetch::Since(fetch.lastTenthStart_);
    figures.residentKb = StatusKb("VmRSS");
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: walk_bench CATEGORY [PAGES]\n");
        return 2;
    }
    const std::string category = argv[1];
    // A category "pages<K>" has K pages.
    const int pages = argc > 2                          ? std::stoi(argv[2])
                      : category.rfind("pages", 0) == 0 ? std::stoi(category.substr(5))
                                                        : 1;
    QTemporaryDir folder;
    const std::string listingPath = folder.filePath("Listinglist.txt").toStdString();

    // Started from the running event loop, as a click starts a search.
    WalkFigures figures;
    QTimer::singleShot(0, &app, [&] {
        figures = Walk(category, pages, listingPath);
        QCoreApplication::quit();
    });
    QCoreApplication::exec();

    const int tenth = std::max(pages / 10, 1);
    std::printf(
        "pages=%d failed=%d seconds=%.3f ms_per_page=%.4f first_tenth_ms_per_page=%.4f "
        "last_tenth_ms_per_page=%.4f cpu_ms_per_page=%.4f hwm_kb=%ld rss_kb=%ld\n",
        figures.pages, figures.failed, figures.seconds, 1e3 * figures.seconds / pages,
        1e3 * figures.firstTenthSeconds / tenth, 1e3 * figures.lastTenthSeconds / tenth,
        1e3 * figures.processorSeconds / pages, StatusKb("VmHWM"), figures.residentKb);
    return figures.failed == 0 ? 0 : 1;
}
