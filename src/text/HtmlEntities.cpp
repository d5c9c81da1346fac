#include "text/HtmlEntities.h"

#include <libxml/HTMLparser.h>

#include <optional>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace vendra {
namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
int HexValue(char c) {
    if (IsAsciiDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The number of "#233" or "#xE9" (without '&' and ';'); nullopt when it is not one.
std::optional<char32_t> NumberOf(std::string_view reference) {
    const bool hex = reference.size() > 1 && (reference[1] == 'x' || reference[1] == 'X');
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    char32_t value = 0;
    for (const char c : digits) {
        const int digit = hex ? HexValue(c) : (IsAsciiDigit(c) ? c - '0' : -1);
        if (digit < 0) return std::nullopt;
        // Past U+10FFFF it is U+FFFD anyway; stop counting before the number wraps.
        value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    return value;
}

void AppendNumbered(std::string& out, char32_t value) {
    if (value >= 0x80 && value <= 0x9F)
        out += Windows1252ToUtf8(std::string(1, static_cast<char>(value)));
    else
        AppendUtf8(out, value == 0 ? kReplacementCharacter : value);
}

// Long enough for every HTML 4 name.
constexpr std::size_t kLongestReference = 32;

}  // namespace

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t amp = text.find('&', at);
        out.append(text.substr(at, amp - at));
        if (amp == std::string_view::npos) break;
        at = amp + 1;
        std::size_t end = at;
        while (end < text.size() && end - at < kLongestReference &&
               (IsAsciiAlnum(text[end]) || (end == at && text[end] == '#')))
            ++end;
        if (end == text.size() || text[end] != ';' || end == at) {
            out += '&';
            continue;
        }
        const std::string reference(text.substr(at, end - at));
        if (reference[0] == '#') {
            const std::optional<char32_t> number = NumberOf(reference);
            if (!number) {
                out += '&';
                continue;
            }
            AppendNumbered(out, *number);
        } else {
            const htmlEntityDesc* entity =
                htmlEntityLookup(reinterpret_cast<const xmlChar*>(reference.c_str()));
            if (!entity) {
                out += '&';
                continue;
            }
            AppendUtf8(out, static_cast<char32_t>(entity->value));
        }
        at = end + 1;
    }
    return out;
}

}  // namespace vendra
