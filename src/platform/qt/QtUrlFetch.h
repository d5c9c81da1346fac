#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <QNetworkReply>
#include <chrono>

#include "platform/Hosts.h"
#include "platform/UrlFetch.h"

namespace vendra {

// The page fetch on Qt Network. One access manager for the program's life, so the pages of a walk
// reuse their connection; the desktop's proxy settings (http_proxy, no_proxy), redirects and
// compressed bodies are Qt's. While a request runs the window keeps painting, but clicks and keys
// wait until the walk yields.
class QtUrlFetch : public UrlFetch {
public:
    explicit QtUrlFetch(std::chrono::milliseconds timeout = hosts::kFetchTimeout);

    std::string fetch(const std::string& url) override;
    void cancel() override;

    // The URL as it goes out: only what cannot stand in a request line is percent-encoded.
    static QByteArray EncodeForRequest(const std::string& url);

private:
    QNetworkAccessManager manager_;
    std::chrono::milliseconds timeout_;
    QPointer<QNetworkReply> inFlight_;
    bool cancelled_ = false;
};

}  // namespace vendra
