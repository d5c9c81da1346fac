#include "platform/qt/RecentSystemProxy.h"

#include <QUrl>

namespace vendra {

RecentSystemProxy::RecentSystemProxy(std::chrono::milliseconds lifetime) : lifetime_(lifetime) {}

QList<QNetworkProxy> RecentSystemProxy::queryProxy(const QNetworkProxyQuery& query) {
    const QString host = QString::number(query.queryType()) + ' ' + query.protocolTag() + "://" +
                         query.peerHostName() + ':' + QString::number(query.peerPort());
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    Answer& answer = answers_[host];
    if (answer.proxies.isEmpty() || now - answer.asked >= lifetime_) {
        answer.proxies = systemProxyForQuery(query);
        answer.asked = now;
    }
    return answer.proxies;
}

}  // namespace vendra
