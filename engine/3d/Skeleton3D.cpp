#include "engine/3d/Skeleton3D.h"

namespace engine {

Bone3D* Bone3D::create(const std::string& name) {
    auto* bone = new Bone3D;
    bone->_name = name;
    bone->autorelease();
    return bone;
}

Bone3D::~Bone3D() { removeAllChildBone(); }

Bone3D* Bone3D::getChildBoneByIndex(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= _children.size()) return nullptr;
    return _children.at(static_cast<size_t>(index));
}

void Bone3D::addChildBone(Bone3D* bone) {
    if (!bone || bone == this || bone->_parent) return;
    for (const Bone3D* up = _parent; up; up = up->_parent) {
        if (up == bone) return;   // no cycles
    }
    bone->_parent = this;
    _children.pushBack(bone);
}

void Bone3D::removeChildBoneByIndex(int index) {
    if (Bone3D* bone = getChildBoneByIndex(index)) removeChildBone(bone);
}

void Bone3D::removeChildBone(Bone3D* bone) {
    if (!bone || bone->_parent != this) return;
    bone->_parent = nullptr;
    _children.eraseObject(bone);
}

void Bone3D::removeAllChildBone() {
    for (Bone3D* child : _children) child->_parent = nullptr;
    _children.clear();
}

Mat4 Bone3D::getWorldMat() const { return _parent ? _parent->getWorldMat() * _transform : _transform; }

Skeleton3D* Skeleton3D::create() {
    auto* skeleton = new Skeleton3D;
    skeleton->autorelease();
    return skeleton;
}

void Skeleton3D::addBone(Bone3D* bone) {
    if (!bone || getBoneIndex(bone) >= 0) return;
    _bones.pushBack(bone);
}

Bone3D* Skeleton3D::getBoneByIndex(unsigned index) const { return index < _bones.size() ? _bones.at(index) : nullptr; }

Bone3D* Skeleton3D::getBoneByName(const std::string& name) const {
    for (Bone3D* bone : _bones) {
        if (bone->getName() == name) return bone;
    }
    return nullptr;
}

int Skeleton3D::getBoneIndex(Bone3D* bone) const {
    for (size_t i = 0; i < _bones.size(); ++i) {
        if (_bones.at(i) == bone) return static_cast<int>(i);
    }
    return -1;
}

size_t Skeleton3D::getRootCount() const {
    size_t count = 0;
    for (Bone3D* bone : _bones) count += bone->getParentBone() ? 0 : 1;
    return count;
}

Bone3D* Skeleton3D::getRootBone(int index) const {
    for (Bone3D* bone : _bones) {
        if (bone->getParentBone()) continue;
        if (index-- == 0) return bone;
    }
    return nullptr;
}

}  // namespace engine
