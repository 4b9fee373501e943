// Any bytes as an XML scene file: the reader gives a node tree or nothing (with a
// log line), never a crash, a leak or unbounded recursion; the timeline built from
// the same bytes plays a few frames on the tree.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/studio/CsdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    studio::CsdContent content =
        studio::readCsd(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.csd");
    if (content.tree && content.timeline) {
        content.timeline->startWithTarget(content.tree);
        content.timeline->gotoFrameAndPlay(0);
        for (int i = 0; i < 4; ++i) content.timeline->step(0.25f);
        content.timeline->stop();
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
