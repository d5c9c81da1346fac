#include "platform/qt/Interrupts.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace vendra {
namespace {

int pipes[NSIG][2];  // each signal's pipe, while an Interrupts object takes it

void WriteInterrupt(int signal) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipes[signal][1], &byte, 1);
}

}  // namespace

Interrupts::Interrupts(std::function<void(int)> onInterrupt, int signal)
    : onInterrupt_(std::move(onInterrupt)), signal_(signal) {
    int* pipeEnds = pipes[signal];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        const int end = pipes[signal_][0];
        for (ssize_t got = ::read(end, bytes, sizeof bytes); got > 0;
             got = ::read(end, bytes, sizeof bytes))
            for (ssize_t i = 0; i < got; ++i) onInterrupt_(++count_);
    });
    struct sigaction action {};
    action.sa_handler = WriteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

Interrupts::~Interrupts() {
    std::signal(signal_, SIG_DFL);
    if (!notifier_) return;  // no pipe was made
    delete notifier_;
    for (const int end : pipes[signal_]) ::close(end);
}

}  // namespace vendra
