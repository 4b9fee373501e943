// Any bytes as an armature file: the manager takes its armatures or nothing (with
// a log line), never a crash or a leak; each armature taken is built and plays
// each of its movements for a few steps with both callbacks set.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/studio/ArmatureDataManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<studio::ArmatureDef> armatures;
    std::string why;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (studio::ArmatureDataManager::parseArmatures(text, &armatures, &why)) {
        auto* manager = studio::ArmatureDataManager::getInstance();
        manager->addArmatureFromJsonText(text, "fuzz.json");
        int events = 0;
        for (const studio::ArmatureDef& data : armatures) {
            studio::Armature* armature = studio::Armature::create(data.name);
            studio::ArmatureAnimation* animation = armature->getAnimation();
            animation->setMovementEventCallFunc([&events](studio::Armature*, studio::MovementEventType,
                                                          const std::string&) { ++events; });
            animation->setFrameEventCallFunc([&events](studio::Bone*, const std::string&, int, int) { ++events; });
            for (const studio::MovementDef& movement : data.movements) {
                animation->play(movement.name);
                for (int i = 0; i < 3; ++i) animation->update(0.4f);
            }
            manager->removeArmatureData(data.name);
        }
    }
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
