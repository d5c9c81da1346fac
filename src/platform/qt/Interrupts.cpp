#include "platform/qt/Interrupts.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace vendra {
namespace {

int pipeEnds[2] = {-1, -1};

void WriteInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}

}  // namespace

Interrupts::Interrupts(std::function<void(int)> onInterrupt)
    : onInterrupt_(std::move(onInterrupt)) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        for (ssize_t got = ::read(pipeEnds[0], bytes, sizeof bytes); got > 0;
             got = ::read(pipeEnds[0], bytes, sizeof bytes))
            for (ssize_t i = 0; i < got; ++i) onInterrupt_(++count_);
    });
    struct sigaction action {};
    action.sa_handler = WriteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
}

Interrupts::~Interrupts() {
    std::signal(SIGINT, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace vendra
