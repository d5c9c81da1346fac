// Any listing file, minimum text and highest count: the results page written in one read of the
// file is byte for byte the page of the plain writer that reads the file once per bid count, and
// the run is Written exactly when that writer got through; the bid pass finds the largest count
// of the file's lines (0 at least), or fails on the first line that cannot be read.
// Input: a byte that picks the cell markup, the locale and whether the highest count is the one
// the bid pass finds; a 16-bit highest count; the minimum text's length (mod 16) and the text;
// then the listing file.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/StdTextFiles.h"
#include "report/BidPass.h"
#include "report/BidReader.h"
#include "report/ResultsWriter.h"
#include "support/ReferenceWriter.h"
#include "text/NumberReading.h"

namespace {

using vendra::HighestBids;
using vendra::ResultsOutcome;

const vendra::NumberSeparators kLocales[] = {{",", "."}, {".", ","}, {"\u00a0", ","}};
std::string listingPath, pagePath, referencePath;

void Check(bool holds, const char* what, int got, int want) {
    if (holds) return;
    std::fprintf(stderr, "%s: got %d, want %d\n", what, got, want);
    std::abort();
}

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

struct BadLine {};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string base = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                             "/vendra-results-fuzz-" + std::to_string(::getpid());
    listingPath = base + ".txt", pagePath = base + ".htm", referencePath = base + "-plain.htm";
    std::atexit([] {
        for (const std::string* path : {&listingPath, &pagePath, &referencePath})
            std::remove(path->c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || 4u + data[3] % 16 > size) return 0;
    const auto kind = data[0] % 2 ? vendra::SearchKind::Keyword : vendra::SearchKind::Category;
    const vendra::NumberSeparators& locale = kLocales[data[0] / 2 % std::size(kLocales)];
    const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
    const std::string minimumText = text.substr(0, data[3] % 16), file = text.substr(data[3] % 16);
    vendra::StdTextFiles files;
    const auto listing = files.create(listingPath);
    listing->write(file);
    listing->close();

    const auto bidCount = [&](const std::string& line) {
        const vendra::BidReading reading = vendra::ReadBids(line, kind, locale);
        if (!reading.ok()) throw BadLine{};
        return reading.bids;
    };
    // The bid pass against the largest count over lines cut at each CR or CR LF.
    std::int16_t found = 0;
    bool readable = true;
    for (std::string_view rest = file; readable && !rest.empty();) {
        const std::size_t end = std::min(rest.find('\r'), rest.size());
        try {
            found = std::max(found, bidCount(std::string(rest.substr(0, end))));
        } catch (const BadLine&) {
            readable = false;
        }
        rest.remove_prefix(std::min(rest.size(), end + 1 + (rest.substr(end).starts_with("\r\n"))));
    }
    const HighestBids pass = vendra::FindHighestBids(files, listingPath, kind, locale);
    const auto want = readable ? HighestBids::Status::Found : HighestBids::Status::Unreadable;
    Check(pass.status == want, "bid pass status", static_cast<int>(pass.status),
          static_cast<int>(want));
    Check(pass.highest == (readable ? found : 0), "highest count", pass.highest, found);

    // A few counts at most between the minimum and the highest, so that the plain writer's one
    // pass per count stays quick.
    auto highest = static_cast<std::int16_t>(data[0] & 0x80 ? found : data[1] << 8 | data[2]);
    const vendra::NumberReading minimum =
        vendra::ReadNumber(minimumText, vendra::NumberWidth::Int16, locale);
    bool plainFailed = !minimum.ok();
    if (minimum.ok()) {
        highest = static_cast<std::int16_t>(std::min<int>(highest, minimum.value + 64));
        try {
            vendra::test::WritePageOnePassPerCount(files, listingPath, referencePath, highest,
                                                   static_cast<std::int16_t>(minimum.value),
                                                   bidCount);
        } catch (const BadLine&) {
            plainFailed = true;
        }
    }
    const std::string plainPage =
        minimum.ok() ? Read(referencePath) : vendra::test::ExpectedPageHead();
    const ResultsOutcome outcome =
        vendra::WriteResults(files, listingPath, pagePath, minimumText, highest, kind, locale);
    const ResultsOutcome expected = plainFailed ? ResultsOutcome::Failed : ResultsOutcome::Written;
    Check(outcome == expected, "outcome", static_cast<int>(outcome), static_cast<int>(expected));
    const std::string page = Read(pagePath);
    Check(page == plainPage, "page bytes differ at",
          static_cast<int>(
              std::mismatch(page.begin(), page.end(), plainPage.begin(), plainPage.end()).first -
              page.begin()),
          -1);
    return 0;
}
