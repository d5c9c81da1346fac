// The history on SQLite at the size scripts/bench holds it to. `build FILE FLAT RUN` records
// 100 runs of 10,000 kept listings (1,000,000 observations; bids rise and listings come and
// go from run to run) into the history FILE, and writes the same observations as the CSV FLAT
// (run,link,title,price,ends,bids) and the next run's 10,000 rows as the CSV RUN in the same
// columns, for the sqlite3 shell's yardsticks. `record FILE RUN` records RUN
// as one more run and prints how many bytes the file grew per observation.

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/sqlite/SqliteHistory.h"

namespace {

constexpr int kRuns = 100;
constexpr int kListings = 10000;

vendra::KeptListing Listing(int run, int index) {
    const int item = run * 50 + index;  // 50 listings come and 50 go each run
    const int bids = 1 + item % 37 + (item % 3 == 0 ? run : 0);
    return {"http://cgi.ebay.com/aw-cgi/eBayISAPI.dll?ViewItem&item=" +
                std::to_string(100000000 + item),
            "Vintage first edition hardcover (category 267 page " + std::to_string(item / 40) +
                " row " + std::to_string(item % 40) + ")",
            "$" + std::to_string(10 + item % 490) + "." + std::to_string(10 + item % 89),
            std::to_string(1 + item % 12) + "/" + std::to_string(10 + item % 18) +
                " 10:" + std::to_string(10 + item % 50),
            bids};
}

std::string Csv(const vendra::KeptListing& l) {
    return l.link + "," + l.title + "," + l.price + "," + l.ends + "," + std::to_string(l.bids);
}

long long FileSize(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_size : 0;
}

}  // namespace

int main(int argc, char** argv) {
    using vendra::SqliteHistory;
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "build" && argc == 5) {
            std::remove(argv[2]);
            SqliteHistory history(argv[2], SqliteHistory::Open::CreateOrUpgrade);
            std::ofstream flat(argv[3]);
            for (int run = 1; run <= kRuns; ++run) {
                vendra::RunRecord record{"bench",
                                         1700000000 + run * 3600,
                                         1700000000 + run * 3600 + 60,
                                         vendra::RunEnd::Finished,
                                         0,
                                         {}};
                for (int index = 0; index < kListings; ++index) {
                    record.listings.push_back(Listing(run, index));
                    flat << run << ',' << Csv(record.listings.back()) << '\n';
                }
                history.record(record);
            }
            std::ofstream next(argv[4]);
            for (int index = 0; index < kListings; ++index)
                next << kRuns + 1 << ',' << Csv(Listing(kRuns + 1, index)) << '\n';
            return 0;
        }
        if (mode == "record" && argc == 4) {
            vendra::RunRecord record{"bench",
                                     1700000000 + (kRuns + 1) * 3600,
                                     1700000000 + (kRuns + 1) * 3600 + 60,
                                     vendra::RunEnd::Finished,
                                     0,
                                     {}};
            std::ifstream rows(argv[3]);
            for (std::string line; std::getline(rows, line);) {
                std::istringstream cells(line);
                vendra::KeptListing listing;
                std::string run, bids;
                std::getline(cells, run, ',');
                std::getline(cells, listing.link, ',');
                std::getline(cells, listing.title, ',');
                std::getline(cells, listing.price, ',');
                std::getline(cells, listing.ends, ',');
                std::getline(cells, bids, ',');
                listing.bids = std::stoi(bids);
                record.listings.push_back(std::move(listing));
            }
            const long long before = FileSize(argv[2]);
            {
                SqliteHistory history(argv[2], SqliteHistory::Open::CreateOrUpgrade);
                history.record(record);
            }  // the last connection's close moves the journal into the file
            std::cout << "bytes_per_observation="
                      << static_cast<double>(FileSize(argv[2]) - before) /
                             static_cast<double>(record.listings.size())
                      << "\n";
            return 0;
        }
    } catch (const vendra::HistoryError& error) {
        std::cerr << "history_bench: " << error.what() << "\n";
        return 1;
    }
    std::cerr << "usage: history_bench build FILE FLAT RUN | record FILE RUN\n";
    return 2;
}
