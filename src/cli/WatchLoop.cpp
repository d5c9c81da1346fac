#include "cli/WatchLoop.h"

#include <algorithm>

namespace vendra {

WatchSchedule::WatchSchedule(Jitter jitter) : jitter_(std::move(jitter)) {}

std::int64_t WatchSchedule::dueAfter(std::int64_t last, const NamedSearch& search,
                                     std::int64_t now) {
    const std::int64_t interval = std::int64_t{search.everyMinutes} * 60;
    const std::int64_t due = last + interval;
    if (due <= now) return due;  // overdue: at once
    return due + jitter_(interval / 10);
}

void WatchSchedule::watch(const std::vector<NamedSearch>& searches, HistoryStore& history,
                          std::int64_t now) {
    std::vector<Entry> entries;
    for (const NamedSearch& search : searches) {
        const auto known = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
            return e.search.name == search.name;
        });
        if (known != entries_.end() && known->search.everyMinutes == search.everyMinutes) {
            entries.push_back({search, known->due});
            continue;
        }
        std::int64_t last = 0;
        bool any = false;
        for (const RunSummary& run : history.runs(search.name))
            if (run.end != RunEnd::Stopped) last = std::max(last, run.ended), any = true;
        entries.push_back({search, any ? dueAfter(last, search, now) : 0});
    }
    entries_ = std::move(entries);
}

std::optional<WatchSchedule::Due> WatchSchedule::next() const {
    const auto first =
        std::min_element(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.due < b.due; });
    if (first == entries_.end()) return std::nullopt;
    return Due{first->search, first->due};
}

void WatchSchedule::ran(const std::string& name, std::int64_t endedAt) {
    for (Entry& entry : entries_)
        if (entry.search.name == name) entry.due = dueAfter(endedAt, entry.search, endedAt + 1);
}

WatchLoop::WatchLoop(SavedWatch& watch, HistoryStore& history, WatchSchedule& schedule, Seams seams,
                     std::ostream& err)
    : watch_(watch), history_(history), schedule_(schedule), seams_(std::move(seams)), err_(err) {}

void WatchLoop::take(const SavedSearches& saved, const std::vector<std::string>& names) {
    SavedSearches chosen = saved;
    if (chosen.faults.empty()) chosen = Chosen(saved, names);
    if (!chosen.faults.empty()) {
        // A bad edit keeps the searches watched so far; its faults are said once.
        if (chosen.faults != lastFaults_) {
            for (const std::string& fault : chosen.faults) err_ << "vendra: " << fault << "\n";
            err_ << "vendra: the searches file has faults; the watch goes on with the searches "
                    "it had"
                 << std::endl;
        }
        lastFaults_ = chosen.faults;
        return;
    }
    lastFaults_.clear();
    try {
        schedule_.watch(chosen.searches, history_, seams_.now());
        untimed_.reset();
    } catch (const HistoryError& error) {
        // Timed again at every look until the history answers; said once.
        if (!untimed_) err_ << "vendra: " << error.what() << std::endl;
        untimed_ = saved;
    }
}

int WatchLoop::run(SavedSearches saved, const std::vector<std::string>& names) {
    take(saved, names);
    while (!status_) {
        if (auto changed = seams_.reread())
            take(*changed, names);
        else if (untimed_)
            take(SavedSearches(*untimed_), names);
        const std::optional<WatchSchedule::Due> due = schedule_.next();
        const std::int64_t now = seams_.now();
        if (!due || due->at > now) {
            const std::int64_t until = now + kLookEvery;
            if (!seams_.waitUntil(due ? std::min(due->at, until) : until)) break;
            continue;
        }
        watch_.runOnce({due->search});
        if (status_) break;
        schedule_.ran(due->search.name, seams_.now());
    }
    return status_.value_or(0);
}

void WatchLoop::stop(int status) {
    if (!status_) status_ = status;
}

}  // namespace vendra
