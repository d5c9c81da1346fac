#include "platform/qt/QtUrlFetch.h"

#include <QEventLoop>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <optional>

#include "platform/qt/HeldInput.h"
#include "platform/qt/RecentSystemProxy.h"

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

QtUrlFetch::QtUrlFetch(std::chrono::milliseconds timeout, std::chrono::milliseconds deadline)
    : timeout_(timeout), deadline_(deadline) {
    manager_.setProxyFactory(new RecentSystemProxy(hosts::kProxySettingsLifetime));
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
