// Any bytes as an update manifest: it loads or not, never crashes, and what it
// holds is what a loaded manifest may hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/extension/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::extension::Manifest* manifest = engine::extension::Manifest::create();
    manifest->retain();
    const bool loaded = manifest->parseJSONString(std::string_view(reinterpret_cast<const char*>(data), size));
    if (loaded != manifest->isLoaded()) std::abort();
    if (!loaded && (!manifest->getAssets().empty() || !manifest->getVersion().empty())) std::abort();
    // Use what was read.
    size_t total = manifest->getPackageUrl().size() + manifest->getSearchPaths().size();
    for (const auto& [key, asset] : manifest->getAssets()) total += key.size() + asset.md5.size();
    if (manifest->versionEquals(manifest) != manifest->isVersionLoaded()) std::abort();
    manifest->release();
    engine::AutoreleasePool::getInstance()->clear();   // the manifest made this run goes now
    return total == static_cast<size_t>(-1) ? 1 : 0;
}
