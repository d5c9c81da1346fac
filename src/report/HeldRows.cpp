#include "report/HeldRows.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace vendra {
namespace {

constexpr int kOffsetBits = 48;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;

// Fills a band from the listing file, given the pieces it needs in file order. Pieces that follow
// each other both in the file and in the band (rows of one bid count side by side in the file)
// are read as one.
class BandFiller {
  public:
    BandFiller(LineReader& listing, char* band) : listing_(listing), band_(band) {}

    void add(std::uint64_t offset, std::uint64_t length, std::uint64_t at) {
        if (length_ > 0 && offset == offset_ + length_ && at == at_ + length_) {
            length_ += length;
            return;
        }
        flush();
        offset_ = offset;
        length_ = length;
        at_ = at;
    }

    void flush() {
        if (length_ > 0) listing_.readAt(offset_, std::span<char>(band_ + at_, length_));
        length_ = 0;
    }

  private:
    LineReader& listing_;
    char* band_;
    std::uint64_t offset_ = 0;
    std::uint64_t length_ = 0;
    std::uint64_t at_ = 0;
};

}  // namespace

HeldRows::HeldRows(int highest, int lowest, std::size_t bandBytes)
    : highest_(highest),
      bandBytes_(std::max<std::size_t>(bandBytes, 1)),
      groupBytes_(static_cast<std::size_t>(std::max(highest - lowest + 1, 0))) {}

void HeldRows::hold(std::int16_t bids, std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return;  // an empty row adds nothing to the page
    if (offset > kOffsetMask)
        throw FileError(FileError::Kind::Access, "listing file too large to sort");
    const auto group = static_cast<std::uint64_t>(highest_ - bids);
    rows_.push_back(Row{(group << kOffsetBits) | offset, length});
    groupBytes_[group] += length;
}

void HeldRows::copy(LineReader& listing,
                    const std::function<void(std::string_view, std::int16_t)>& write) {
    // Where each group begins within the held part of the page.
    std::vector<std::uint64_t> groupStart(groupBytes_.size());
    std::uint64_t total = 0;
    for (std::size_t group = 0; group < groupBytes_.size(); ++group) {
        groupStart[group] = total;
        total += groupBytes_[group];
    }
    if (total == 0) return;
    if (rows_.size() > std::numeric_limits<std::uint32_t>::max())
        throw FileError(FileError::Kind::Access, "listing file has too many rows to sort");

    // The rows in the page's order: by group, file order within one (a stable counting sort).
    std::vector<std::uint32_t> pageOrder(rows_.size());
    {
        std::vector<std::uint64_t> slot(groupBytes_.size());
        for (const Row& row : rows_) ++slot[row.groupAndOffset >> kOffsetBits];
        std::uint64_t at = 0;
        for (std::uint64_t& count : slot) at += std::exchange(count, at);
        for (std::size_t i = 0; i < rows_.size(); ++i)
            pageOrder[slot[rows_[i].groupAndOffset >> kOffsetBits]++] =
                static_cast<std::uint32_t>(i);
    }

    const auto bandSize = static_cast<std::size_t>(std::min<std::uint64_t>(bandBytes_, total));
    const auto band = std::make_unique_for_overwrite<char[]>(bandSize);
    std::vector<std::uint64_t> next(groupStart.size());
    std::size_t nextRow = 0;         // in page order: the first row not yet handed on
    std::uint64_t nextRowStart = 0;  // where it begins in the held part of the page
    std::string carried;             // the pieces of a row that spans bands
    for (std::uint64_t bandStart = 0; bandStart < total; bandStart += bandSize) {
        const std::uint64_t bandEnd = std::min(total, bandStart + bandSize);
        BandFiller filler(listing, band.get());
        // Walking the rows in file order places each one after the rows of its group before it,
        // and reads the file front to back.
        next = groupStart;
        for (const Row& row : rows_) {
            const std::uint64_t rowStart = next[row.groupAndOffset >> kOffsetBits];
            const std::uint64_t rowEnd = rowStart + row.length;
            next[row.groupAndOffset >> kOffsetBits] = rowEnd;
            if (rowEnd <= bandStart || rowStart >= bandEnd) continue;
            const std::uint64_t from = std::max(rowStart, bandStart);
            const std::uint64_t to = std::min(rowEnd, bandEnd);
            filler.add((row.groupAndOffset & kOffsetMask) + (from - rowStart), to - from,
                       from - bandStart);
        }
        filler.flush();

        while (nextRow < pageOrder.size()) {
            const Row& row = rows_[pageOrder[nextRow]];
            const auto bids = static_cast<std::int16_t>(
                highest_ - static_cast<int>(row.groupAndOffset >> kOffsetBits));
            const std::uint64_t rowEnd = nextRowStart + row.length;
            const std::uint64_t from = std::max(nextRowStart, bandStart);
            const std::string_view piece(
                band.get() + (from - bandStart),
                static_cast<std::size_t>(std::min(rowEnd, bandEnd) - from));
            if (rowEnd > bandEnd) {  // the rest of it is in the next band
                carried.append(piece);
                break;
            }
            if (carried.empty()) {
                write(piece, bids);
            } else {
                carried.append(piece);
                write(carried, bids);
                carried.clear();
            }
            nextRowStart = rowEnd;
            ++nextRow;
        }
    }
}

}  // namespace vendra
