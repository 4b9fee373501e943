#pragma once
// Bounded-memory checks: the most heap memory a piece of work had in use at once.
// Counted through the address sanitizer's allocation hooks (every thread's
// allocations count), so only sanitizer builds can measure; elsewhere the work
// runs and nothing is measured.
#include <cstddef>
#include <functional>
#include <optional>

namespace testsupport {

// Runs work and answers its peak: the most bytes in use at once above what was in
// use when it began. nullopt in a build without the hooks.
std::optional<size_t> peakHeapDuring(const std::function<void()>& work);

}  // namespace testsupport
