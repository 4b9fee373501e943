#pragma once
// The bones of a scene file's skeleton: a BoneNode is a node with child bones
// and skins (nodes it shows, one or several at a time); a SkeletonNode is the
// root bone of a skeleton, finding its bones by name and switching skins by
// group. A bone's debug drawing (its length, width and colour) is kept for
// scripts. Main thread only.
#include <map>
#include <string>

#include "engine/base/Map.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"

namespace studio::timeline {

class SkeletonNode;

class BoneNode : public engine::Node {
public:
    static BoneNode* create();
    static BoneNode* create(int length);

    // A child that is a bone (added as a child too); removing takes it out of both.
    void addChildBone(BoneNode* child);
    void removeChildBone(BoneNode* child, bool cleanup);
    const engine::Vector<BoneNode*>& getChildBones() const { return _childBones; }
    // Every bone below this one, depth first.
    engine::Vector<BoneNode*> getAllSubBones() const;
    // The skeleton this bone belongs to: the nearest SkeletonNode above (itself
    // included); null when none.
    SkeletonNode* getRootSkeletonNode() const;

    // A skin is a child node the bone shows; added hidden unless display.
    void addSkin(engine::Node* skin, bool display);
    void addSkin(engine::Node* skin, bool display, bool hideOthers);
    void removeFromSkinList(engine::Node* skin);
    // Shows the skin (by node or by name); hideOthers hides the rest.
    void displaySkin(engine::Node* skin, bool hideOthers);
    void displaySkin(const std::string& skinName, bool hideOthers);
    const engine::Vector<engine::Node*>& getSkins() const { return _skins; }
    engine::Vector<engine::Node*> getVisibleSkins() const;
    // The skins of this bone and every bone below.
    engine::Vector<engine::Node*> getAllSubSkins() const;

    void setDebugDrawEnabled(bool enabled) { _debugDraw = enabled; }
    bool isDebugDrawEnabled() const { return _debugDraw; }
    void setDebugDrawLength(float length) { _length = length; }
    float getDebugDrawLength() const { return _length; }
    void setDebugDrawWidth(float width) { _width = width; }
    float getDebugDrawWidth() const { return _width; }
    void setDebugDrawColor(const engine::Color4F& color) { _color = color; }
    const engine::Color4F& getDebugDrawColor() const { return _color; }

protected:
    BoneNode() = default;

private:
    engine::Vector<BoneNode*> _childBones;
    engine::Vector<engine::Node*> _skins;
    bool _debugDraw = false;
    float _length = 50;
    float _width = 20;
    engine::Color4F _color{0.f, 0.f, 1.f, 1.f};
};

class SkeletonNode : public BoneNode {
public:
    static SkeletonNode* create();

    // The bone of that name below this one (by node name); null when none.
    BoneNode* getBoneNode(const std::string& boneName) const;
    engine::Map<std::string, BoneNode*> getAllSubBonesMap() const;
    // Shows on each named bone the skin of that name (hiding its others).
    void changeSkins(const std::map<std::string, std::string>& boneSkinNameMap);
    // The same for a group added under a name; an unknown group changes nothing.
    void changeSkins(const std::string& skinGroupName);
    void addSkinGroup(const std::string& groupName, const std::map<std::string, std::string>& boneSkinNameMap);

private:
    SkeletonNode() = default;
    std::map<std::string, std::map<std::string, std::string>> _skinGroups;
};

}  // namespace studio::timeline
