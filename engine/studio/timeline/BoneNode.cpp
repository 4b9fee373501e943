#include "engine/studio/timeline/BoneNode.h"

namespace studio::timeline {

BoneNode* BoneNode::create() { return create(50); }

BoneNode* BoneNode::create(int length) {
    auto* bone = new BoneNode;
    bone->init();
    bone->_length = static_cast<float>(length);
    bone->autorelease();
    return bone;
}

void BoneNode::addChildBone(BoneNode* child) {
    if (!child || child == this || child->getParent()) return;
    for (const engine::Node* up = this; up; up = up->getParent()) {
        if (up == child) return;  // no cycles
    }
    _childBones.pushBack(child);
    addChild(child);
}

void BoneNode::removeChildBone(BoneNode* child, bool cleanup) {
    if (!child || child->getParent() != this) return;
    _childBones.eraseObject(child);
    removeChild(child, cleanup);
}

engine::Vector<BoneNode*> BoneNode::getAllSubBones() const {
    engine::Vector<BoneNode*> bones;
    for (BoneNode* child : _childBones) {
        bones.pushBack(child);
        for (BoneNode* below : child->getAllSubBones()) bones.pushBack(below);
    }
    return bones;
}

SkeletonNode* BoneNode::getRootSkeletonNode() const {
    for (engine::Node* node = const_cast<BoneNode*>(this); node; node = node->getParent()) {
        if (auto* skeleton = dynamic_cast<SkeletonNode*>(node)) return skeleton;
    }
    return nullptr;
}

void BoneNode::addSkin(engine::Node* skin, bool display) { addSkin(skin, display, false); }

void BoneNode::addSkin(engine::Node* skin, bool display, bool hideOthers) {
    if (!skin || skin->getParent()) return;
    _skins.pushBack(skin);
    addChild(skin);
    skin->setVisible(false);
    if (display) displaySkin(skin, hideOthers);
}

void BoneNode::removeFromSkinList(engine::Node* skin) {
    if (!skin) return;
    for (engine::Node* own : _skins) {
        if (own != skin) continue;
        _skins.eraseObject(skin);
        if (skin->getParent() == this) removeChild(skin, true);
        return;
    }
}

void BoneNode::displaySkin(engine::Node* skin, bool hideOthers) {
    for (engine::Node* own : _skins) {
        if (own == skin) {
            own->setVisible(true);
        } else if (hideOthers) {
            own->setVisible(false);
        }
    }
}

void BoneNode::displaySkin(const std::string& skinName, bool hideOthers) {
    for (engine::Node* own : _skins) {
        if (own->getName() == skinName) {
            own->setVisible(true);
        } else if (hideOthers) {
            own->setVisible(false);
        }
    }
}

engine::Vector<engine::Node*> BoneNode::getVisibleSkins() const {
    engine::Vector<engine::Node*> visible;
    for (engine::Node* skin : _skins) {
        if (skin->isVisible()) visible.pushBack(skin);
    }
    return visible;
}

engine::Vector<engine::Node*> BoneNode::getAllSubSkins() const {
    engine::Vector<engine::Node*> skins = _skins;
    for (BoneNode* bone : getAllSubBones()) {
        for (engine::Node* skin : bone->getSkins()) skins.pushBack(skin);
    }
    return skins;
}

SkeletonNode* SkeletonNode::create() {
    auto* skeleton = new SkeletonNode;
    skeleton->init();
    skeleton->autorelease();
    return skeleton;
}

BoneNode* SkeletonNode::getBoneNode(const std::string& boneName) const {
    for (BoneNode* bone : getAllSubBones()) {
        if (bone->getName() == boneName) return bone;
    }
    return nullptr;
}

engine::Map<std::string, BoneNode*> SkeletonNode::getAllSubBonesMap() const {
    engine::Map<std::string, BoneNode*> bones;
    for (BoneNode* bone : getAllSubBones()) {
        if (!bones.at(bone->getName())) bones.insert(bone->getName(), bone);
    }
    return bones;
}

void SkeletonNode::changeSkins(const std::map<std::string, std::string>& boneSkinNameMap) {
    for (const auto& [boneName, skinName] : boneSkinNameMap) {
        if (BoneNode* bone = getBoneNode(boneName)) bone->displaySkin(skinName, true);
    }
}

void SkeletonNode::changeSkins(const std::string& skinGroupName) {
    auto found = _skinGroups.find(skinGroupName);
    if (found != _skinGroups.end()) changeSkins(found->second);
}

void SkeletonNode::addSkinGroup(const std::string& groupName,
                                const std::map<std::string, std::string>& boneSkinNameMap) {
    _skinGroups[groupName] = boneSkinNameMap;
}

}  // namespace studio::timeline
