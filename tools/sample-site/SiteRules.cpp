#include "SiteRules.h"

#include <algorithm>
#include <array>

namespace vendra::site {
namespace {

constexpr std::array<TopCategory, 23> kTopCategories{{
    {"353", "Antiques & Art"},
    {"6000", "eBay Motors"},
    {"267", "Books"},
    {"12576", "Business, Office & Industrial"},
    {"11450", "Clothing & Accessories"},
    {"11116", "Coins"},
    {"1", "Collectibles"},
    {"160", "Computers & Networking"},
    {"293", "Consumer Electronics"},
    {"237", "Dolls & Bears"},
    {"2038", "eBay Premier"},
    {"11700", "Home & Garden"},
    {"281", "Jewelry, Gemstones & Watches"},
    {"11232", "Movies"},
    {"11233", "Music"},
    {"625", "Photo"},
    {"870", "Pottery & Glass"},
    {"10542", "Real Estate"},
    {"888", "Sports"},
    {"260", "Stamps"},
    {"11730", "Tickets & Travel"},
    {"220", "Toys & Hobbies"},
    {"99", "Everything Else"},
}};

// Reads "<prefix><digits>" as a capped count; any other text is not one.
std::optional<std::uint64_t> CountAfterPrefix(std::string_view text, std::string_view prefix) {
    if (!text.starts_with(prefix) || text.size() == prefix.size()) return std::nullopt;
    const std::string_view digits = text.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return ReadCount(digits);
}

}  // namespace

std::uint32_t Hash(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

std::span<const TopCategory> TopCategories() { return kTopCategories; }

bool IsTopCategory(std::string_view number) {
    return std::any_of(kTopCategories.begin(), kTopCategories.end(),
                       [number](const TopCategory& category) { return category.number == number; });
}

std::string CategoryName(std::string_view number) {
    for (const TopCategory& category : kTopCategories)
        if (category.number == number) return std::string(category.name);
    return "Category " + std::string(number);
}

std::uint64_t CategoryPageCount(std::string_view number) {
    if (const auto pages = CountAfterPrefix(number, "pages")) return *pages;
    return 1 + Hash("site category " + std::string(number)) % 8;
}

std::uint64_t SearchListingCount(std::string_view query) {
    if (query == "nothing") return 0;
    if (const auto listings = CountAfterPrefix(query, "listings")) return *listings;
    return Hash("query " + std::string(query)) % 181;
}

std::optional<std::uint64_t> ReadCount(std::string_view text) {
    std::uint64_t value = 0;
    bool sawDigit = false;
    for (const char c : text) {
        if (c == ',' && sawDigit) continue;
        if (c < '0' || c > '9') return std::nullopt;
        sawDigit = true;
        value = std::min(kCountCap, value * 10 + static_cast<std::uint64_t>(c - '0'));
    }
    if (!sawDigit || text.back() == ',') return std::nullopt;
    return value;
}

std::string GroupDigits(std::string_view digits) {
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::string(digits);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace vendra::site
