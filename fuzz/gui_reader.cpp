// Any bytes as a layout file: the reader gives a widget tree or nothing (with a log
// line), never a crash, a leak or unbounded recursion.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/studio/GUIReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    studio::GUIReader::getInstance()->widgetFromJsonText(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
