#include "platform/MappedCopy.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>

namespace vendra {
namespace {

// Where the copy in progress on this thread goes on when its source faults; none outside a copy.
// SIGBUS for a mapped page is delivered to the thread that touched it.
thread_local sigjmp_buf* t_landing = nullptr;
struct sigaction g_before {};

void OnBusError(int, siginfo_t*, void*) {
    if (sigjmp_buf* landing = t_landing) {
        t_landing = nullptr;
        siglongjmp(*landing, 1);
    }
    // Not a copy of ours: the handler from before takes over, and the faulting instruction, run
    // again on return, meets it.
    sigaction(SIGBUS, &g_before, nullptr);
}

void HandleBusErrors() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        // No mask to restore after the jump: SIGBUS is never blocked while the handler runs, so
        // that the jump, which saves no mask (saving it would cost a system call a copy), leaves
        // none blocked behind.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_before);
    });
}

}  // namespace

bool CopyFromMapping(char* into, const char* from, std::size_t size) {
    HandleBusErrors();
    sigjmp_buf landing;
    if (sigsetjmp(landing, 0) != 0) return false;
    t_landing = &landing;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(into, from, size);  // memcpy is async-signal-safe: leaving it by a jump is sound
    std::atomic_signal_fence(std::memory_order_seq_cst);
    t_landing = nullptr;
    return true;
}

}  // namespace vendra
