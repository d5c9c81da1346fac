#include "SiteTarget.h"

#include <algorithm>
#include <cctype>

namespace vendra::site {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

TargetParts SplitTarget(std::string_view target, std::string_view hostHeader) {
    constexpr std::string_view kScheme = "http://";
    TargetParts parts;
    std::string_view rest = target;
    std::string_view host = hostHeader;
    const bool proxyForm = StartsWithIgnoringCase(target, kScheme);
    if (proxyForm) {
        rest = target.substr(kScheme.size());
        const std::size_t end = std::min(rest.find('/'), rest.find('?'));
        host = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    }
    parts.host = std::string(host.substr(0, host.find(':')));

    const std::size_t question = rest.find('?');
    parts.path = std::string(rest.substr(0, question));
    if (parts.path.empty()) parts.path = "/";
    if (question != std::string_view::npos) parts.query = std::string(rest.substr(question + 1));
    parts.full =
        proxyForm ? std::string(target) : "http://" + std::string(hostHeader) + std::string(target);
    return parts;
}

}  // namespace vendra::site
