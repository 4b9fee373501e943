// Any bytes as properties text: the reader gives namespaces or a refusal, never a
// crash, deep recursion or a leak; what it gives is then walked and read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "engine/base/Properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<engine::Properties> root =
        engine::Properties::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!root) return 0;
    if (!root->getNamespace().empty() || !root->getId().empty()) std::abort();
    // Depth first through the nesting: every namespace found by its kind holds a kind.
    for (const char* kind : {"material", "technique", "pass", "a"}) {
        engine::Properties* found = root->getNamespace(kind, true, true);
        if (found && found->getNamespace() != kind) std::abort();
        if (found) {
            found->getFloat("x");
            found->getBool("y");
        }
    }
    root->getString("a");
    root->getInt("b");
    return 0;
}
