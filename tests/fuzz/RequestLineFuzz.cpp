// Any bytes as a URL into the request line, against a plain escaper: a byte is escaped as %XX
// exactly when the request line cannot carry it as it stands, or when it is a % that begins no
// %XX escape; a %XX the URL already holds passes as it is.
#include "FuzzInput.h"
#include "platform/RequestLine.h"

FUZZ_TARGET(in) {
    const std::string url = in.ConsumeRemainingBytesAsString();
    const auto hex = [&](std::size_t at) {
        return at < url.size() &&
               std::string_view("0123456789abcdefABCDEF").find(url[at]) != std::string_view::npos;
    };
    std::string want;
    for (std::size_t at = 0; at < url.size(); ++at) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(url[at]));
        const bool kept =
            vendra::fuzz::CarriedAsIs(url[at]) && (url[at] != '%' || (hex(at + 1) && hex(at + 2)));
        want += kept ? std::string(1, url[at]) : escaped;
    }
    FUZZ_CHECK(vendra::EncodeForRequestLine(url) == want);
}
