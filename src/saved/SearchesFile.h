#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vendra {

// A place in the searches file, counted from 1 as editors count lines and columns.
struct FilePlace {
    std::uint32_t line = 0;
    std::uint32_t column = 0;
};

// A fault of the searches file at its place, in words.
struct FileFault {
    FilePlace place;
    std::string what;
};

// One key of a saved search as the file gives it: its value as the command line would have
// received it (a number in its decimal digits, true as "true"), and what kind of TOML value it was.
struct SavedSetting {
    enum class Kind { Text, Integer, Float, Boolean, Other };
    std::string key;
    Kind kind = Kind::Other;
    std::string value;
    FilePlace place;
};

// One table of the searches file: a saved search, its keys in the file's order, and how often it
// should run.
struct SavedSearch {
    std::string name;
    FilePlace place;
    std::vector<SavedSetting> settings;  // every key but `every` and `notify`
    std::uint32_t everyMinutes = 60;
    bool notify = true;  // a desktop notification after a run with news
};

// The saved searches in the file's order, and every fault found, in the file's order.
struct SearchesFile {
    std::vector<SavedSearch> searches;
    std::vector<FileFault> faults;
};

// Reads a searches file's text: a TOML document whose tables are the saved searches, named by
// their keys (letters, digits, '-' and '_'). Checks what is the file's own: the TOML itself, the
// names, that each entry is a table, `every` ("30m", "2h", "1d"; at least 5 minutes) and
// `notify` (true or false). What
// the other keys mean is the command line's vocabulary, which its reader applies.
SearchesFile ReadSearchesFile(std::string_view text, const std::string& path);

// How a fault is told: "FILE:LINE:COLUMN: what is wrong".
std::string FaultLine(const std::string& path, const FileFault& fault);

}  // namespace vendra
