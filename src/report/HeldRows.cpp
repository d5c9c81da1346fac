#include "report/HeldRows.h"

#include <algorithm>
#include <array>

#include "platform/TextFiles.h"

namespace vendra {
namespace {

constexpr int kOffsetBits = 48;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;

}  // namespace

void HeldRows::hold(std::int16_t bids, std::uint64_t offset, std::uint64_t length) {
    if (offset > kOffsetMask)
        throw FileError(FileError::Kind::Access, "listing file too large to sort");
    const auto inverted = static_cast<std::uint64_t>(32767 - static_cast<int>(bids));
    rows_.push_back(Row{(inverted << kOffsetBits) | offset, length});
}

void HeldRows::copy(LineReader& listing, ResultsPageWriter& page) {
    std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
    std::array<char, 1 << 16> buffer;
    for (const Row& row : rows_) {
        std::uint64_t offset = row.key & kOffsetMask;
        std::uint64_t left = row.length;
        // A row longer than the buffer goes over in pieces.
        while (left > 0) {
            const std::size_t piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            listing.readAt(offset, std::span<char>(buffer.data(), piece));
            page.writeRow(std::string_view(buffer.data(), piece));
            offset += piece;
            left -= piece;
        }
    }
}

}  // namespace vendra
