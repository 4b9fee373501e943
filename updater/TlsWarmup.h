#pragma once
// TLS warm-up. At start-up, before the game window exists, libcurl is initialised
// once for the process on the main thread, and one detached thread connects to the
// primary patch host and completes a TLS handshake (no request is sent), so that
// the updater's first request finds TLS and the network stack already loaded.
//
// The only thing shared with the rest of the program is the state number, which the
// update front end waits on for a bounded time: 0 not started, 1 running (the
// attempt ends within about 5 s: 3 s to connect, 5 s in all), 2 done (final).
// A process runs the warm-up at most once.
#include <atomic>

namespace updater {

enum TlsWarmupStates : int {
    kTlsWarmupNotStarted = 0,
    kTlsWarmupRunning = 1,
    kTlsWarmupDone = 2,
};

// The process-wide state; written only by atomic exchange.
std::atomic<int>& tlsWarmupState();

// Main thread, once (start-up). Initialises libcurl (its failure is logged, the
// state stays 0 and nothing else happens), then starts the warm-up thread on the
// primary patch host's current name (state 1; back to 0 when no thread can be
// started). Lines go to the debugger output.
void startTlsWarmup();

}  // namespace updater
