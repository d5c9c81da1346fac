#include "platform/curl/DesktopProxy.h"

#include <proxy.h>

#include <optional>
#include <string_view>

namespace vendra {
namespace {

// "scheme://host:port" of a URL: what the desktop's settings can tell apart.
std::string Origin(const std::string& url) {
    const std::size_t hostStart = url.find("://");
    if (hostStart == std::string::npos) return url;
    const std::size_t hostEnd = url.find_first_of("/?#", hostStart + 3);
    return url.substr(0, hostEnd);
}

// libproxy's answer as curl takes it: the empty text for a direct connection, nothing for a kind
// of proxy curl does not speak.
std::optional<std::string> ForCurl(std::string_view proxy) {
    if (proxy.starts_with("direct://")) return std::string();
    for (std::string_view scheme :
         {"http://", "https://", "socks4://", "socks4a://", "socks5://", "socks5h://"})
        if (proxy.starts_with(scheme)) return std::string(proxy);
    if (proxy.starts_with("socks://")) return "socks5://" + std::string(proxy.substr(8));
    return std::nullopt;
}

}  // namespace

DesktopProxy::DesktopProxy(std::chrono::milliseconds lifetime) : lifetime_(lifetime) {}

DesktopProxy::~DesktopProxy() {
    if (factory_) px_proxy_factory_free(factory_);
}

std::string DesktopProxy::forUrl(const std::string& url) {
    const auto now = std::chrono::steady_clock::now();
    const std::string origin = Origin(url);
    if (const auto kept = answers_.find(origin);
        kept != answers_.end() && now - kept->second.asked < lifetime_)
        return kept->second.proxy;

    if (!factory_) factory_ = px_proxy_factory_new();
    std::string chosen;  // direct, when the settings name nothing curl speaks
    if (char** proxies = factory_ ? px_proxy_factory_get_proxies(factory_, url.c_str()) : nullptr) {
        for (char** proxy = proxies; *proxy; ++proxy) {
            if (const std::optional<std::string> usable = ForCurl(*proxy)) {
                chosen = *usable;
                break;
            }
        }
        px_proxy_factory_free_proxies(proxies);
    }
    answers_[origin] = {now, chosen};
    return chosen;
}

}  // namespace vendra
