#pragma once
// A node that follows a bone: its children are drawn with the bone's world
// matrix put between the parent's transform and the node's own. Retains the
// bone. Main thread only, like every node.
#include "engine/3d/Skeleton3D.h"
#include "engine/scene/Node.h"

namespace engine {

class AttachNode : public Node {
public:
    static AttachNode* create(Bone3D* bone);   // autoreleased; null for a null bone
    ~AttachNode() override;
    Bone3D* getBone() const { return _bone; }
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    AttachNode() = default;
    Bone3D* _bone = nullptr;
};

}  // namespace engine
