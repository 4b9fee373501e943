#include "engine/3d/MeshSkin.h"

namespace engine {

MeshSkin* MeshSkin::create(Skeleton3D* skeleton, const std::vector<std::string>& boneNames) {
    if (!skeleton) return nullptr;
    auto* skin = new MeshSkin;
    skin->_skeleton = skeleton;
    skeleton->retain();
    for (const std::string& name : boneNames) {
        if (Bone3D* bone = skeleton->getBoneByName(name)) skin->_bones.push_back(bone);
    }
    skin->autorelease();
    return skin;
}

MeshSkin::~MeshSkin() {
    if (_skeleton) _skeleton->release();
}

Bone3D* MeshSkin::getBoneByName(const std::string& name) const {
    for (Bone3D* bone : _bones) {
        if (bone->getName() == name) return bone;
    }
    return nullptr;
}

}  // namespace engine
