#include "support/CpuTime.h"

#include <time.h>

namespace testsupport {

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double cpuSecondsFor(const std::function<void()>& work) {
    const double start = threadCpuSeconds();
    work();
    return threadCpuSeconds() - start;
}

}  // namespace testsupport
