// The program's page fetch alone over the same addresses a category walk asks for, through the
// same proxy (http_proxy), each page fetched whole and dropped: nothing cut or written, no window.
// Beside curl's own command, what the fetch costs against the network's limit.
//
//   fetch_loop CATEGORY PAGES
//
// Prints one line: pages, seconds, ms_per_page and the processor time per page of all threads.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/NetworkWait.h"
#include "platform/RetryingFetch.h"
#include "platform/curl/CurlFetch.h"
#include "query/SearchUrls.h"

namespace {

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fetch_loop CATEGORY PAGES\n");
        return 2;
    }
    const std::string category = argv[1];
    const int pages = std::stoi(argv[2]);

    vendra::NoNetworkWait unwatched;
    vendra::CurlFetch http(unwatched);
    vendra::RetryingFetch fetch(http, http);
    int failed = 0;
    const auto start = std::chrono::steady_clock::now();
    const double processorStart = ProcessorSeconds();
    for (int page = 1; page <= pages; ++page) {
        const std::string url = page == 1 ? vendra::CategoryFirstPageUrl(category)
                                          : vendra::CategoryPageUrl(category, page);
        try {
            if (fetch.fetch(url).empty()) ++failed;
        } catch (const vendra::FetchError&) {
            ++failed;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double processor = ProcessorSeconds() - processorStart;
    std::printf("pages=%d failed=%d seconds=%.3f ms_per_page=%.4f cpu_ms_per_page=%.4f\n", pages,
                failed, seconds, 1e3 * seconds / pages, 1e3 * processor / pages);
    return failed == 0 ? 0 : 1;
}
