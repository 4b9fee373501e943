#pragma once
// The bones of a skeleton that move a mesh, in the mesh's own order. Reference
// counted; it retains its skeleton. Main thread only.
#include <string>
#include <vector>

#include "engine/3d/Skeleton3D.h"
#include "engine/base/Ref.h"

namespace engine {

class MeshSkin : public Ref {
public:
    // Autoreleased; bone names the skeleton lacks are left out. Null for a null skeleton.
    static MeshSkin* create(Skeleton3D* skeleton, const std::vector<std::string>& boneNames);
    ~MeshSkin() override;

    size_t getBoneCount() const { return _bones.size(); }
    Bone3D* getBoneByIndex(unsigned index) const { return index < _bones.size() ? _bones[index] : nullptr; }
    Bone3D* getBoneByName(const std::string& name) const;
    Skeleton3D* getSkeleton() const { return _skeleton; }
    // The first root of the skeleton.
    Bone3D* getRootBone() const { return _skeleton->getRootBone(0); }

private:
    MeshSkin() = default;
    Skeleton3D* _skeleton = nullptr;
    std::vector<Bone3D*> _bones;   // held by the skeleton
};

}  // namespace engine
