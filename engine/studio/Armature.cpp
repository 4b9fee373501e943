#include "engine/studio/Armature.h"

namespace studio {

Bone* Bone::create(const std::string& name) {
    auto* bone = new Bone;
    bone->init();
    bone->setName(name);
    bone->autorelease();
    return bone;
}

Armature* Armature::create(const std::string& name) {
    auto* armature = new Armature;
    armature->init();
    armature->setName(name);
    armature->autorelease();
    return armature;
}

}  // namespace studio
