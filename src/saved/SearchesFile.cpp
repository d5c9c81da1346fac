#include "saved/SearchesFile.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vendra {
namespace {

constexpr std::uint32_t kShortestInterval = 5;  // minutes

FilePlace PlaceOf(const toml::source_region& region) {
    return {region.begin.line, region.begin.column};
}

bool IsName(std::string_view name) {
    if (name.empty()) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_';
    });
}

// The text quoted in a message stays on one line.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) quoted += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    return quoted + "\"";
}

// "30m", "2h", "1d" in minutes; 0 when the text is not such a time.
std::uint32_t IntervalMinutes(std::string_view text) {
    if (text.size() < 2 || text.size() > 7) return 0;
    std::uint32_t count = 0;
    const char* digitsEnd = text.data() + text.size() - 1;
    const auto [end, problem] = std::from_chars(text.data(), digitsEnd, count);
    if (problem != std::errc() || end != digitsEnd) return 0;
    switch (text.back()) {
        case 'm':
            return count;
        case 'h':
            return count * 60;
        case 'd':
            return count * 24 * 60;
        default:
            return 0;
    }
}

SavedSetting SettingOf(const toml::key& key, const toml::node& value) {
    SavedSetting setting{
        std::string(key.str()), SavedSetting::Kind::Other, {}, PlaceOf(key.source())};
    if (const auto* text = value.as_string()) {
        setting.kind = SavedSetting::Kind::Text;
        setting.value = text->get();
    } else if (const auto* integer = value.as_integer()) {
        setting.kind = SavedSetting::Kind::Integer;
        setting.value = std::to_string(integer->get());
    } else if (const auto* real = value.as_floating_point()) {
        setting.kind = SavedSetting::Kind::Float;
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.15g", real->get());
        setting.value = digits;
    } else if (const auto* boolean = value.as_boolean()) {
        setting.kind = SavedSetting::Kind::Boolean;
        setting.value = boolean->get() ? "true" : "false";
    }
    return setting;
}

void ReadEvery(const toml::key& key, const toml::node& value, SavedSearch& search,
               std::vector<FileFault>& faults) {
    const FilePlace place = PlaceOf(key.source());
    const auto* text = value.as_string();
    if (!text) {
        faults.push_back({place, "every takes a time such as \"30m\", \"2h\" or \"1d\""});
        return;
    }
    const std::uint32_t minutes = IntervalMinutes(text->get());
    if (minutes == 0)
        faults.push_back({place, "every takes a time such as \"30m\", \"2h\" or \"1d\", not " +
                                     Quoted(text->get())});
    else if (minutes < kShortestInterval)
        faults.push_back({place, "every must be at least 5 minutes, not " + Quoted(text->get())});
    else
        search.everyMinutes = minutes;
}

}  // namespace

SearchesFile ReadSearchesFile(std::string_view text, const std::string& path) {
    SearchesFile file;
    toml::table document;
    try {
        document = toml::parse(text, path);
    } catch (const toml::parse_error& error) {
        file.faults.push_back(
            {PlaceOf(error.source()), "not TOML: " + std::string(error.description())});
        return file;
    }
    for (auto&& [name, node] : document) {
        const toml::table* table = node.as_table();
        if (!table) {
            file.faults.push_back({PlaceOf(name.source()),
                                   Quoted(name.str()) + " is not a saved search: give it as [" +
                                       std::string(name.str()) + "]"});
            continue;
        }
        SavedSearch search{std::string(name.str()), PlaceOf(name.source()), {}, 60};
        if (!IsName(name.str()))
            file.faults.push_back(
                {search.place, "a saved search's name is letters, digits, - and _ only, not " +
                                   Quoted(name.str())});
        for (auto&& [key, value] : *table) {
            if (key.str() == "every")
                ReadEvery(key, value, search, file.faults);
            else if (key.str() != "notify")
                search.settings.push_back(SettingOf(key, value));
            else if (const auto* notify = value.as_boolean())
                search.notify = notify->get();
            else
                file.faults.push_back({PlaceOf(key.source()), "notify takes true or false"});
        }
        // A table keeps its keys sorted: the file's order is the order of their places.
        std::sort(search.settings.begin(), search.settings.end(),
                  [](const SavedSetting& a, const SavedSetting& b) {
                      return std::tie(a.place.line, a.place.column) <
                             std::tie(b.place.line, b.place.column);
                  });
        file.searches.push_back(std::move(search));
    }
    std::sort(
        file.searches.begin(), file.searches.end(), [](const SavedSearch& a, const SavedSearch& b) {
            return std::tie(a.place.line, a.place.column) < std::tie(b.place.line, b.place.column);
        });
    return file;
}

std::string FaultLine(const std::string& path, const FileFault& fault) {
    return path + ":" + std::to_string(fault.place.line) + ":" +
           std::to_string(fault.place.column) + ": " + fault.what;
}

}  // namespace vendra
