#pragma once

#include <httplib.h>

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace vendra::site {

// Runs every accepted connection on a thread of its own, so that a stalled or slow connection
// never keeps another one waiting, and numbers the connections: every request that a
// connection carries is handled on its thread and sees its number.
class ConnectionThreads final : public httplib::TaskQueue {
  public:
    // `closeAll` wakes connections that idle between requests, so shutdown does not wait for them.
    ConnectionThreads(std::atomic<int>& counter, std::function<void()> closeAll);
    ~ConnectionThreads() override;

    void enqueue(std::function<void()> serveConnection) override;
    void shutdown() override;

    // The number of the connection whose thread calls this; 0 outside a connection.
    static int Current();

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void JoinFinished();

    std::atomic<int>& counter_;
    std::function<void()> closeAll_;
    std::mutex mutex_;
    std::list<Worker> workers_;
};

}  // namespace vendra::site
