// Any bytes as a JSON timeline file: the reader gives a timeline or nothing (with
// a log line), never a crash or a leak; a timeline read plays a few steps on a
// small tree with a frame event callback, across its wrap.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/scene/Node.h"
#include "engine/studio/timeline/ActionTimelineCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto* timeline = studio::timeline::ActionTimelineCache::getInstance()->timelineFromJsonText(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    if (timeline) {
        engine::Node* root = engine::Node::create();
        engine::Node* child = engine::Node::create();
        child->setName("a");
        root->addChild(child);
        int events = 0;
        timeline->setFrameEventCallFunc([&events](studio::timeline::Frame*) { ++events; });
        timeline->startWithTarget(root);
        timeline->gotoFrameAndPlay(0);
        for (int i = 0; i < 4; ++i) timeline->step(0.3f);
        timeline->stop();
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
