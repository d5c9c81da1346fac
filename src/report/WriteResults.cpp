#include "app/Failure.h"
#include "app/MainWindow.h"
#include "report/HeldRows.h"
#include "report/ResultsPageWriter.h"
#include "text/NumberReading.h"

namespace vendra {

void MainWindow::WriteResults(std::int16_t highest) {
    if (StopFlag) return;
    ShowStatus("Creating Output.......");

    ResultsPageWriter page(platform_.files, resultsPagePath());
    page.writeHead();

    const NumberReading minimum = ReadNumber(platform_.controls.text(Control::txtBids),
                                             NumberWidth::Int16, platform_.locale.separators());
    if (!minimum.ok())
        throw Failure(minimum.status == NumberReading::Status::Overflow
                          ? Failure::Kind::Overflow
                          : Failure::Kind::TypeMismatch,
                      "minimum number of bids is not a number");

    // One read of the listing file. Rows with the highest count come first on the page, so they
    // go straight to it; the others wait in HeldRows until the whole file has been read. A bad
    // line ends the run with exactly the rows before it that have the highest count on the page.
    if (minimum.value <= highest) {
        const auto listing = platform_.files.openForReading(listingFilePath());
        HeldRows held(highest - 1, minimum.value);
        while (!listing->atEnd()) {
            const std::uint64_t offset = listing->offset();
            const std::string line = listing->readLine();
            const std::int16_t bids = StripBid(line);
            if (bids == highest)
                page.writeRow(line);
            else if (bids < highest && bids >= minimum.value)
                held.hold(bids, offset, line.size());
        }
        held.copy(*listing, [&](std::string_view rows) { page.writeRow(rows); });
    }
    page.finish();

    platform_.shell.open(resultsPagePath());
    ShowStatus("Finished!!!");
    platform_.controls.setCaption(Control::Command1, "Begin New Search");
    platform_.files.remove(listingFilePath());
}

}  // namespace vendra
