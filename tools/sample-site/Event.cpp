#include "Event.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace vendra::site {

Event::Event() {
    if (::pipe2(pipe_, O_CLOEXEC) != 0) throw std::runtime_error("cannot create a pipe");
}

Event::~Event() {
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        if (set_) return;
        set_ = true;
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipe_[1], &byte, 1);
    changed_.notify_all();
}

bool Event::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool Event::WaitFor(std::chrono::milliseconds time) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, time, [this] { return set_; });
}

}  // namespace vendra::site
