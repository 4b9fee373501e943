// Node: visiting and drawing, shader state, per-frame update.
#include "engine/base/Director.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {
namespace {

void visitChild(Node* child, Renderer* renderer, const Mat4& transform, uint32_t flags) {
    child->retain();
    child->visit(renderer, transform, flags);
    child->release();
}

}  // namespace

void Node::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) return;
    updateDrawTransform(parentTransform);
    const Mat4& transform = _drawTransform;
    Director* director = Director::getInstance();
    director->pushMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    director->loadMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW, transform);
    // By index, each child held while it is visited: a draw never meets a freed
    // sibling, and a frame allocates nothing here.
    size_t i = 0;
    for (; i < _children.size() && _children[i]->_localZOrder < 0; ++i)
        visitChild(_children[i], renderer, transform, parentFlags);
    draw(renderer, transform, parentFlags);
    for (; i < _children.size(); ++i) visitChild(_children[i], renderer, transform, parentFlags);
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
    releaseUpdateScriptHandler();
    Director::getInstance()->getScheduler()->scheduleUpdate(this, 0, false, [this](float dt) { update(dt); });
    _updateScheduled = true;
}

void Node::unscheduleUpdate() {
    Director::getInstance()->getScheduler()->unscheduleUpdate(this);
    _updateScheduled = false;
    releaseUpdateScriptHandler();
}

void Node::scheduleUpdateWithPriorityLua(int handler, int priority) {
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    scheduler->unscheduleUpdate(this);
    releaseUpdateScriptHandler();
    _updateScriptHandler = handler;
    scheduler->scheduleUpdate(this, priority, !_running, [this](float dt) {
        if (!_updateScriptHandler) return;
        ScriptEngineProtocol* engine = ScriptEngineManager::getInstance()->getScriptEngine();
        if (!engine) return;
        SchedulerScriptData data(_updateScriptHandler, dt);
        ScriptEvent event(SCHEDULE_EVENT, &data);
        engine->sendEvent(&event);
    });
    _updateScheduled = true;
}

void Node::update(float) {}

}  // namespace engine
