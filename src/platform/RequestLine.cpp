#include "platform/RequestLine.h"

namespace vendra {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool MustBeEscaped(unsigned char c) {
    // Controls (CR and LF among them), space, the bytes of non-ASCII text, and the characters a
    // request line cannot carry as they stand. '#' goes too: a request has no fragment, and cutting
    // the URL there would drop every key after it.
    constexpr std::string_view kNotInRequestLine = "\"<>\\^`{|}#";
    return c <= 0x20 || c >= 0x7f ||
           kNotInRequestLine.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string EncodeForRequestLine(std::string_view url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(url.size());
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        const bool startsEscape =
            c == '%' && i + 2 < url.size() && IsHexDigit(url[i + 1]) && IsHexDigit(url[i + 2]);
        if (MustBeEscaped(c) || (c == '%' && !startsEscape)) {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0f];
        } else {
            encoded += static_cast<char>(c);
        }
    }
    return encoded;
}

}  // namespace vendra
