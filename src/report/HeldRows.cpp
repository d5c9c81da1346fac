#include "report/HeldRows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>

namespace vendra {
namespace {

constexpr int kOffsetBits = 48;
constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;

// Pieces of rows that lie close together in the listing file are read in one go through a
// window; a gap larger than kLargestGap costs more to read through than a read of its own.
constexpr std::size_t kWindowBytes = std::size_t{1} << 20;
constexpr std::uint64_t kLargestGap = std::uint64_t{16} << 10;
constexpr std::size_t kMostPiecesPerRead = 4096;

// Fills a band from the listing file, given the pieces it needs in file order.
class BandFiller {
public:
    BandFiller(LineReader& listing, char* band) : listing_(listing), band_(band) {}

    void add(std::uint64_t offset, std::uint64_t length, std::uint64_t at) {
        if (!pieces_.empty() &&
            (offset - end_ > kLargestGap || offset + length - start_ > kWindowBytes ||
             pieces_.size() == kMostPiecesPerRead))
            flush();
        if (pieces_.empty()) start_ = offset;
        end_ = offset + length;
        pieces_.push_back(Piece{offset, length, at});
    }

    void flush() {
        if (pieces_.size() == 1) {
            // Alone, or too long for the window: straight into the band.
            const Piece& piece = pieces_.front();
            listing_.readAt(piece.offset, std::span<char>(band_ + piece.at, piece.length));
        } else if (!pieces_.empty()) {
            if (!window_) window_ = std::make_unique_for_overwrite<char[]>(kWindowBytes);
            listing_.readAt(start_, std::span<char>(window_.get(), end_ - start_));
            for (const Piece& piece : pieces_)
                std::memcpy(band_ + piece.at, window_.get() + (piece.offset - start_),
                            piece.length);
        }
        pieces_.clear();
    }

private:
    struct Piece {
        std::uint64_t offset;
        std::uint64_t length;
        std::uint64_t at;
    };

    LineReader& listing_;
    char* band_;
    std::unique_ptr<char[]> window_;
    std::vector<Piece> pieces_;
    std::uint64_t start_ = 0;
    std::uint64_t end_ = 0;
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
