#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/TextFiles.h"

namespace vendra {

// Rows of the results page that must wait for rows with more bids. While the listing file is
// read only where each row lies is held (20 bytes a row), never its text. Once the file has been
// read the page's part made of these rows is put together a band of at most `bandBytes` at a
// time: each band is filled from the listing file in file order, with few large reads, and then
// handed on row by row. So memory stays bounded whatever the size of the file.
class HeldRows {
  public:
    static constexpr std::size_t kBandBytes = std::size_t{64} << 20;

    // Rows whose bid count lies from `lowest` to `highest` can be held; none when `highest` is
    // below `lowest`.
    HeldRows(int highest, int lowest, std::size_t bandBytes = kBandBytes);

    void hold(std::int16_t bids, std::uint64_t offset, std::uint64_t length);

    // Hands every held row, read from `listing`, to `write` with its bid count: most bids first,
    // file order within one count.
    void copy(LineReader& listing,
              const std::function<void(std::string_view row, std::int16_t bids)>& write);

  private:
    struct Row {
        // The row's group (highest - bids) in the top 16 bits, its offset in the rest.
        std::uint64_t groupAndOffset;
        std::uint64_t length;
    };

    int highest_;
    std::size_t bandBytes_;
    std::vector<Row> rows_;                  // in file order
    std::vector<std::uint64_t> groupBytes_;  // bytes held per group, most bids first
};

}  // namespace vendra
