#include "SiteServer.h"

#include <memory>

#include "ConnectionSockets.h"
#include "ConnectionThreads.h"
#include "SitePages.h"
#include "SiteTarget.h"

namespace vendra::site {
namespace {

constexpr const char* kContentType = "text/html";
// The program reuses one connection for a whole walk; the library's default would cut it
// after five requests.
constexpr std::size_t kRequestsPerConnection = 1'000'000;

// Sends the body as it is, never compressed, so that a client sees exactly the page's bytes and a
// big page costs no compression time. With `half`, announces the whole length, sends the first
// half and drops the connection.
void SendBody(httplib::Response& response, std::string body, bool half) {
    auto shared = std::make_shared<const std::string>(std::move(body));
    const std::size_t sent = half ? shared->size() / 2 : shared->size();
    response.set_content_provider(
        shared->size(), kContentType,
        [shared, sent](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset < sent) sink.write(shared->data() + offset, sent - offset);
            return sent == shared->size();
        });
}

}  // namespace

SiteServer::SiteServer(std::vector<Fault> faults, RequestLog& log)
    : faults_(std::move(faults)), log_(log) {
    server_.new_task_queue = [this] {
        return new ConnectionThreads(connections_, [this] { CloseAllConnections(port_); });
    };
    server_.set_keep_alive_max_count(kRequestsPerConnection);
    // The head and the body go out in separate writes: held back until the client acknowledged
    // the head (Nagle), the body would wait out the client's delayed acknowledgement, some 40 ms
    // on every request of a kept-alive connection.
    server_.set_tcp_nodelay(true);
    server_.set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            Serve(request, response);
            return httplib::Server::HandlerResponse::Handled;
        });
    // The library turns down a target with a second "?" before any handler sees it; a typed
    // keyword can hold one, so such a request is served like any other.
    server_.set_error_handler(httplib::Server::HandlerWithResponse(
        [this](const httplib::Request& request, httplib::Response& response) {
            if (response.status != 400 || !response.body.empty() || request.target.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            response.status = -1;
            Serve(request, response);
            if (response.status == -1) response.status = 200;
            return httplib::Server::HandlerResponse::Handled;
        }));
}

int SiteServer::Bind(int port) {
    if (port == 0) {
        port_ = server_.bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_.bind_to_port("127.0.0.1", port) ? port : -1;
    }
    return port_;
}

void SiteServer::Run() {
    if (!stopping_.IsSet()) server_.listen_after_bind();
    finished_.Set();
}

void SiteServer::Stop() {
    stopping_.Set();
    // A stop that comes before the library has started listening would be lost; repeat it
    // until Run has returned.
    do {
        server_.stop();
    } while (!finished_.WaitFor(std::chrono::milliseconds(20)));
}

void SiteServer::Serve(const httplib::Request& request, httplib::Response& response) {
    log_.Write(ConnectionThreads::Current(), request.method, request.target);
    const TargetParts target = SplitTarget(request.target, request.get_header_value("Host"));
    const FaultPlan plan = PlanFor(faults_, target.full);

    if (plan.latency.count() > 0 && stopping_.WaitFor(plan.latency)) {
        CloseRequestConnection(request);
        return;
    }
    if (plan.stall) {
        const int socket = FindConnectionSocket(request.local_port, request.remote_port);
        HoldConnection(socket, stopping_.WakeFd());
        CloseConnection(socket);
        return;
    }
    if (plan.reset) {
        CloseRequestConnection(request);
        return;
    }

    SitePage page;
    if (request.method == "GET" || request.method == "HEAD") {
        SiteRequest siteRequest{target.host, httplib::detail::decode_url(target.path, false), {}};
        httplib::detail::parse_query_text(target.query, siteRequest.params);
        page = RenderPage(siteRequest, plan.twist);
    } else {
        page = {405, NotFoundPage(request.method + " " + target.full)};
    }
    response.status = page.status;
    SendBody(response, std::move(page.body), plan.truncate);
}

void SiteServer::CloseRequestConnection(const httplib::Request& request) const {
    CloseConnection(FindConnectionSocket(request.local_port, request.remote_port));
}

}  // namespace vendra::site
