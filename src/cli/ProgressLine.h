#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vendra {

// Where a stage of the search stands.
struct ProgressFigures {
    std::string stage;  // such as "Walking pages"
    std::int64_t done = 0;
    std::int64_t total = 0;  // 0 or less when not known
    std::string unit;        // "pages", "listings"
    std::chrono::milliseconds elapsed{0};
};

// The progress line for a terminal `width` columns wide: the stage, "12/40 pages" (the unit said
// once: "Searching pages 12/40" when the stage names it), a bar, the rate per second and the time
// left ("ETA 1:23", "ETA --:--" when not known), never more than width - 1 code points, so that the
// cursor never reaches the last column and the line never wraps. Where it does not fit the bar goes
// first, then the rate, then the time left; the stage is cut to make room. Colour, when allowed, is
// ANSI SGR only and takes no columns.
std::string RenderProgressLine(const ProgressFigures& progress, int width, bool colour);

// The line cut to `columns` code points; SGR sequences take none, and a line cut after one ends
// by resetting the colour.
std::string FitToColumns(std::string_view line, std::size_t columns);

}  // namespace vendra
