#include "ListingRows.h"

#include <array>
#include <cstdio>

#include "ItemPicture.h"
#include "SiteHour.h"
#include "SiteRules.h"

namespace vendra::site {
namespace {

constexpr std::array<std::string_view, 8> kAdjectives{"Vintage", "New",      "Rare",   "Antique",
                                                      "Mint",    "Lot of 3", "Signed", "Boxed"};

struct CategoryItems {
    std::string_view number;
    std::array<std::string_view, 3> items;
};

constexpr std::array<CategoryItems, 24> kItems{{
    {"353", {"oil painting, signed", "walnut writing desk", "Victorian silver tea set"}},
    {"6000", {"1967 Mustang hubcaps", "Chevy Bel Air manual", "chrome side mirror"}},
    {"267", {"first edition hardcover", "paperback mystery set", "illustrated atlas"}},
    {"12576", {"fax machine", "oak filing cabinet", "label printer"}},
    {"11450", {"leather jacket", "silk scarf", "denim jeans, size 32"}},
    {"11116", {"1909-S VDB penny", "Morgan silver dollar", "proof set 1964"}},
    {"1", {"baseball card", "Pez dispenser", "tin toy robot"}},
    {"160", {"56k modem", "Pentium III 733 MHz", "17 inch CRT monitor"}},
    {"293", {"portable CD player", "VCR with remote", "shortwave radio"}},
    {"237", {"Barbie doll, 1962", "mohair teddy bear", "porcelain doll"}},
    {"2038", {"Tiffany lamp", "Rolex Submariner", "Faberge egg pendant"}},
    {"11700", {"cast iron skillet", "garden gnome", "quilt, hand stitched"}},
    {"281", {"sapphire ring", "pocket watch", "pearl necklace"}},
    {"11232", {"DVD box set", "VHS classic", "movie poster 27x41"}},
    {"11233", {"Beatles LP", "jazz CD collection", "Fender guitar strings"}},
    {"625", {"35mm SLR camera", "Polaroid Land camera", "zoom lens 70-210"}},
    {"870", {"Depression glass bowl", "Fiesta ware plate", "Roseville vase"}},
    {"10542", {"lakefront lot", "cabin in the woods", "timeshare week"}},
    {"888", {"signed baseball", "golf club set", "hockey jersey"}},
    {"260", {"Inverted Jenny replica", "first day cover", "stamp album"}},
    {"11730", {"concert tickets", "cruise voucher", "theater tickets, pair"}},
    {"220", {"Hot Wheels car", "model train set", "Lego castle"}},
    {"99", {"mystery box", "vending machine", "antique key"}},
    {"", {"collectible item", "gift set", "assorted lot"}},
}};

std::uint32_t ItemNumber(std::uint32_t seed) { return 100000000u + seed % 900000000u; }

std::string ItemLink(std::uint32_t seed) {
    return "http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=" +
           std::to_string(ItemNumber(seed));
}

std::string Price(std::uint32_t seed) {
    const std::uint32_t cents = 99 + (seed >> 7) % 49901;
    std::string price = "$";
    price += std::to_string(cents / 100);
    price += cents % 100 < 10 ? ".0" : ".";
    price += std::to_string(cents % 100);
    return price;
}

std::string EndTime(std::uint32_t seed) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u %02u:%02u", 1 + (seed >> 3) % 12,
                  1 + (seed >> 9) % 28, (seed >> 13) % 24, (seed >> 17) % 60);
    return text;
}

// 0 (shown as "-") or 1 to 40.
int RowBids(std::uint32_t seed) {
    const std::uint32_t mixed = Hash("bids " + std::to_string(seed));
    return BidsAtHour(mixed % 10 < 3 ? 0 : 1 + static_cast<int>((mixed >> 4) % 40), seed);
}

std::string BidText(std::uint32_t seed) {
    const int bids = RowBids(seed);
    return bids == 0 ? "-" : std::to_string(bids);
}

}  // namespace

std::string_view Adjective(std::uint32_t seed) { return kAdjectives[seed % kAdjectives.size()]; }

Item ItemOf(std::string_view categoryNumber, std::uint32_t seed) {
    std::size_t category = kItems.size() - 1;
    for (std::size_t i = 0; i < kItems.size(); ++i)
        if (kItems[i].number == categoryNumber) category = i;
    const std::size_t item = (seed >> 3) % kItems[category].items.size();
    const std::string_view kind = kItems[category].items[item];
    return {kind, std::string(Adjective(seed)) + " " + std::string(kind),
            static_cast<std::uint32_t>(category * kItems[category].items.size() + item)};
}

std::string CategoryCells(std::string_view title, const Item& item, std::uint32_t seed) {
    const std::string link = ItemLink(seed);
    return "<td width=\"12%\" align=center><a href=\"" + link + "\">" +
           ItemPicture(item.kind, item.look, seed, ItemNumber(seed)) +
           "</a></td><td width=\"50%\"><font size=3><a href=\"" + link + "\">" +
           std::string(title) + "</a></font></td><TD ALIGN=RIGHT WIDTH=\"12%\"><b>" + Price(seed) +
           "</b></TD><TD ALIGN=CENTER WIDTH=\"12%\">" + BidText(seed) +
           "<br></TD><TD ALIGN=RIGHT WIDTH=\"16%\"><font size=2>" + EndTime(seed) + "</font></TD>";
}

std::string SearchCells(std::string_view title, const Item& item, std::uint32_t seed, bool ended) {
    const std::string link = ItemLink(seed);
    return "<td valign=\"top\" width=\"12%\"><a href=\"" + link + "\">" +
           ItemPicture(item.kind, item.look, seed, ItemNumber(seed)) +
           "</a></td><td valign=\"top\" width=\"50%\"><font size=3><a href=\"" + link + "\">" +
           std::string(title) +
           "</a></font></td><td align=\"right\" valign=\"top\" width=\"12%\"><font size=3><b>" +
           Price(seed) +
           "</b></font></td><td align=\"center\" valign=\"top\" width=\"12%\"><font size=3>" +
           BidText(seed) + "</font></td><td align=\"right\" valign=\"top\" width=\"16%\">" +
           "<font size=2>" + (ended ? "Ended " : "") + EndTime(seed) + "</font></td>";
}

std::string HtmlText(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            safe += "&amp;";
        else if (c == '<')
            safe += "&lt;";
        else if (c == '>')
            safe += "&gt;";
        else if (c == '"')
            safe += "&quot;";
        else if (byte < 0x20 || byte == 0x7f)
            safe += ' ';
        else
            safe += c;
    }
    return safe;
}

}  // namespace vendra::site
