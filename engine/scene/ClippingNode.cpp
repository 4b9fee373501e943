#include "engine/scene/ClippingNode.h"

#include <algorithm>

namespace engine {

ClippingNode* ClippingNode::create() { return create(nullptr); }

ClippingNode* ClippingNode::create(Node* stencil) {
    auto* node = new ClippingNode;
    if (!node->init()) return autoreleased(node, false);
    node->setStencil(stencil);
    return autoreleased(node, true);
}

ClippingNode::~ClippingNode() {
    if (_stencil) _stencil->release();
}

void ClippingNode::setStencil(Node* stencil) {
    if (stencil == _stencil) return;
    if (stencil) stencil->retain();
    Node* old = _stencil;
    _stencil = stencil;
    if (old) {
        if (old->isRunning()) {
            old->onExitTransitionDidStart();
            old->onExit();
        }
        old->release();
    }
    if (stencil && isRunning() && !stencil->isRunning()) {
        stencil->onEnter();
        stencil->onEnterTransitionDidFinish();
    }
}

void ClippingNode::setAlphaThreshold(float threshold) {
    _alphaThreshold = threshold > 0.f ? std::min(threshold, 1.f) : 0.f;
}

void ClippingNode::onEnter() {
    Node::onEnter();
    if (_stencil && !_stencil->isRunning()) _stencil->onEnter();
}

void ClippingNode::onEnterTransitionDidFinish() {
    Node::onEnterTransitionDidFinish();
    if (_stencil) _stencil->onEnterTransitionDidFinish();
}

void ClippingNode::onExitTransitionDidStart() {
    if (_stencil) _stencil->onExitTransitionDidStart();
    Node::onExitTransitionDidStart();
}

void ClippingNode::onExit() {
    if (_stencil && _stencil->isRunning()) _stencil->onExit();
    Node::onExit();
}

void ClippingNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    if (!_stencil || !_stencil->isVisible()) {
        if (_inverted) Node::visit(renderer, parentTransform, parentFlags);
        return;
    }
    const bool inverted = _inverted;
    _beginStencil.init(getGlobalZOrder());
    _beginStencil.func = [renderer, inverted] { renderer->pushStencil(inverted); };
    renderer->addCommand(&_beginStencil);
    _stencil->visit(renderer, parentTransform * getNodeToParentTransform(), parentFlags);
    _endStencilDrawing.init(getGlobalZOrder());
    _endStencilDrawing.func = [renderer] { renderer->endStencilDrawing(); };
    renderer->addCommand(&_endStencilDrawing);
    Node::visit(renderer, parentTransform, parentFlags);
    _endStencil.init(getGlobalZOrder());
    _endStencil.func = [renderer] { renderer->popStencil(); };
    renderer->addCommand(&_endStencil);
}

}  // namespace engine
