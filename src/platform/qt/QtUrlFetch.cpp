#include "platform/qt/QtUrlFetch.h"

#include <QEventLoop>
#include <QNetworkProxyFactory>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

namespace vendra {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool MustBeEscaped(unsigned char c) {
    // Controls (CR and LF among them), space, the bytes of non-ASCII text, and the characters a
    // request line cannot carry as they stand. '#' goes too: a request has no fragment, and cutting
    // the URL there would drop every key after it.
    if (c <= 0x20 || c >= 0x7f) return true;
    switch (c) {
        case '"': case '<': case '>': case '\\': case '^': case '`':
        case '{': case '|': case '}': case '#':
            return true;
        default:
            return false;
    }
}

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
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(static_cast<qsizetype>(url.size()));
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        const bool startsEscape =
            c == '%' && i + 2 < url.size() && IsHexDigit(url[i + 1]) && IsHexDigit(url[i + 2]);
        if (MustBeEscaped(c) || (c == '%' && !startsEscape)) {
            encoded.append('%');
            encoded.append(kHex[c >> 4]);
            encoded.append(kHex[c & 0x0f]);
        } else {
            encoded.append(static_cast<char>(c));
        }
    }
    return encoded;
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
