#include "report/HeldRows.h"

#include <algorithm>
#include <memory>
#include <span>

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

void HeldRows::copy(LineReader& listing, const std::function<void(std::string_view)>& write) {
    // Where each group begins within the held part of the page.
    std::vector<std::uint64_t> groupStart(groupBytes_.size());
    std::uint64_t total = 0;
    for (std::size_t group = 0; group < groupBytes_.size(); ++group) {
        groupStart[group] = total;
        total += groupBytes_[group];
    }
    if (total == 0) return;

    const auto bandSize = static_cast<std::size_t>(std::min<std::uint64_t>(bandBytes_, total));
    const auto band = std::make_unique_for_overwrite<char[]>(bandSize);
    std::vector<std::uint64_t> next(groupStart.size());
    for (std::uint64_t bandStart = 0; bandStart < total; bandStart += bandSize) {
        const std::uint64_t bandEnd = std::min(total, bandStart + bandSize);
        BandFiller filler(listing, band.get());
        // Walking the rows in file order places each one after the rows of its group before it.
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
        write(std::string_view(band.get(), static_cast<std::size_t>(bandEnd - bandStart)));
    }
}

}  // namespace vendra
