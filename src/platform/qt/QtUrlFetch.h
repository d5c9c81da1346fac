#pragma once

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <chrono>
#include <functional>

#include "platform/FetchLimits.h"
#include "platform/UrlFetch.h"

namespace vendra {

// The page fetch on Qt Network. One access manager for the program's life, so the pages of a walk
// reuse their connection; the desktop's proxy settings (http_proxy, no_proxy), redirects and
// compressed bodies are Qt's. While a request runs the window keeps painting, but clicks and keys
// wait until the walk yields. A request fails when it stalls for `timeout`, or when it has not
// finished within `deadline` however steadily it goes on, or as soon as its body (decoded) would
// pass limits::kPageBytes: the body is taken as it arrives, and Qt holds little of it ahead.
// Nothing of a request outlives its fetch.
class QtUrlFetch : public UrlFetch {
  public:
    explicit QtUrlFetch(std::chrono::milliseconds timeout = limits::kFetchTimeout,
                        std::chrono::milliseconds deadline = limits::kFetchDeadline);

    std::string fetch(const std::string& url) override;
    void cancel() override;

    // The URL as it goes out: only what cannot stand in a request line is percent-encoded.
    static QByteArray EncodeForRequest(const std::string& url);

    // Lets the input for the objects `passes` accepts through while a request runs; all other
    // input waits until the request has ended.
    void letThrough(std::function<bool(const QObject*)> passes) { passes_ = std::move(passes); }

    // The access manager, whose replies are its children while they last: lets a test watch them.
    const QNetworkAccessManager& manager() const { return manager_; }

  private:
    QNetworkAccessManager manager_;
    std::chrono::milliseconds timeout_;
    std::chrono::milliseconds deadline_;
    QNetworkReply* inFlight_ = nullptr;
    bool cancelled_ = false;
    std::function<bool(const QObject*)> passes_;
};

}  // namespace vendra
