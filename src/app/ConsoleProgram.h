#pragma once

#include "cli/CommandLine.h"
#include "cli/ConsolePorts.h"
#include "cli/DataExport.h"
#include "cli/RetryNotices.h"
#include "controller/SearchController.h"
#include "platform/RetryingFetch.h"
#include "platform/StdTextFiles.h"
#include "platform/curl/CurlFetch.h"
#include "platform/qt/QtEventYield.h"
#include "platform/qt/QtLocaleInfo.h"
#include "platform/qt/QtNetworkWait.h"
#include "platform/qt/QtSearchLock.h"
#include "platform/qt/XdgOpenShell.h"

namespace vendra {

// A search from the command line, wired once: the console's own ports (status texts and
// messages on standard error, as lines or under a terminal's progress line; the results page's
// path remembered; the data file), and the Qt implementation of every other port, with the
// search's controller over them. Needs a QCoreApplication.
struct ConsoleProgram {
    // `earlier`: the links of the --since file, read before anything else runs.
    ConsoleProgram(AppIdentity& identity, const SearchRequest& request,
                   std::optional<EarlierLinks> earlier);

    XdgOpenShell desktop;
    ConsolePorts console;
    StdTextFiles files;
    DataExport data;
    QtEventYield yield;
    QtNetworkWait networkWait;
    CurlFetch http{networkWait};
    // Asks a page again as many times as the window does; the command line's own count would be
    // passed here.
    RetryingFetch fetch{http, http};
    RetryNotices retryNotices{*console.output};
    QtLocaleInfo locale;
    QtSearchLock lock;
    Platform platform;
    SearchController controller;
};

// Runs the search the command line asked for; returns the program's exit status.
int RunConsole(int argc, char** argv, const SearchRequest& request);

}  // namespace vendra
