#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The facts every page is derived from: names, page counts and listing counts. Everything comes
// from a hash of the request's own text, so the same request always gets the same page.
namespace vendra::site {

// Counts are capped here so that page and row arithmetic can never overflow.
inline constexpr std::uint64_t kCountCap = 999'999'999'999;

inline constexpr std::uint64_t kFeaturedPageCount = 4;
inline constexpr std::uint64_t kListingsPerSearchPage = 50;

struct TopCategory {
    std::string_view number;
    std::string_view name;
};

// FNV-1a, 32 bits: stable across runs, compilers and machines.
std::uint32_t Hash(std::string_view text);

// The 23 top-level categories of the site, in the order of its category index.
std::span<const TopCategory> TopCategories();

// Whether the text is the number of one of the 23 top-level categories.
bool IsTopCategory(std::string_view number);

// The believable name of a top-level category; "Category " + the text for any other.
std::string CategoryName(std::string_view number);

// 1 to 8 pages from the hash of the text; the text "pages<K>" has exactly K pages.
std::uint64_t CategoryPageCount(std::string_view number);

// 0 to 180 listings from the hash of the query; "nothing" finds none and "listings<N>" finds
// exactly N.
std::uint64_t SearchListingCount(std::string_view query);

// Digits, optionally grouped by ",", read as a count (capped); anything else is not a count.
std::optional<std::uint64_t> ReadCount(std::string_view text);

// "1234567" -> "1,234,567"; text that is not all digits is returned unchanged.
std::string GroupDigits(std::string_view digits);

}  // namespace vendra::site
