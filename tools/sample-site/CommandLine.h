#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Faults.h"

namespace vendra::site {

struct Options {
    int port = 0;  // 0: any free port
    std::string logPath;
    std::vector<Fault> faults;
    std::string httpsCertificate, httpsKey;  // both given: the https endpoint opens
    int hour = 0;  // the site as it stands this many hours after its start
    bool help = false;
};

inline constexpr const char* kUsage =
    "usage: sample-site [--port N] [--log FILE] [--hour N] [--fault KIND[/N]@SUBSTRING]...\n"
    "                   [--https-certificate PEM --https-key PEM]\n"
    "  KIND: latency=MS, stall, reset, truncate, drip=SECONDS, badcount, nocount, big,\n"
    "        bigcount=N, endless, huge, length=BYTES, status=CODE, retryafter=VALUE,\n"
    "        earlyhints, endlessheaders, badchunk[=TEXT], badgzip, https\n";

// Reads "--name value" and "--name=value"; on a mistake, says what is wrong in `error`.
std::optional<Options> ParseCommandLine(int argc, char** argv, std::string& error);

}  // namespace vendra::site
