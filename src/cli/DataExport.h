#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextFiles.h"
#include "report/EarlierRun.h"
#include "report/ListingRow.h"

namespace vendra {

// What the command line does with a finished search's listings besides the results page: writes
// them to a data file (--data), and tells which are new since an earlier run's file (--since).
class DataExport {
  public:
    // `dataFile` empty: no data file. `earlier`: the links of the earlier run's file, if given.
    DataExport(TextFiles& files, std::string dataFile, std::optional<EarlierLinks> earlier);

    // Whether the search should keep its listings for this.
    bool wanted() const { return !dataFile_.empty() || earlier_.has_value(); }
    // The listings of the results page, in its order.
    void write(const std::vector<ListingRow>& rows);

    // The listings of the results page, and how many of them the earlier file lacked.
    std::uint64_t listings() const { return listings_; }
    std::uint64_t fresh() const { return fresh_; }
    // Why the data file could not be written; empty when it was, or when none was asked for.
    const std::string& failure() const { return failure_; }

  private:
    TextFiles& files_;
    std::string dataFile_;
    std::optional<EarlierLinks> earlier_;
    std::uint64_t listings_ = 0;
    std::uint64_t fresh_ = 0;
    std::string failure_;
};

}  // namespace vendra
