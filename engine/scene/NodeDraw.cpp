// Node: visiting and drawing, shader state, per-frame update.
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {
void Node::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) return;
    Mat4 transform = parentTransform * getNodeToParentTransform();
    Director* director = Director::getInstance();
    director->pushMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    director->loadMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW, transform);
    // A copy: a draw may change the children.
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    size_t i = 0;
    for (; i < children.size() && children[i]->_localZOrder < 0; ++i) children[i]->visit(renderer, transform, parentFlags);
    draw(renderer, transform, parentFlags);
    for (; i < children.size(); ++i) children[i]->visit(renderer, transform, parentFlags);
    for (Node* child : children) child->release();
    director->popMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
}

void Node::draw(Renderer*, const Mat4&, uint32_t) {}

void Node::setGLProgramState(GLProgramState* state) {
    if (state == _glProgramState) return;
    if (state) state->retain();
    if (_glProgramState) _glProgramState->release();
    _glProgramState = state;
}

void Node::setGLProgram(GLProgram* program) { setGLProgramState(GLProgramState::getOrCreateWithGLProgram(program)); }

GLProgram* Node::getGLProgram() const { return _glProgramState ? _glProgramState->getGLProgram() : nullptr; }

void Node::scheduleUpdate() {
    Director::getInstance()->getScheduler()->scheduleUpdate(this, 0, false, [this](float dt) { update(dt); });
}

void Node::unscheduleUpdate() { Director::getInstance()->getScheduler()->unscheduleUpdate(this); }

void Node::update(float) {}

}  // namespace engine
