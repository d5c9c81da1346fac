#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "text/Utf8.h"

namespace vendra {
namespace {

constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kGreen = "\x1b[32m";
constexpr std::string_view kReset = "\x1b[0m";
constexpr std::size_t kShortestBar = 10;  // inside the brackets
constexpr std::size_t kLongestBar = 40;
// A stage cut shorter than this no longer says which stage it is: the rate goes first.
constexpr std::size_t kShortestStage = 12;

// A status text may hold anything; a control character would break the line.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

std::string Rate(double perSecond) {
    if (perSecond <= 0) return "--/s";
    char text[32];
    std::snprintf(text, sizeof text, perSecond < 10 ? "%.1f/s" : "%.0f/s", perSecond);
    return text;
}

std::string TimeLeft(std::int64_t seconds) {
    if (seconds < 0 || seconds > 99 * 3600) return "ETA --:--";
    char text[32];
    const auto h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        std::snprintf(text, sizeof text, "ETA %lld:%02lld:%02lld", static_cast<long long>(h),
                      static_cast<long long>(m), static_cast<long long>(s));
    else
        std::snprintf(text, sizeof text, "ETA %lld:%02lld", static_cast<long long>(m),
                      static_cast<long long>(s));
    return text;
}

struct Pieces {
    // count: after the stage, without the unit when the stage names it ("Searching pages 3/8");
    // alone: with its unit, where the line has no room for the stage.
    std::string stage, count, alone, shortCount, rate, eta;
    std::int64_t done = 0, total = 0;  // total 0: not known
};

Pieces PiecesOf(const ProgressFigures& progress) {
    Pieces pieces;
    pieces.stage = OneLine(progress.stage);
    pieces.total = std::max<std::int64_t>(progress.total, 0);
    pieces.done = std::max<std::int64_t>(progress.done, 0);
    if (pieces.total > 0) pieces.done = std::min(pieces.done, pieces.total);
    const std::string unit = OneLine(progress.unit);
    pieces.shortCount = std::to_string(pieces.done);
    // Appended piece by piece: GCC 12 warns (-Wrestrict) of `"/" + std::string` at -O3.
    if (pieces.total > 0) pieces.shortCount.append("/").append(std::to_string(pieces.total));
    pieces.alone = pieces.shortCount;
    if (!unit.empty()) pieces.alone.append(" ").append(unit);
    // The stage's last word is the unit, as in "Searching pages".
    const std::size_t unitAt = pieces.stage.size() - std::min(pieces.stage.size(), unit.size());
    const bool stageNamesUnit = !unit.empty() && pieces.stage.ends_with(unit) &&
                                (unitAt == 0 || pieces.stage[unitAt - 1] == ' ');
    pieces.count = stageNamesUnit ? pieces.shortCount : pieces.alone;
    const double seconds = std::chrono::duration<double>(progress.elapsed).count();
    const double perSecond = seconds > 0 ? static_cast<double>(pieces.done) / seconds : 0;
    pieces.rate = Rate(perSecond);
    if (pieces.total > 0 && pieces.done == pieces.total)
        pieces.eta = TimeLeft(0);
    else if (pieces.total > 0 && perSecond > 0)
        pieces.eta = TimeLeft(static_cast<std::int64_t>(
            std::min(1e9, static_cast<double>(pieces.total - pieces.done) / perSecond + 0.999)));
    else
        pieces.eta = TimeLeft(-1);
    return pieces;
}

std::string Bar(const Pieces& pieces, std::size_t inside, bool colour) {
    const auto filled =
        static_cast<std::size_t>(static_cast<double>(pieces.done) /
                                 static_cast<double>(pieces.total) * static_cast<double>(inside));
    std::string bar = "[";
    if (colour && filled > 0) bar += kGreen;
    bar += std::string(filled, '#');
    if (colour && filled > 0) bar += kReset;
    return bar + std::string(inside - filled, '-') + "]";
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string line;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!line.empty()) line += ' ';
        line += part;
    }
    return line;
}

std::string Stage(const std::string& stage, bool colour) {
    if (!colour || stage.empty()) return stage;
    return std::string(kBold) + stage + std::string(kReset);
}

}  // namespace

std::string RenderProgressLine(const ProgressFigures& progress, int width, bool colour) {
    const std::size_t budget = width > 1 ? static_cast<std::size_t>(width) - 1 : 0;
    const Pieces p = PiecesOf(progress);
    const std::size_t stageLength = CodePointCount(p.stage);
    const auto length = [](const std::vector<std::string>& parts) {
        return CodePointCount(Joined(parts));
    };

    if (p.total > 0) {
        const std::size_t others = length({p.stage, p.count, p.rate, p.eta}) + 1;
        if (others + kShortestBar + 2 <= budget) {
            const std::size_t inside = std::min(budget - others - 2, kLongestBar);
            return Joined({Stage(p.stage, colour), p.count, Bar(p, inside, colour), p.rate, p.eta});
        }
    }
    for (const std::vector<std::string>& tail :
         {std::vector<std::string>{p.count, p.rate, p.eta},
          std::vector<std::string>{p.count, p.eta}, std::vector<std::string>{p.count}}) {
        const std::size_t tailLength = length(tail);
        if (stageLength == 0 && tailLength <= budget) return Joined(tail);
        if (tailLength + 1 > budget) continue;
        const std::size_t room = budget - tailLength - 1;
        if (room < std::min(stageLength, kShortestStage)) continue;
        std::vector<std::string> parts{Stage(std::string(FirstCodePoints(p.stage, room)), colour)};
        parts.insert(parts.end(), tail.begin(), tail.end());
        return Joined(parts);
    }
    if (CodePointCount(p.alone) <= budget) return p.alone;
    if (CodePointCount(p.shortCount) <= budget) return p.shortCount;
    return std::string(FirstCodePoints(p.stage, budget));
}

std::string FitToColumns(std::string_view line, std::size_t columns) {
    std::string fitted;
    std::size_t used = 0;
    bool coloured = false;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == '\x1b' && at + 1 < line.size() && line[at + 1] == '[') {
            std::size_t end = at + 2;
            while (end < line.size() && (line[end] < 0x40 || line[end] > 0x7E)) ++end;
            end = std::min(end + 1, line.size());
            fitted.append(line.substr(at, end - at));
            coloured = true;
            at = end;
            continue;
        }
        std::size_t next = at + 1;
        while (next < line.size() && (static_cast<unsigned char>(line[next]) & 0xC0) == 0x80)
            ++next;
        if (used == columns) {
            if (coloured) fitted += kReset;
            return fitted;
        }
        fitted.append(line.substr(at, next - at));
        ++used;
        at = next;
    }
    return fitted;
}

}  // namespace vendra
