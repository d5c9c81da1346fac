#pragma once

#include <string>

#include "platform/TextFiles.h"
#include "report/LinkSet.h"

namespace vendra {

// The listings of an earlier run, by link, read from the data file it wrote.
struct EarlierLinks {
    LinkSet links;      // empty links are not gathered: they match nothing
    std::string error;  // one line naming the file and why; empty when read

    bool ok() const { return error.empty(); }
};

// Reads a data file (CSV or JSON, by its name) for its `link` values. CSV is read as RFC 4180
// (quoted fields with commas, doubled quotes and line breaks), with LF line ends and a UTF-8
// byte order mark accepted too, as a spreadsheet may save it; the `link` column is found by the
// header. A missing, unreadable or malformed file is an error.
EarlierLinks ReadEarlierLinks(TextFiles& files, const std::string& path);

}  // namespace vendra
