// Any listing file and minimum text, with the highest count the bid pass finds: the results page
// written in one read of the file is byte for byte the page of the plain writer that reads the
// file once per bid count, and the run is Written exactly when that writer got through; the bid
// pass finds the largest count of the file's lines (0 at least), or fails on the first line that
// cannot be read.
// Input: the minimum text (up to 16 bytes) and the listing file; numbers from the end pick the
// cell markup and the locale.
#include "FuzzInput.h"
#include "ReferenceWriter.h"
#include "platform/StdTextFiles.h"
#include "report/BidPass.h"
#include "report/BidReader.h"
#include "report/ResultsWriter.h"
#include "text/NumberReading.h"

using vendra::ResultsOutcome;

static const vendra::NumberSeparators kLocales[] = {{",", "."}, {".", ","}, {"\u00a0", ","}};
static const vendra::fuzz::ScratchFile listing("listing.txt"), page("page.htm"),
    plainPage("plain.htm");
struct BadLine {};

FUZZ_TARGET(in) {
    const auto kind = in.ConsumeBool() ? vendra::SearchKind::Keyword : vendra::SearchKind::Category;
    const vendra::NumberSeparators locale = in.PickValueInArray(kLocales);
    const std::string minimumText = in.ConsumeRandomLengthString(16);
    const std::string file = in.ConsumeRemainingBytesAsString();
    std::ofstream(listing.path, std::ios::binary) << file;
    const auto bidCount = [&](std::string_view line) {
        const vendra::BidReading reading = vendra::ReadBids(line, kind, locale);
        if (!reading.ok()) throw BadLine{};
        return reading.bids;
    };
    vendra::HighestBids want;
    try {
        for (const std::string_view line : vendra::fuzz::PlainLines(file))
            want.highest = std::max(want.highest, bidCount(line));
    } catch (const BadLine&) {
        want = {vendra::HighestBids::Status::Unreadable, 0};
    }
    vendra::StdTextFiles files;
    const auto pass = vendra::FindHighestBids(files, listing.path, kind, locale);
    FUZZ_CHECK(pass.status == want.status && pass.highest == want.highest);

    // A few counts at most from the minimum, so that one pass per count stays quick.
    const auto minimum = vendra::ReadNumber(minimumText, vendra::NumberWidth::Int16, locale);
    const auto highest = static_cast<std::int16_t>(std::min<int>(want.highest, minimum.value + 64));
    bool plainFailed = !minimum.ok();
    try {
        if (minimum.ok())
            vendra::reference::WritePageOnePassPerCount(
                files, listing.path, plainPage.path, highest,
                static_cast<std::int16_t>(minimum.value), bidCount);
    } catch (const BadLine&) {
        plainFailed = true;
    }
    const ResultsOutcome outcome =
        vendra::WriteResults(files, listing.path, page.path, minimumText, highest, kind, locale);
    FUZZ_CHECK(outcome == (plainFailed ? ResultsOutcome::Failed : ResultsOutcome::Written));
    FUZZ_CHECK(page.read() ==
               (minimum.ok() ? plainPage.read() : vendra::reference::ExpectedPageHead()));
}
