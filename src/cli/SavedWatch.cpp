#include "cli/SavedWatch.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "history/HistoryPage.h"
#include "history/ListingStates.h"
#include "report/DataFile.h"
#include "text/NumberReading.h"

namespace vendra {
namespace {

RunEnd EndOf(const ConsoleSearch::Ended& ended) {
    if (ended.status == kExitStopped) return RunEnd::Stopped;
    if (ended.status != kExitResultsWritten) return RunEnd::NoResults;
    const SearchOutcome& outcome = ended.outcome;
    if (ended.cutShort || outcome.lostPages.count > 0 || outcome.lostBlocks.count > 0)
        return RunEnd::Incomplete;
    return RunEnd::Finished;
}

// Text from the site's rows for a terminal: control characters as blanks, at most `width`
// characters (a cut one ends in "..."), padded to `width` when `pad`.
std::string Cell(std::string_view text, std::size_t width, bool pad) {
    std::string cell;
    std::size_t shown = 0, cutAt = 0, shownAtCut = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
        length = std::min(length, text.size() - i);
        if (shown == width - 3) cutAt = cell.size(), shownAtCut = shown;
        if (shown == width) {
            cell.resize(cutAt);
            cell += "...";
            shown = shownAtCut + 3;
            break;
        }
        if (byte < 0x20 || byte == 0x7f)
            cell += ' ';
        else
            cell.append(text.substr(i, length));
        ++shown;
        i += length;
    }
    if (pad && shown < width) cell.append(width - shown, ' ');
    return cell;
}

std::string Right(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

SavedSearches ReadSavedSearches(std::string_view text, const std::string& path) {
    const SearchesFile file = ReadSearchesFile(text, path);
    std::vector<FileFault> faults = file.faults;
    SavedSearches saved;
    saved.searches = SavedSearchRequests(file, faults);
    std::stable_sort(faults.begin(), faults.end(), [](const FileFault& a, const FileFault& b) {
        return std::tie(a.place.line, a.place.column) < std::tie(b.place.line, b.place.column);
    });
    for (const FileFault& fault : faults) saved.faults.push_back(FaultLine(path, fault));
    return saved;
}

SavedSearches ReadSavedSearchesFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {{}, {path + ": cannot be read: " + std::strerror(errno)}};
    std::ostringstream text;
    text << file.rdbuf();
    return ReadSavedSearches(text.str(), path);
}

SavedSearches Chosen(const SavedSearches& saved, const std::vector<std::string>& names) {
    if (names.empty()) return saved;
    SavedSearches chosen;
    for (const std::string& name : names) {
        const auto found =
            std::find_if(saved.searches.begin(), saved.searches.end(),
                         [&](const NamedSearch& search) { return search.name == name; });
        if (found == saved.searches.end())
            chosen.faults.push_back("no saved search is named \"" + Cell(name, 40, false) + "\"");
        else
            chosen.searches.push_back(*found);
    }
    return chosen;
}

SavedWatch::SavedWatch(ConsoleSearch& search, HistoryStore& history, std::ostream& out,
                       std::ostream& err, std::function<std::string(const std::string&)> folderOf,
                       Clock now)
    : search_(search),
      history_(history),
      out_(out),
      err_(err),
      folderOf_(std::move(folderOf)),
      now_(std::move(now)) {}

int SavedWatch::runOnce(const std::vector<NamedSearch>& searches) {
    int status = kExitResultsWritten;
    for (const NamedSearch& saved : searches) {
        RunRecord run{saved.name, now_(), 0, RunEnd::NoResults, 0, {}};
        const ConsoleSearch::Ended ended = search_.runIn(saved.search, folderOf_(saved.name), true);
        if (ended.status == kExitStopped && !recordStopped_) return kExitStopped;
        run.ended = now_();
        run.end = EndOf(ended);
        run.lostPages = ended.outcome.lostPages.count;
        for (const ListingRow& row : ended.outcome.rows)
            run.listings.push_back({row.link, row.title, row.price, row.ends, row.bids});
        RunCounts counts;
        bool recorded = true;
        try {
            counts = RecordRun(history_, run);
            if (saved.notify && counts.fresh + counts.heatingUp > 0)
                tell(saved, counts, ended.outcome.resultsPage);
        } catch (const HistoryError& error) {
            err_ << error.what() << "; the run of " << saved.name << " is not recorded."
                 << std::endl;
            recorded = false;
        }
        if (ended.status == kExitResultsWritten) {
            out_ << saved.name << ": " << run.listings.size() << " listings, ";
            if (recorded)
                out_ << counts.fresh << " new, " << counts.heatingUp << " heating up, ";
            else
                out_ << "not recorded, ";
            out_ << ended.outcome.resultsPage << std::endl;
        } else {
            out_ << saved.name << ": no results page" << std::endl;
        }
        if (ended.status == kExitStopped) return kExitStopped;
        if (ended.status != kExitResultsWritten || !recorded) status = kExitNoResults;
    }
    return status;
}

void SavedWatch::notifyThrough(Notifier& notifier, Shell& shell) {
    notifier_ = &notifier;
    shell_ = &shell;
    notifier.onAction([this](std::uint32_t id) {
        if (const auto page = pageOf_.find(id); page != pageOf_.end()) shell_->open(page->second);
    });
}

void SavedWatch::tell(const NamedSearch& saved, const RunCounts& counts, const std::string& page) {
    if (!notifier_) return;
    const NewsNotice notice = NoticeOf(saved.name, counts);
    std::string why;
    const auto before = shown_.find(saved.name);
    const std::uint32_t replaces = before == shown_.end() ? 0 : before->second;
    const std::uint32_t id = notifier_->show(notice.summary, notice.body, replaces, why);
    if (id == 0) {
        if (!saidNoNotifier_) err_ << "vendra: no desktop notification: " << why << std::endl;
        saidNoNotifier_ = true;
        return;
    }
    if (replaces != 0) pageOf_.erase(replaces);
    shown_[saved.name] = id;
    pageOf_[id] = page;
}

NewsNotice NoticeOf(const std::string& name, const RunCounts& counts) {
    // (Appended piece by piece: GCC 12 at -O3 warns of literal-plus-string chains.)
    NewsNotice notice{name + ":", {}};
    if (counts.fresh > 0)
        notice.summary.append(" ").append(std::to_string(counts.fresh)).append(" new");
    if (counts.fresh > 0 && counts.heatingUp > 0) notice.summary += ",";
    if (counts.heatingUp > 0)
        notice.summary.append(" ").append(std::to_string(counts.heatingUp)).append(" heating up");
    for (const ListingHistory& listing : counts.news) {
        if (!notice.body.empty()) notice.body += '\n';
        notice.body += Cell(listing.title, 60, false) + " (" + std::to_string(listing.bids) +
                       (listing.bids == 1 ? " bid, " : " bids, ") + Cell(listing.price, 20, false) +
                       ")";
    }
    const std::uint64_t more = counts.fresh + counts.heatingUp - counts.news.size();
    if (more > 0) notice.body.append("\nand ").append(std::to_string(more)).append(" more");
    return notice;
}

std::string IsoTime(std::int64_t secondsSinceEpoch) {
    return UtcTime(secondsSinceEpoch, "%Y-%m-%dT%H:%M:%SZ");
}

int ShowHistory(HistoryStore& history, const std::string& name, const std::string& dataFile,
                TextFiles& files, std::ostream& out, std::ostream& err) {
    SearchHistory told;
    try {
        told = TellHistory(history, name);
    } catch (const HistoryError& error) {
        err << error.what() << std::endl;
        return kExitNoResults;
    }
    if (!told.anyResults) {
        err << "The history holds no run of " << Cell(name, 40, false)
            << " that wrote a results page." << std::endl;
        return kExitNoResults;
    }
    if (const auto format = DataFormatOf(dataFile)) {
        try {
            DataFileWriter data(files, dataFile, *format,
                                {"link", "title", "price", "ends", "bids", "bids_before",
                                 "first_seen", "last_seen", "state"});
            for (const ListingHistory& listing : told.listings)
                data.add({DataValue::Of(listing.link), DataValue::Of(listing.title),
                          DataValue::Of(listing.price), DataValue::Of(listing.ends),
                          DataValue::Of(std::int64_t{listing.bids}),
                          listing.bidsBefore ? DataValue::Of(std::int64_t{*listing.bidsBefore})
                                             : DataValue{},
                          DataValue::Of(IsoTime(listing.firstSeen)),
                          DataValue::Of(IsoTime(listing.lastSeen)),
                          DataValue::Of(std::string(StateName(listing.state)))});
            data.finish();
        } catch (const FileError& error) {
            err << "The data file could not be written: " << error.what() << std::endl;
            return kExitNoResults;
        }
        return kExitResultsWritten;
    }
    // 10 + 1 + 5 + 1 + 6 + 2 + 9 + 2 + 11 + 2 + 30 = 79 columns.
    out << "STATE       BIDS BEFORE  PRICE      ENDS         TITLE\n";
    for (const ListingHistory& listing : told.listings) {
        out << Cell(StateName(listing.state), 10, true) << ' '
            << Right(std::to_string(listing.bids), 5) << ' '
            << Right(listing.bidsBefore ? std::to_string(*listing.bidsBefore) : "-", 6) << "  "
            << Cell(listing.price, 9, true) << "  " << Cell(listing.ends, 11, true) << "  "
            << Cell(listing.title, 30, false) << '\n';
    }
    out.flush();
    return kExitResultsWritten;
}

int WriteHistoryPage(HistoryStore& history, const std::string& name, std::optional<int> minimumBids,
                     const std::string& htmlFile, TextFiles& files, Shell* shell,
                     std::ostream& err) {
    HistoryPageData data;
    try {
        data = ReadHistoryPage(history, name);
    } catch (const HistoryError& error) {
        err << error.what() << std::endl;
        return kExitNoResults;
    }
    if (data.runs.empty()) {
        err << "The history holds no run of " << Cell(name, 40, false)
            << " that wrote a results page." << std::endl;
        return kExitNoResults;
    }
    try {
        const std::unique_ptr<TextWriter> page = files.createInPlaceOf(htmlFile);
        page->write(HistoryPageHtml(data, minimumBids));
        page->close();
    } catch (const FileError& error) {
        err << "The history page could not be written: " << error.what() << std::endl;
        return kExitNoResults;
    }
    if (shell) shell->open(htmlFile);
    return kExitResultsWritten;
}

std::optional<int> MinimumBidsOf(const SavedSearches& saved, const std::string& name) {
    for (const NamedSearch& search : saved.searches) {
        if (search.name != name) continue;
        const NumberReading minimum =
            ReadNumber(search.search.minimumBids, NumberWidth::Int16, NumberSeparators{"", ""});
        if (minimum.ok()) return minimum.value;
    }
    return std::nullopt;
}

}  // namespace vendra
