#pragma once
// Bones and the skeletons that hold them. A bone has a name, a transform
// relative to its parent bone and children; its world matrix is its parent's
// world matrix times its own transform (the own transform for a root bone).
// A skeleton keeps its bones in the order added; its roots are those without
// a parent. Bones and skeletons are reference counted; a parent retains its
// children and a skeleton its bones. Main thread only.
#include <string>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Vector.h"

namespace engine {

class Bone3D : public Ref {
public:
    static Bone3D* create(const std::string& name);   // autoreleased
    ~Bone3D() override;

    const std::string& getName() const { return _name; }
    Bone3D* getParentBone() const { return _parent; }
    size_t getChildBoneCount() const { return _children.size(); }
    Bone3D* getChildBoneByIndex(int index) const;
    // A bone that has a parent already, null, or this bone itself is refused.
    void addChildBone(Bone3D* bone);
    void removeChildBoneByIndex(int index);
    void removeChildBone(Bone3D* bone);
    void removeAllChildBone();

    void setTransform(const Mat4& transform) { _transform = transform; }
    const Mat4& getTransform() const { return _transform; }
    Mat4 getWorldMat() const;

private:
    Bone3D() = default;

    std::string _name;
    Bone3D* _parent = nullptr;   // not retained: a parent outlives its children's link
    Vector<Bone3D*> _children;
    Mat4 _transform;
};

class Skeleton3D : public Ref {
public:
    static Skeleton3D* create();   // autoreleased, without bones
    void addBone(Bone3D* bone);    // retained; null or a bone already held is refused
    size_t getBoneCount() const { return _bones.size(); }
    Bone3D* getBoneByIndex(unsigned index) const;
    Bone3D* getBoneByName(const std::string& name) const;   // the first of that name
    int getBoneIndex(Bone3D* bone) const;                    // -1 when not held
    size_t getRootCount() const;
    Bone3D* getRootBone(int index) const;

private:
    Skeleton3D() = default;
    Vector<Bone3D*> _bones;
};

}  // namespace engine
