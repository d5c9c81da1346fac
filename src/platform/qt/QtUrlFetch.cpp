#include "platform/qt/QtUrlFetch.h"

#include <QEventLoop>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

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

QtUrlFetch::QtUrlFetch(std::chrono::milliseconds timeout) : timeout_(timeout) {
    QNetworkProxyFactory::setUseSystemConfiguration(true);
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
    QNetworkReply* reply = manager_.get(request);
    inFlight_ = reply;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // Painting and timers go on; user input stays queued for the walk's yield.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    inFlight_.clear();

    // The reply goes when this call returns, whichever way.
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owner(
        reply, [](QNetworkReply* r) { r->deleteLater(); });
    const QNetworkReply::NetworkError error = reply->error();
    if (cancelled_) throw FetchError("the request was cancelled");
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
