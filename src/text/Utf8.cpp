#include "text/Utf8.h"

namespace vendra {
namespace {

bool ContinuesSequence(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacementCharacter;
    const auto byte = [&out](char32_t bits) { out += static_cast<char>(bits); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if (!ContinuesSequence(c)) ++count;
    return count;
}

std::string_view FirstCodePoints(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (ContinuesSequence(text[at])) continue;
        if (seen++ == count) return text.substr(0, at);
    }
    return text;
}

}  // namespace vendra
