#include "history/HistoryPage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unordered_map>

namespace vendra {
namespace {

// The runs' times as the page's heading tells them.
constexpr char kPageTime[] = "%Y-%m-%d %H:%M UTC";

int Heat(ListingState state) {
    switch (state) {
        case ListingState::HeatingUp:
            return 0;
        case ListingState::New:
            return 1;
        case ListingState::Steady:
            return 2;
        case ListingState::Gone:
            return 3;
    }
    return 4;
}

const char* StateClass(ListingState state) {
    switch (state) {
        case ListingState::HeatingUp:
            return "hot";
        case ListingState::New:
            return "new";
        case ListingState::Steady:
            return "steady";
        case ListingState::Gone:
            return "gone";
    }
    return "";
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

constexpr std::string_view kStyle = R"(
:root{color-scheme:light dark;--bg:#fbfbfa;--fg:#1d1d1f;--muted:#5d6166;--line:#dcdfe3;
--card:#fff;--accent:#1a5fb4;--min:#a05a00;--hot:#c01c28;--new:#26793b;--gone:#77767b}
@media (prefers-color-scheme:dark){:root{--bg:#161719;--fg:#e8e8e6;--muted:#a3a7ad;
--line:#33363a;--card:#1f2124;--accent:#78aeed;--min:#f0b35a;--hot:#ff7b72;--new:#6fcf84;
--gone:#9a999e}}
*{box-sizing:border-box}
body{margin:0;background:var(--bg);color:var(--fg);font:15px/1.45 system-ui,sans-serif}
main{max-width:1240px;margin:0 auto;padding:20px 16px 40px}
h1{font-size:1.5rem;margin:0 0 4px}
header p{margin:0 0 16px;color:var(--muted)}
a{color:var(--accent)}
ol{list-style:none;margin:0;padding:0}
.row{display:grid;grid-template-columns:minmax(0,1fr) 8rem 6.5rem 6rem 240px;gap:4px 16px;
align-items:center;padding:10px 12px;border-bottom:1px solid var(--line)}
li.row{background:var(--card)}
.head{font-size:.8rem;text-transform:uppercase;letter-spacing:.04em;color:var(--muted)}
.title{overflow-wrap:anywhere}
.price,.bids{font-variant-numeric:tabular-nums}
.bids small{color:var(--muted)}
.state{font-weight:600;font-size:.9rem}
.hot .state{color:var(--hot)}.new .state{color:var(--new)}.gone .state{color:var(--gone)}
.gone .title{color:var(--muted)}
svg{display:block;width:100%;height:auto}
.chart .line{fill:none;stroke:var(--accent);stroke-width:2;stroke-linejoin:round}
.chart .dot{fill:var(--accent)}
.chart .min{stroke:var(--min);stroke-width:1;stroke-dasharray:4 3}
.chart text{fill:var(--min);font-size:10px;font-family:system-ui,sans-serif}
@media (max-width:700px){.head{display:none}
.row{grid-template-columns:auto auto 1fr;padding:12px 8px}
.title,.chart{grid-column:1/-1}.title{font-weight:600}.bids{text-align:right}}
)";

// The bids of one listing over every run, as a line, with the minimum as a dashed rule.
void AppendChart(std::string& html, const std::vector<BidsAt>& bids, std::size_t runs,
                 std::optional<int> minimum) {
    constexpr double kWidth = 240, kHeight = 56, kLeft = 6, kRight = 48, kTop = 8, kBottom = 8;
    // From the fewest bids drawn to the most, the minimum among them: a change of a few bids
    // shows as a climb, and a line that stays level lies in the middle.
    int low = bids.empty() ? 0 : bids.front().bids, high = low;
    for (const BidsAt& at : bids) low = std::min(low, at.bids), high = std::max(high, at.bids);
    if (minimum) low = std::min(low, *minimum), high = std::max(high, *minimum);
    if (high == low) --low, ++high;
    const auto x = [&](std::size_t run) {
        if (runs < 2) return kLeft + (kWidth - kLeft - kRight) / 2;
        return kLeft +
               (kWidth - kLeft - kRight) * static_cast<double>(run) / static_cast<double>(runs - 1);
    };
    const auto y = [&](int value) {
        return kHeight - kBottom -
               (kHeight - kTop - kBottom) * static_cast<double>(value - low) / (high - low);
    };
    const auto number = [](double value) {
        char text[24];
        std::snprintf(text, sizeof text, "%.1f", value);
        return std::string(text);
    };
    std::string told = "Bids in each run that kept it:";
    // (Appended piece by piece: GCC 12 at -O3 warns of literal-plus-string chains.)
    for (const BidsAt& at : bids) told.append(" ").append(std::to_string(at.bids));
    if (minimum)
        told.append("; the search keeps ").append(std::to_string(*minimum)).append(" or more");
    html += "<svg viewBox=\"0 0 240 56\" role=\"img\"><title>" + told + "</title>";
    if (minimum) {
        const std::string level = number(y(*minimum));
        html += "<line class=\"min\" x1=\"" + number(kLeft) + "\" x2=\"" +
                number(kWidth - kRight + 4) + "\" y1=\"" + level + "\" y2=\"" + level + "\"/>";
        html += "<text x=\"" + number(kWidth - kRight + 7) + "\" y=\"" + number(y(*minimum) + 3.5) +
                "\">min " + std::to_string(*minimum) + "</text>";
    }
    if (bids.size() > 1) {
        html += "<polyline class=\"line\" points=\"";
        for (const BidsAt& at : bids) html += number(x(at.run)) + "," + number(y(at.bids)) + " ";
        html.back() = '"';
        html += "/>";
    }
    for (const BidsAt& at : bids)
        html += "<circle class=\"dot\" r=\"2.5\" cx=\"" + number(x(at.run)) + "\" cy=\"" +
                number(y(at.bids)) + "\"/>";
    html += "</svg>";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? ' ' : c;
        }
    }
    return escaped;
}

std::optional<std::string> WebLink(std::string_view link) {
    const std::size_t scheme = StartsWithNoCase(link, "https://")  ? 8
                               : StartsWithNoCase(link, "http://") ? 7
                                                                   : 0;
    if (scheme == 0 || link.size() == scheme || link[scheme] == '/') return std::nullopt;
    for (const char c : link)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f || c == '\\') return std::nullopt;
    return std::string(link);
}

HistoryPageData ReadHistoryPage(HistoryStore& store, const std::string& search) {
    HistoryPageData data;
    data.search = search;
    SearchHistory told = TellHistory(store, search);
    std::unordered_map<std::int64_t, std::size_t> runIndex;
    for (const RunSummary& run : store.runs(search)) {
        if (!WroteResults(run.end)) continue;
        runIndex[run.id] = data.runs.size();
        data.runs.push_back(run.started);
    }
    std::unordered_map<std::int64_t, std::vector<BidsAt>> bidsOf;
    store.observations(search, [&](const Observation& observation) {
        const auto run = runIndex.find(observation.run);
        if (run != runIndex.end())
            bidsOf[observation.listing].push_back({run->second, observation.bids});
    });
    std::stable_sort(told.listings.begin(), told.listings.end(),
                     [](const ListingHistory& a, const ListingHistory& b) {
                         if (Heat(a.state) != Heat(b.state)) return Heat(a.state) < Heat(b.state);
                         if (a.bids != b.bids) return a.bids > b.bids;
                         return a.firstSeen > b.firstSeen;
                     });
    data.listings = std::move(told.listings);
    for (const ListingHistory& listing : data.listings) {
        std::vector<BidsAt> bids = std::move(bidsOf[listing.id]);
        std::reverse(bids.begin(), bids.end());  // they come latest first
        data.bids.push_back(std::move(bids));
    }
    return data;
}

std::string HistoryPageHtml(const HistoryPageData& data, std::optional<int> minimumBids) {
    const std::string name = EscapeHtml(data.search);
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'\">\n"
        "<meta name=\"referrer\" content=\"no-referrer\">\n"
        "<title>" +
        name + " \xE2\x80\x94 Vendra history</title>\n<style>";
    html.append(kStyle).append("</style>\n</head>\n<body>\n<main>\n<header><h1>") += name;
    html += "</h1><p>" + std::to_string(data.listings.size()) + " listings kept over " +
            std::to_string(data.runs.size()) + (data.runs.size() == 1 ? " run" : " runs");
    if (!data.runs.empty())
        html += ", " + UtcTime(data.runs.front(), kPageTime) + " to " +
                UtcTime(data.runs.back(), kPageTime);
    if (minimumBids) html += "; the search keeps " + std::to_string(*minimumBids) + " bids or more";
    html +=
        ".</p></header>\n<div class=\"row head\"><span>Listing</span><span>Price</span>"
        "<span>State</span><span>Bids</span><span>Bids over the runs</span></div>\n<ol>\n";
    for (std::size_t i = 0; i < data.listings.size(); ++i) {
        const ListingHistory& listing = data.listings[i];
        html += "<li class=\"row ";
        html += StateClass(listing.state);
        html += "\"><span class=\"title\">";
        const std::string title = EscapeHtml(listing.title);
        if (const auto link = WebLink(listing.link))
            html += "<a href=\"" + EscapeHtml(*link) + "\" rel=\"noreferrer noopener\">" + title +
                    "</a>";
        else
            html += title;
        html += "</span><span class=\"price\">" + EscapeHtml(listing.price) +
                "</span><span class=\"state\">" + StateName(listing.state) +
                "</span><span class=\"bids\">" + std::to_string(listing.bids);
        if (listing.bidsBefore)
            html += " <small>from " + std::to_string(*listing.bidsBefore) + "</small>";
        html += "</span><span class=\"chart\">";
        AppendChart(html, data.bids[i], data.runs.size(), minimumBids);
        html += "</span></li>\n";
    }
    html += "</ol>\n</main>\n</body>\n</html>\n";
    return html;
}

std::string UtcTime(std::int64_t secondsSinceEpoch, const char* format) {
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[64];
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

}  // namespace vendra
