// Any bytes as the animations of a JSON model file: the reader takes an
// animation or refuses the text, never a crash or a leak; an animation read is
// sampled at its key times' edges and played forwards and backwards on a small
// tree whose nodes carry some of its bone names.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/3d/Animate3D.h"
#include "engine/3d/Animation3D.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/scene/Node.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto* animation = new engine::Animation3D;
    animation->autorelease();
    if (animation->initWithJson(std::string_view(reinterpret_cast<const char*>(data), size), "")) {
        fuzzsupport::check(animation->getDuration() >= 0, "duration not negative");
        engine::Node* root = engine::Node::create();
        int named = 0;
        for (const auto& [bone, curve] : animation->getBoneCurves()) {
            for (float t : {-1.f, 0.f, 0.5f, 1.f, 2.f}) {
                const engine::Quaternion q = engine::Animation3D::sample(curve.rotation, t, engine::Quaternion());
                // Keys are finite, so their blends are.
                fuzzsupport::check(std::isfinite(q.x) && std::isfinite(q.w), "finite rotation");
                (void)engine::Animation3D::sample(curve.translation, t, engine::Vec3());
            }
            if (named++ < 4) {
                engine::Node* node = engine::Node::create();
                node->setName(bone);
                root->addChild(node);
            }
        }
        for (float speed : {1.f, -2.f}) {
            engine::Animate3D* animate = engine::Animate3D::create(animation);
            fuzzsupport::check(animate != nullptr, "the whole animation plays");
            animate->setSpeed(speed);
            animate->startWithTarget(root);
            for (float t : {0.f, 0.3f, 1.f}) animate->update(t);
            animate->stop();
        }
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
