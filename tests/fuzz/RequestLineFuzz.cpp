// The URL as it goes into the request line, for any bytes: nothing a request line cannot carry gets
// through, and undoing the escapes gives back the URL as built, byte for byte. A %XX the URL
// already holds passes as it is; every other byte is escaped only when it must be.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RequestLine.h"

namespace {

constexpr std::string_view kNotInRequestLine = "\"<>\\^`{|}#";

bool MustBeEscaped(unsigned char c) {
    return c < 0x21 || c > 0x7e ||
           kNotInRequestLine.find(static_cast<char>(c)) != std::string_view::npos;
}

int HexValue(char c) {
    const std::string_view digits = "0123456789ABCDEF";
    const std::size_t upper = digits.find(c);
    if (upper != std::string_view::npos) return static_cast<int>(upper);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool IsEscape(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == '%' && HexValue(text[at + 1]) >= 0 &&
           HexValue(text[at + 2]) >= 0;
}

[[noreturn]] void Fail(const char* what, std::size_t at, const std::string& encoded) {
    std::fprintf(stderr, "%s at byte %zu of the encoded URL: %s\n", what, at, encoded.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    const std::string encoded = vendra::EncodeForRequestLine(url);

    std::size_t in = 0;
    for (std::size_t out = 0; out < encoded.size();) {
        if (MustBeEscaped(static_cast<unsigned char>(encoded[out])))
            Fail("a byte that cannot stand in a request line", out, encoded);
        if (in >= url.size()) Fail("more than the URL", out, encoded);
        const bool kept = IsEscape(url, in) && url.compare(in, 3, encoded, out, 3) == 0;
        if (kept) {
            in += 3, out += 3;
        } else if (IsEscape(encoded, out)) {
            const auto byte = static_cast<unsigned char>(url[in]);
            if (HexValue(encoded[out + 1]) * 16 + HexValue(encoded[out + 2]) != byte)
                Fail("an escape that decodes to another byte", out, encoded);
            if (!MustBeEscaped(byte) && !(byte == '%' && !IsEscape(url, in)))
                Fail("a byte escaped that could stand as it is", out, encoded);
            ++in, out += 3;
        } else if (encoded[out] == '%') {
            Fail("a % that begins no escape", out, encoded);
        } else if (encoded[out++] != url[in++]) {
            Fail("a byte changed", out - 1, encoded);
        }
    }
    if (in != url.size()) Fail("the URL cut short", encoded.size(), encoded);
    return 0;
}
