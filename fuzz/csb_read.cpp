// Any bytes as a binary scene file: the reader gives a node tree or nothing (with a
// log line), never a crash, a leak or unbounded recursion; a tree it gives is laid
// out.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/studio/CSLoader.h"
#include "engine/scene/Node.h"
#include "engine/ui/Helper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::Node* node = engine::CSLoader::getInstance()->nodeFromBinary(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.csb");
    if (node) {
        node->setContentSize(engine::Size(960, 640));
        engine::ui::Helper::doLayout(node);
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
