#pragma once
// Gives memory back to the system after large releases.
//
// The allocator keeps freed pages for later use: once textures and their pixel
// buffers are dropped, hundreds of MiB can stay with a process that no longer
// needs them. Owners of large buffers report what they free here; once
// kTrimAfterBytes have been freed since the last trim, the allocator is asked to
// return its free pages (malloc_trim; under AddressSanitizer, its own allocator's
// purge, which also empties the quarantine of freed blocks). A trim costs a walk of
// the allocator's free lists, so small releases never cause one by themselves.
// Any thread.
#include <cstddef>

namespace engine {

inline constexpr size_t kTrimAfterBytes = size_t{32} << 20;

// Counts bytes already freed; trims when the count reaches kTrimAfterBytes.
void noteMemoryReleased(size_t bytes);

}  // namespace engine
