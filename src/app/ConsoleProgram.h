#pragma once

#include <memory>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSearch.h"
#include "cli/DataExport.h"
#include "cli/RetryNotices.h"
#include "platform/PosixSearchLock.h"
#include "platform/RetryingFetch.h"
#include "platform/StdTextFiles.h"
#include "platform/curl/CurlFetch.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtNetworkWait.h"
#include "platform/qt/XdgOpenShell.h"

namespace vendra {

// A search from the command line, wired once: standard error as the search shows itself there
// (lines, or a terminal's progress line), the data file, and the Qt implementation of every
// other port. Needs a QCoreApplication.
struct ConsoleProgram {
    // `earlier`: the links of the --since file, read before anything else runs.
    ConsoleProgram(AppIdentity& identity, const SearchRequest& request,
                   std::optional<EarlierLinks> earlier);

    XdgOpenShell desktop;
    std::unique_ptr<ConsoleOutput> output;
    StdTextFiles files;
    DataExport data;
    QtEventYield yield;
    QtNetworkWait networkWait;
    CurlFetch http{networkWait};
    // Asks a page again as many times as --retries says.
    RetryingFetch fetch;
    RetryNotices retryNotices{*output};
    QtLocaleInfo locale;
    PosixSearchLock lock;
    ConsoleSearch search;
};

// Runs the search the command line asked for; returns the program's exit status.
int RunConsole(int argc, char** argv, const SearchRequest& request);

// vendra watch --once [NAME...] and vendra history NAME; return the program's exit status.
int RunWatch(int argc, char** argv, const CommandLine& line);
int RunHistory(const CommandLine& line);

}  // namespace vendra
