// The least a Qt program does to fetch a category's pages one after another: a bare
// QNetworkAccessManager loop over the same addresses the walk asks for, through the same proxy
// (http_proxy), each reply read whole and dropped. The yardstick for the walk against the
// network's limit: what Qt's own network stack allows on this machine. With --program it fetches
// through the program's page fetch instead, still without cutting or writing anything.
//
//   fetch_loop [--program] CATEGORY PAGES
//
// Prints one line: pages, seconds, ms_per_page and the processor time per page of all threads.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/qt/QtUrlFetch.h"
#include "query/SearchUrls.h"

namespace {

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One page with nothing but Qt: a GET, a nested loop until it has finished, the body read.
bool BareFetch(QNetworkAccessManager& manager, const std::string& url) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    QNetworkReply* reply = manager.get(request);
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const bool ok = reply->error() == QNetworkReply::NoError && !reply->readAll().isEmpty();
    delete reply;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool program = argc > 1 && std::strcmp(argv[1], "--program") == 0;
    if (argc != (program ? 4 : 3)) {
        std::fprintf(stderr, "usage: fetch_loop [--program] CATEGORY PAGES\n");
        return 2;
    }
    const std::string category = argv[program ? 2 : 1];
    const int pages = std::stoi(argv[program ? 3 : 2]);

    // The proxy named once, as the walk's proxy settings are asked once per host; never a direct
    // connection to the site's real host.
    const QUrl proxy(QString::fromLocal8Bit(std::getenv("http_proxy")));
    if (proxy.host().isEmpty() || proxy.port() < 0) {
        std::fprintf(stderr, "fetch_loop: set http_proxy to the sample site\n");
        return 2;
    }

    int failed = 0;
    double seconds = 0, processor = 0;
    QTimer::singleShot(0, &app, [&] {
        QNetworkAccessManager manager;
        manager.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, proxy.host(),
                                       static_cast<quint16>(proxy.port())));
        vendra::QtUrlFetch fetch;
        const auto start = std::chrono::steady_clock::now();
        const double processorStart = ProcessorSeconds();
        for (int page = 1; page <= pages; ++page) {
            const std::string url = page == 1 ? vendra::CategoryFirstPageUrl(category)
                                              : vendra::CategoryPageUrl(category, page);
            if (program) {
                try {
                    fetch.fetch(url);
                } catch (const vendra::FetchError&) {
                    ++failed;
                }
            } else if (!BareFetch(manager, url)) {
                ++failed;
            }
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        processor = ProcessorSeconds() - processorStart;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    std::printf("pages=%d failed=%d seconds=%.3f ms_per_page=%.4f cpu_ms_per_page=%.4f\n", pages,
                failed, seconds, 1e3 * seconds / pages, 1e3 * processor / pages);
    return failed == 0 ? 0 : 1;
}
