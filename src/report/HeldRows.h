#pragma once

#include <cstdint>
#include <vector>

#include "platform/TextFiles.h"
#include "report/ResultsPageWriter.h"

namespace vendra {

// Rows of the results page that must wait for rows with more bids. Only where each row lies in
// the listing file is held (16 bytes a row), never its text, so a listing file of any size fits;
// the rows are copied from the file once the whole file has been read.
class HeldRows {
public:
    void hold(std::int16_t bids, std::uint64_t offset, std::uint64_t length);

    // Copies every held row from `listing` to `page`: most bids first, file order within a count.
    void copy(LineReader& listing, ResultsPageWriter& page);

    std::size_t size() const { return rows_.size(); }

private:
    struct Row {
        // Bids (inverted, so that more bids sort first) in the top 16 bits, the row's offset in
        // the rest: sorting on it alone gives the page's order.
        std::uint64_t key;
        std::uint64_t length;
    };

    std::vector<Row> rows_;
};

}  // namespace vendra
