#include "report/ResultsWriter.h"

#include <exception>

#include "report/ResultsPage.h"
#include "text/NumberReading.h"

namespace vendra {
namespace {

// The page's rows, handed on to the other consumer as they are written.
class PageRows : public KeptRowSink {
  public:
    PageRows(ResultsPage& page, KeptRowSink* alsoTo) : page_(page), alsoTo_(alsoTo) {}
    void keptRow(std::string_view line, std::int16_t bids) override {
        page_.writeRow(line);
        if (alsoTo_) alsoTo_->keptRow(line, bids);
    }

  private:
    ResultsPage& page_;
    KeptRowSink* alsoTo_;
};

}  // namespace

ResultsOutcome WriteResults(TextFiles& files, const std::string& listingFile,
                            const std::string& resultsPage, std::string_view minimumText,
                            std::int16_t highest, SearchKind kind,
                            const NumberSeparators& separators, KeptRowSink* alsoTo) {
    try {
        ResultsPage page(files, resultsPage);
        page.writeHead();
        const NumberReading minimum = ReadNumber(minimumText, NumberWidth::Int16, separators);
        if (!minimum.ok()) return ResultsOutcome::Failed;
        if (minimum.value <= highest) {
            PageRows rows(page, alsoTo);
            const auto listing = files.openForReading(listingFile);
            if (!ReadKeptRows(*listing, static_cast<std::int16_t>(minimum.value), highest, kind,
                              separators, rows))
                return ResultsOutcome::Failed;
        }
        page.finish();
        return ResultsOutcome::Written;
    } catch (const FileError& error) {
        return error.kind() == FileError::Kind::NotFound ? ResultsOutcome::NoListingFile
                                                         : ResultsOutcome::Failed;
    } catch (const std::exception&) {
        return ResultsOutcome::Failed;
    }
}

}  // namespace vendra
