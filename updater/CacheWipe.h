#pragma once
// Crash-safe removal of the updater's cache folders.
//
// A folder is never deleted in place: it is first renamed to a trash name in its own
// parent (".trash-<pid>-<n>", one rename, so it vanishes from its name at once), the
// parent is flushed so the rename survives a power cut, and only then is the trash
// deleted entry by entry. A process that dies at any point therefore leaves either
// the whole folder under its name (the next start decides about it again) or a trash
// folder that no reader looks at: never a cache that lost its serial file but kept
// other files. removeLeftoverTrash deletes trash of earlier runs; the start of a run
// calls it before anything reads the caches.
//
// Links are never followed: a cache that is a link loses the link, not its target.
// Main thread (the updater's start); the hook is for tests only.
#include <functional>
#include <string>

namespace updater {

// Removes `folder` (a trailing "/" is ignored) as described above. True when nothing
// is left under its name; a missing folder is no error.
bool wipeCacheFolder(const std::string& folder);

// Deletes every ".trash-*" entry directly inside `parent`; the number removed.
int removeLeftoverTrash(const std::string& parent);

// Test seam: called with each path just before it is removed while trash is deleted
// (a test may end the process there). Returns the previous hook; empty: none.
using CacheStepHook = std::function<void(const std::string& path)>;
CacheStepHook setCacheStepHook(CacheStepHook hook);

}  // namespace updater
