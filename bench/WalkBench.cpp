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

#include "platform/Hosts.h"
#include "platform/StdTextFiles.h"
#include "platform/qt/QtUrlFetch.h"
#include "text/TextSearch.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kBlockStart =
    "<table width=\"100%\" cellpadding=4 border=0 cellspacing=0 bgcolor=";
constexpr std::string_view kBlockEnd = "</table>";

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

std::string PageUrl(const std::string& category, int page) {
    const std::string folder = std::string("http://") + vendra::hosts::kListings +
                               "/aw/plistings/list/category" + category;
    return page == 1 ? folder + "/index.html" : folder + "/page" + std::to_string(page) + ".html";
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

// The page step as the listing walk takes it: fetch, then each table cut out between its
// markers, a yield, and the table appended to the listing file.
WalkFigures Walk(const std::string& category, int pages, const std::string& listingPath) {
    vendra::QtUrlFetch fetch;
    vendra::StdTextFiles files;
    WalkFigures figures;
    const int tenth = std::max(pages / 10, 1);
    const Clock::time_point start = Clock::now();
    const double processorStart = ProcessorSeconds();
    Clock::time_point lastTenthStart = start;
    for (int number = 1; number <= pages; ++number) {
        if (number == pages - tenth + 1) lastTenthStart = Clock::now();
        std::string page;
        try {
            page = fetch.fetch(PageUrl(category, number));
        } catch (const vendra::FetchError&) {
            ++figures.failed;
        }
        std::size_t p = vendra::FindText(page, kBlockStart, 1, vendra::LetterCase::Ignore);
        while (p > 0) {
            const std::size_t e = vendra::FindText(page, kBlockEnd, p + kBlockStart.size(),
                                                   vendra::LetterCase::Ignore);
            if (e == 0) break;
            const std::string_view block = vendra::TextAt(page, p, e - p + kBlockEnd.size());
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            files.appendLine(listingPath, block);
            p = vendra::FindText(page, kBlockStart, e + 1, vendra::LetterCase::Exact);
        }
        if (number == tenth)
            figures.firstTenthSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    const Clock::time_point end = Clock::now();
    figures.pages = pages;
    figures.seconds = std::chrono::duration<double>(end - start).count();
    figures.processorSeconds = ProcessorSeconds() - processorStart;
    figures.lastTenthSeconds = std::chrono::duration<double>(end - lastTenthStart).count();
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
