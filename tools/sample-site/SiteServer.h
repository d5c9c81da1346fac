#pragma once

#include <httplib.h>

#include <atomic>
#include <vector>

#include "Event.h"
#include "Faults.h"
#include "RequestLog.h"

namespace vendra::site {

// The site on loopback: serves every request from the page library, logs it and applies the
// faults that match it.
class SiteServer {
  public:
    SiteServer(std::vector<Fault> faults, RequestLog& log);

    // Binds 127.0.0.1:`port` (0: any free port); the port bound, or -1.
    int Bind(int port);
    // Serves until Stop; connections that arrive after Bind and before Run wait in the backlog.
    void Run();
    // Safe from any thread, also before Run has begun; Run then returns at once.
    void Stop();
    bool Stopping() const { return stopping_.IsSet(); }

  private:
    void Serve(const httplib::Request& request, httplib::Response& response);
    void CloseRequestConnection(const httplib::Request& request) const;

    std::vector<Fault> faults_;
    RequestLog& log_;
    httplib::Server server_;
    int port_ = -1;
    std::atomic<int> connections_{0};
    Event stopping_;
    Event finished_;
};

}  // namespace vendra::site
