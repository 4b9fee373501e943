#include "engine/3d/AttachNode.h"

namespace engine {

AttachNode* AttachNode::create(Bone3D* bone) {
    if (!bone) return nullptr;
    auto* node = new AttachNode;
    node->_bone = bone;
    bone->retain();
    return autoreleased(node, true);
}

AttachNode::~AttachNode() {
    if (_bone) _bone->release();
}

void AttachNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    Node::visit(renderer, parentTransform * _bone->getWorldMat(), parentFlags);
}

}  // namespace engine
