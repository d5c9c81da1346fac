// The sample auction site: plays the site's four hosts on loopback for the program, which
// reaches it as its HTTP proxy.

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "CommandLine.h"
#include "RequestLog.h"
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

    // Stop signals are taken by one thread with sigwait, so the stop runs as ordinary code;
    // every thread started from here on inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // A client that hangs up mid-answer must not end the site.
    signal(SIGPIPE, SIG_IGN);

    RequestLog log;
    if (!options->logPath.empty() && !log.Open(options->logPath)) {
        std::fprintf(stderr, "sample-site: cannot open the log %s\n", options->logPath.c_str());
        return 1;
    }
    SiteServer server(options->faults, log);
    const int port = server.Bind(options->port);
    if (port < 0) {
        std::fprintf(stderr, "sample-site: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
    }
    std::printf("listening on %d\n", port);
    std::fflush(stdout);

    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    server.Run();
    // Run also returns when listening fails; the stopper is then still waiting for a signal.
    if (!server.Stopping()) pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}
