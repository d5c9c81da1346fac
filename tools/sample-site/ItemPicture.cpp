#include "ItemPicture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vendra::site {
namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 36;

std::string Base64(std::string_view bytes) {
    constexpr std::string_view kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i)
            group = group << 8 |
                    (at + i < bytes.size() ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        const std::size_t digits = std::min<std::size_t>(bytes.size() - at, 3) + 1;
        for (std::size_t i = 0; i < 4; ++i)
            encoded += i < digits ? kDigits[group >> (18 - 6 * i) & 63] : '=';
    }
    return encoded;
}

// "#rrggbb" of a hue (degrees), saturation and lightness (0 to 1).
std::string Colour(int hue, double saturation, double lightness) {
    const auto channel = [&](int n) {
        const double k = (n + hue / 30.0) - 12 * static_cast<int>((n + hue / 30.0) / 12);
        const double a = saturation * std::min(lightness, 1 - lightness);
        return lightness - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(channel(0) * 255 + 0.5),
                  static_cast<unsigned>(channel(8) * 255 + 0.5),
                  static_cast<unsigned>(channel(4) * 255 + 0.5));
    return text;
}

// The first letter or digit of the kind's first two words, in capitals: "FE" for "first edition
// hardcover". Nothing else of the kind reaches the picture.
std::string Initials(std::string_view kind) {
    std::string initials;
    bool wordStart = true;
    for (const char c : kind) {
        const bool letter = std::isalnum(static_cast<unsigned char>(c)) != 0;
        if (letter && wordStart && initials.size() < 2)
            initials += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        wordStart = c == ' ';
    }
    return initials;
}

// One of six shapes, centred on (x, y), `size` from its middle to its edge.
std::string Shape(std::uint32_t look, int x, int y, int size, const std::string& colour) {
    char text[200];
    const char* fill = colour.c_str();
    switch (look % 6) {
        case 0:
            std::snprintf(text, sizeof text, "<circle cx='%d' cy='%d' r='%d' fill='%s'/>", x, y,
                          size, fill);
            break;
        case 1:
            std::snprintf(text, sizeof text,
                          "<rect x='%d' y='%d' width='%d' height='%d' rx='2' fill='%s'/>", x - size,
                          y - size, 2 * size, 2 * size, fill);
            break;
        case 2:
            std::snprintf(text, sizeof text, "<polygon points='%d,%d %d,%d %d,%d' fill='%s'/>", x,
                          y - size, x + size, y + size, x - size, y + size, fill);
            break;
        case 3:
            std::snprintf(text, sizeof text,
                          "<polygon points='%d,%d %d,%d %d,%d %d,%d' fill='%s'/>", x, y - size,
                          x + size, y, x, y + size, x - size, y, fill);
            break;
        case 4:
            std::snprintf(text, sizeof text, "<ellipse cx='%d' cy='%d' rx='%d' ry='%d' fill='%s'/>",
                          x, y, size + 5, size - 3, fill);
            break;
        default:
            std::snprintf(text, sizeof text,
                          "<circle cx='%d' cy='%d' r='%d' fill='none' stroke='%s' "
                          "stroke-width='4'/>",
                          x, y, size - 2, fill);
    }
    return text;
}

}  // namespace

std::string ItemPicture(std::string_view kind, std::uint32_t look, std::uint32_t seed,
                        std::uint32_t itemNumber) {
    // Neighbouring looks lie 137 degrees apart on the colour wheel, then 20 either way per listing.
    const int hue = static_cast<int>((look % 360 * 137 + seed % 41 + 340) % 360);
    const int x = kWidth / 2 + static_cast<int>((seed >> 6) % 7) - 3;
    const int y = 13 + static_cast<int>((seed >> 10) % 3) - 1;
    const int size = 9 + static_cast<int>((seed >> 13) % 3);
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='" + std::to_string(kWidth) + "' height='" +
        std::to_string(kHeight) + "'><rect width='100%' height='100%' fill='" +
        Colour(hue, 0.6, 0.92) + "'/>" + Shape(look, x, y, size, Colour(hue, 0.55, 0.42)) +
        "<g font-family='Arial,sans-serif' font-weight='bold' text-anchor='middle'><text x='" +
        std::to_string(x) + "' y='" + std::to_string(y + 3) + "' font-size='8' fill='#ffffff'>" +
        Initials(kind) + "</text><text x='24' y='34' font-size='7' fill='#333333'>" +
        std::to_string(itemNumber) + "</text></g></svg>";
    return "<img src=\"data:image/svg+xml;base64," + Base64(svg) +
           "\" width=" + std::to_string(kWidth) + " height=" + std::to_string(kHeight) +
           " border=0 alt=\"[Picture!]\">";
}

}  // namespace vendra::site
