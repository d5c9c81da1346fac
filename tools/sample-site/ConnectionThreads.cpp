#include "ConnectionThreads.h"

namespace vendra::site {
namespace {

thread_local int currentConnection = 0;

}  // namespace

ConnectionThreads::ConnectionThreads(std::atomic<int>& counter, std::function<void()> closeAll)
    : counter_(counter), closeAll_(std::move(closeAll)) {}

ConnectionThreads::~ConnectionThreads() { shutdown(); }

void ConnectionThreads::enqueue(std::function<void()> serveConnection) {
    const int number = ++counter_;
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(mutex_);
    JoinFinished();
    workers_.push_back({std::thread([number, done, serve = std::move(serveConnection)] {
                            currentConnection = number;
                            serve();
                            done->store(true);
                        }),
                        done});
}

void ConnectionThreads::shutdown() {
    std::list<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    if (!workers.empty() && closeAll_) closeAll_();
    for (Worker& worker : workers)
        if (worker.thread.joinable()) worker.thread.join();
}

int ConnectionThreads::Current() { return currentConnection; }

void ConnectionThreads::JoinFinished() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace vendra::site
