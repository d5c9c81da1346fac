#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

struct pxProxyFactory_;

namespace vendra {

// The desktop's proxy for a URL, as libproxy reads the settings (http_proxy, https_proxy and
// no_proxy, GNOME's and KDE's settings, a PAC file): a proxy URL curl takes, or the empty text
// for a direct connection. The settings are read anew on every question, which costs more than
// a page from a nearby site, and a walk asks for every page of the same host: one answer per
// scheme, host and port is kept for `lifetime`, so a change of the settings takes effect within
// it all the same.
class DesktopProxy {
  public:
    explicit DesktopProxy(std::chrono::milliseconds lifetime);
    ~DesktopProxy();
    DesktopProxy(const DesktopProxy&) = delete;
    DesktopProxy& operator=(const DesktopProxy&) = delete;

    std::string forUrl(const std::string& url);

  private:
    struct Answer {
        std::chrono::steady_clock::time_point asked;
        std::string proxy;
    };

    std::chrono::milliseconds lifetime_;
    pxProxyFactory_* factory_ = nullptr;
    std::map<std::string, Answer> answers_;
};

}  // namespace vendra
