#include "SiteTarget.h"

#include <boost/algorithm/string/predicate.hpp>
#include <cctype>
#include <charconv>

namespace vendra::site {
namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// "%XX" escapes decoded; in a query, "+" also stands for a space.
std::string Decoded(std::string_view text, bool plusIsSpace) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && IsHexDigit(text[i + 1]) &&
            IsHexDigit(text[i + 2])) {
            unsigned byte = 0;
            std::from_chars(text.data() + i + 1, text.data() + i + 3, byte, 16);
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            decoded += plusIsSpace && text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

}  // namespace

SiteTarget ReadTarget(std::string_view target, std::string_view hostHeader) {
    constexpr std::string_view kScheme = "http://";
    std::string_view rest = target;
    std::string_view host = hostHeader;
    const bool proxyForm = boost::algorithm::istarts_with(target, kScheme);
    if (proxyForm) {
        rest = target.substr(kScheme.size());
        const std::size_t end = std::min(rest.find('/'), rest.find('?'));
        host = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    }
    SiteTarget read;
    read.request.host = std::string(host.substr(0, host.find(':')));
    const std::size_t question = rest.find('?');
    read.request.path = Decoded(rest.substr(0, question), false);
    if (read.request.path.empty()) read.request.path.push_back('/');
    std::string_view query =
        question == std::string_view::npos ? std::string_view() : rest.substr(question + 1);
    while (!query.empty()) {
        const std::string_view pair = query.substr(0, query.find('&'));
        query.remove_prefix(std::min(query.size(), pair.size() + 1));
        const std::size_t equals = pair.find('=');
        if (equals == 0 || pair.empty()) continue;
        read.request.params.emplace(
            Decoded(pair.substr(0, equals), true),
            equals == std::string_view::npos ? "" : Decoded(pair.substr(equals + 1), true));
    }
    read.full =
        proxyForm ? std::string(target) : "http://" + std::string(hostHeader) + std::string(target);
    return read;
}

}  // namespace vendra::site
