#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vendra::site {

// A one-way switch that threads can wait on, with a deadline or in poll() through WakeFd().
class Event {
  public:
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    bool IsSet() const;
    // True when the event was set before the time ran out.
    bool WaitFor(std::chrono::milliseconds time) const;
    // Becomes readable once the event is set, and stays readable.
    int WakeFd() const { return pipe_[0]; }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
    int pipe_[2] = {-1, -1};
};

}  // namespace vendra::site
