#include "platform/qt/QtUrlFetch.h"

#include <QEventLoop>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "platform/qt/HeldInput.h"
#include "platform/qt/RecentSystemProxy.h"

#include "platform/RequestLine.h"

namespace vendra {
namespace {

// Errors that still delivered an HTTP response: its body is the page.
bool IsHttpAnswer(QNetworkReply::NetworkError error) {
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
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
    if (pastDeadline) throw FetchError("the site took too long to send the page");
    if (error == QNetworkReply::OperationCanceledError)
        throw FetchError("the site did not answer in time");
    if (!IsHttpAnswer(error)) throw FetchError(reply->errorString().toStdString());
    const QByteArray body = reply->readAll();
    return std::string(body.constData(), static_cast<std::size_t>(body.size()));
}

void QtUrlFetch::cancel() {
    if (inFlight_) {
        cancelled_ = true;
        inFlight_->abort();
    }
}

}  // namespace vendra
