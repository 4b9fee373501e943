#include "engine/base/MemoryTrim.h"

#include <malloc.h>

#include <atomic>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEXO_ASAN_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VEXO_ASAN_ALLOCATOR 1
#endif

#ifdef VEXO_ASAN_ALLOCATOR
#include <sanitizer/allocator_interface.h>
#endif

namespace engine {
namespace {
std::atomic<size_t> g_released{0};
}  // namespace

void noteMemoryReleased(size_t bytes) {
    if (bytes == 0) return;
    const size_t before = g_released.fetch_add(bytes);
    if (before + bytes < kTrimAfterBytes) return;
    // One caller trims for everyone who counted so far.
    if (g_released.exchange(0) < kTrimAfterBytes) return;
#ifdef VEXO_ASAN_ALLOCATOR
    __sanitizer_purge_allocator();
#else
    malloc_trim(0);
#endif
}

}  // namespace engine
