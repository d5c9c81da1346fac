#include "platform/qt/QtUrlFetch.h"

#include <QEventLoop>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>

#include "platform/PageBody.h"
#include "platform/RequestLine.h"
#include "platform/qt/HeldInput.h"
#include "platform/qt/RecentSystemProxy.h"

namespace vendra {
namespace {

// Errors that only tell an HTTP error status: the response came whole, and its body is the page.
// The same errors on a status below 400 tell a body that could not be had (a compressed one that
// does not decode), and so does any other error.
bool IsHttpAnswer(const QNetworkReply& reply) {
    const QNetworkReply::NetworkError error = reply.error();
    if (error == QNetworkReply::NoError) return true;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 400 && ((error >= QNetworkReply::ContentAccessDenied &&
                              error <= QNetworkReply::UnknownContentError) ||
                             (error >= QNetworkReply::InternalServerError &&
                              error <= QNetworkReply::UnknownServerError));
}

// How much of a body Qt may hold ahead of what the fetch has taken: the rest waits in the network.
constexpr qint64 kReadAheadBytes = 1 << 20;

std::string TooLargeMessage() {
    return "the page is larger than " + std::to_string(limits::kPageBytes >> 20) + " MB";
}

}  // namespace

QtUrlFetch::QtUrlFetch(std::chrono::milliseconds timeout, std::chrono::milliseconds deadline)
    : timeout_(timeout), deadline_(deadline) {
    manager_.setProxyFactory(new RecentSystemProxy(limits::kProxySettingsLifetime));
}

QByteArray QtUrlFetch::EncodeForRequest(const std::string& url) {
    return QByteArray::fromStdString(EncodeForRequestLine(url));
}

std::string QtUrlFetch::fetch(const std::string& url) {
    const QUrl target = QUrl::fromEncoded(EncodeForRequest(url), QUrl::StrictMode);
    if (!target.isValid() || target.host().isEmpty())
        throw FetchError("the address " + url + " is not a valid web address");

    QNetworkRequest request(target);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(timeout_.count()));
    // Qt's own check refuses a compressed body past 10 MB decoded that shrank more than 40 times;
    // the page bound below counts decoded bytes for every body alike instead.
    request.setDecompressedSafetyCheckThreshold(-1);

    cancelled_ = false;
    // Deleted when this call returns, whichever way. A search runs inside a click, so a
    // deleteLater() would wait for the walk to return to the main loop: every finished reply
    // would be kept until then, and every nested loop would step over all of their deletions.
    // Here the reply is past its finished() signal, and its deletion drops any event still
    // posted to it.
    const std::unique_ptr<QNetworkReply> reply(manager_.get(request));
    inFlight_ = reply.get();
    bool pastDeadline = false;
    QEventLoop loop;

    // The body is taken as it arrives, so that Qt never holds it whole, and abandoned as soon as
    // it would pass the bound: announced, or as it streams in (decoded, when it comes compressed).
    PageBody body(limits::kPageBytes);
    bool tooLarge = false;
    reply->setReadBufferSize(kReadAheadBytes);
    const auto abandon = [&] {
        tooLarge = true;
        reply->abort();
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!length.isValid() || body.expect(length.toLongLong())) return;
        // Abandoned once Qt is done with the header: an abort in the midst of it would make Qt
        // report an error twice. Nothing of the body is taken meanwhile.
        tooLarge = true;
        QMetaObject::invokeMethod(reply.get(), &QNetworkReply::abort, Qt::QueuedConnection);
    });
    const auto takeArrived = [&] {
        const qint64 available = reply->bytesAvailable();
        if (tooLarge || available <= 0) return;
        const auto read = [&](char* into, std::size_t size) {
            return static_cast<std::size_t>(
                std::max<qint64>(reply->read(into, static_cast<qint64>(size)), 0));
        };
        if (!body.append(static_cast<std::size_t>(available), read)) abandon();
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, takeArrived);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);  // a coarse timer may end a request early
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        pastDeadline = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(deadline_);
    if (!reply->isFinished()) {
        // Painting and timers go on; user input waits for the walk's yield, but for the input
        // that may pass (the stop button), which can abandon this request at once.
        std::optional<HeldInput> held;
        if (passes_) held.emplace(passes_);
        loop.exec(passes_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    deadline.stop();
    inFlight_ = nullptr;

    const QNetworkReply::NetworkError error = reply->error();
    if (cancelled_) throw FetchError("the request was cancelled");
    if (tooLarge) throw FetchError(TooLargeMessage());
    if (pastDeadline) throw FetchError("the site took too long to send the page");
    if (error == QNetworkReply::OperationCanceledError)
        throw FetchError("the site did not answer in time");
    if (!IsHttpAnswer(*reply)) throw FetchError(reply->errorString().toStdString());
    takeArrived();  // whatever came with the end of the reply
    if (tooLarge) throw FetchError(TooLargeMessage());
    return body.take();
}

void QtUrlFetch::cancel() {
    if (inFlight_) {
        cancelled_ = true;
        inFlight_->abort();
    }
}

}  // namespace vendra
