#pragma once
// Bounded-time checks: the processor time this thread spends on a piece of work.
// Unlike wall time it does not grow when a loaded machine runs other processes,
// so a bound on it fails only when the work itself is slow.
#include <functional>

namespace testsupport {

// Seconds of processor time the calling thread has used so far.
double threadCpuSeconds();

// Runs work and answers the processor time it took on the calling thread.
double cpuSecondsFor(const std::function<void()>& work);

}  // namespace testsupport
