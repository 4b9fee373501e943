#include "platform/Signals.h"

#include <atomic>
#include <csignal>

#include "platform/SignalDelivery.h"

namespace platform {
namespace {

// The only thing the handler touches: the number of the last termination signal
// (0 when none is pending).
std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

// Main thread only.
HWND closeTarget = 0;
bool installed = false;
struct sigaction previousInt;
struct sigaction previousTerm;

extern "C" void onTerminationSignal(int signo) { pendingSignal.store(signo, std::memory_order_relaxed); }

}  // namespace

void installTerminationHandlers(HWND mainWindow) {
    closeTarget = mainWindow;
    if (installed) return;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
    installed = true;
}

void uninstallTerminationHandlers() {
    if (installed) {
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
        installed = false;
    }
    closeTarget = 0;
    pendingSignal.store(0);
}

bool terminationRequested() { return pendingSignal.load() != 0; }

namespace detail {

HWND takeTerminationRequest() {
    if (pendingSignal.exchange(0) == 0) return 0;
    return closeTarget;
}

}  // namespace detail
}  // namespace platform
