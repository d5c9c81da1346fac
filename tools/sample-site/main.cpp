// The sample auction site: plays the site's four hosts on loopback for the program, which
// reaches it as its HTTP proxy.

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/system/system_error.hpp>
#include <csignal>
#include <cstdio>
#include <memory>

#include "CommandLine.h"
#include "HttpsEndpoint.h"
#include "SiteHour.h"
#include "SiteServer.h"

int main(int argc, char** argv) {
    using namespace vendra::site;

    std::string error;
    const auto options = ParseCommandLine(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "sample-site: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> log(nullptr, &std::fclose);
    if (!options->logPath.empty()) {
        log.reset(std::fopen(options->logPath.c_str(), "ab"));
        if (!log) {
            std::fprintf(stderr, "sample-site: cannot open the log %s\n", options->logPath.c_str());
            return 1;
        }
    }
    SetSiteHour(options->hour);
    boost::asio::io_context io;
    // Taken before the port is announced, so that a stop right after it is still a clean one.
    boost::asio::signal_set stopSignals(io, SIGINT, SIGTERM);
    stopSignals.async_wait([&io](const boost::system::error_code&, int) { io.stop(); });
    int port = 0;
    int httpsPort = 0;
    try {
        if (!options->httpsCertificate.empty() && !options->httpsKey.empty())
            httpsPort =
                StartHttpsEndpoint(io, options->httpsCertificate, options->httpsKey, log.get());
        port = StartSite(io, options->port, options->faults, log.get(), httpsPort);
    } catch (const boost::system::system_error& failure) {
        std::fprintf(stderr, "sample-site: cannot listen on 127.0.0.1:%d: %s\n", options->port,
                     failure.what());
        return 1;
    }
    // The https endpoint first: whoever waits for the "listening" line knows both then.
    if (httpsPort) std::printf("https on %d\n", httpsPort);
    std::printf("listening on %d\n", port);
    std::fflush(stdout);
    io.run();
    return 0;
}
