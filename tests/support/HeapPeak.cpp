#include "support/HeapPeak.h"

#include <atomic>

// The sanitizer runtime's allocator interface, declared weak: null without it.
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*)) __attribute__((weak));
size_t __sanitizer_get_allocated_size(const volatile void* p) __attribute__((weak));
}

namespace testsupport {
namespace {

std::atomic<long long> g_inUse{0};
std::atomic<long long> g_peak{0};

void onMalloc(const volatile void*, size_t size) {
    const long long now = g_inUse.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

// Called before the block is released, while its size can still be asked.
void onFree(const volatile void* p) { g_inUse.fetch_sub(static_cast<long long>(__sanitizer_get_allocated_size(p))); }

bool hooksInstalled() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks && __sanitizer_get_allocated_size &&
                                  __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
    return installed;
}

}  // namespace

std::optional<size_t> peakHeapDuring(const std::function<void()>& work) {
    if (!hooksInstalled()) {
        work();
        return std::nullopt;
    }
    const long long base = g_inUse.load();
    g_peak.store(base);
    work();
    const long long peak = g_peak.load() - base;
    return static_cast<size_t>(peak > 0 ? peak : 0);
}

}  // namespace testsupport
