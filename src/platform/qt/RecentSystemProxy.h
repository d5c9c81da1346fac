#pragma once

#include <QNetworkProxyFactory>
#include <chrono>
#include <map>
#include <mutex>

namespace vendra {

// The desktop's proxy settings (http_proxy, no_proxy, the desktop's own configuration), asked of
// the system at most once per `lifetime` for each host. The system's proxy library reads its
// configuration anew on every question, which costs more than a page from a nearby site, and a
// walk asks for every page of the same host; a change of the settings takes effect within
// `lifetime` all the same. One answer is kept per host.
class RecentSystemProxy : public QNetworkProxyFactory {
  public:
    explicit RecentSystemProxy(std::chrono::milliseconds lifetime);

    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;

  private:
    struct Answer {
        std::chrono::steady_clock::time_point asked;
        QList<QNetworkProxy> proxies;
    };

    std::chrono::milliseconds lifetime_;
    std::mutex mutex_;
    std::map<QString, Answer> answers_;
};

}  // namespace vendra
