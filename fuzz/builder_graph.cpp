// Any bytes as a builder file: the reader gives a node graph or nothing (with a
// log line), never a crash, a leak or unbounded recursion; read with an owner,
// so that every outlet and callback list is filled.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/builder/CCBReader.h"
#include "engine/builder/NodeLoaderLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::Node* owner = engine::Node::create();
    auto* reader = builder::CCBReader::create(builder::NodeLoaderLibrary::getInstance());
    reader->readNodeGraphFromText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json", owner,
                                  engine::Size(480, 320));
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
