#include "engine/scene/TransitionScene.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Director.h"
#include "engine/scene/Layer.h"

namespace engine {

namespace {

void plainLook(Scene* scene, bool visible) {
    if (!scene) return;
    scene->setVisible(visible);
    scene->setPosition(0.f, 0.f);
    scene->setScale(1.f);
    scene->setRotation(0.f);
    scene->setOpacity(255);
}

}  // namespace

VEXO_TRANSITION_CREATE(TransitionScene)

bool TransitionScene::initWithDuration(float duration, Scene* scene) {
    Scene* running = Director::getInstance()->getRunningScene();
    if (!scene || scene == running || !Scene::init()) return false;
    _duration = std::max(duration, 0.f);
    _inScene = scene;
    _inScene->retain();
    _outScene = running;
    if (_outScene) _outScene->retain();
    return true;
}

TransitionScene::~TransitionScene() {
    if (_inScene) _inScene->release();
    if (_outScene) _outScene->release();
}

void TransitionScene::onEnter() {
    Scene::onEnter();
    if (_outScene) _outScene->onExitTransitionDidStart();
    _inScene->onEnter();
    apply(0.f);
    scheduleUpdate();
}

void TransitionScene::update(float delta) {
    if (_finished) return;
    _elapsed += delta;
    const float progress = _duration > 0.f ? std::min(_elapsed / _duration, 1.f) : 1.f;
    apply(progress);
    if (progress >= 1.f) finish();
}

void TransitionScene::finish() {
    if (_finished) return;
    _finished = true;
    unscheduleUpdate();
    plainLook(_inScene, true);
    plainLook(_outScene, false);
    Director::getInstance()->replaceScene(_inScene);
}

void TransitionScene::onExit() {
    Scene::onExit();
    if (_outScene && _outScene->isRunning()) _outScene->onExit();
    _inScene->onEnterTransitionDidFinish();
}

void TransitionScene::cleanup() {
    Scene::cleanup();
    if (_outScene) _outScene->cleanup();
}

void TransitionScene::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Scene* first = inSceneOnTop() ? _outScene : _inScene;
    Scene* second = inSceneOnTop() ? _inScene : _outScene;
    if (first) first->visit(renderer, transform, flags);
    if (second) second->visit(renderer, transform, flags);
}

// ---- Fade ----

TransitionFade* TransitionFade::create(float duration, Scene* scene) { return create(duration, scene, Color3B{}); }

TransitionFade* TransitionFade::create(float duration, Scene* scene, const Color3B& color) {
    auto* transition = new TransitionFade;
    const bool ready = transition->initWithDuration(duration, scene);
    if (ready) {
        transition->_overlay = LayerColor::create(Color4B{color.r, color.g, color.b, 0});
        transition->_overlay->retain();
        transition->addChild(transition->_overlay);
    }
    return autoreleased(transition, ready);
}

TransitionFade::~TransitionFade() {
    if (_overlay) _overlay->release();
}

void TransitionFade::apply(float progress) {
    const bool firstHalf = progress < 0.5f;
    if (_outScene) _outScene->setVisible(firstHalf);
    _inScene->setVisible(!firstHalf);
    const float cover = firstHalf ? progress * 2.f : (1.f - progress) * 2.f;
    _overlay->setOpacity(static_cast<uint8_t>(std::lround(std::clamp(cover, 0.f, 1.f) * 255.f)));
}

// ---- Cross fade ----

VEXO_TRANSITION_CREATE(TransitionCrossFade)

void TransitionCrossFade::apply(float progress) {
    if (_outScene) {
        _outScene->setCascadeOpacityEnabled(true);
        _outScene->setOpacity(static_cast<uint8_t>(std::lround((1.f - progress) * 255.f)));
    }
}

// ---- Slide and move in ----

void TransitionSlideIn::apply(float progress) {
    const Size size = Director::getInstance()->getWinSize();
    float dx = 0.f, dy = 0.f;   // where the incoming scene starts
    switch (_from) {
        case From::Left: dx = -size.width; break;
        case From::Right: dx = size.width; break;
        case From::Top: dy = size.height; break;
        case From::Bottom: dy = -size.height; break;
    }
    const float left = 1.f - progress;
    _inScene->setPosition(dx * left, dy * left);
    if (_pushOut && _outScene) _outScene->setPosition(-dx * progress, -dy * progress);
}

VEXO_TRANSITION_CREATE(TransitionSlideInL)
VEXO_TRANSITION_CREATE(TransitionSlideInR)
VEXO_TRANSITION_CREATE(TransitionSlideInT)
VEXO_TRANSITION_CREATE(TransitionSlideInB)
VEXO_TRANSITION_CREATE(TransitionMoveInL)
VEXO_TRANSITION_CREATE(TransitionMoveInR)
VEXO_TRANSITION_CREATE(TransitionMoveInT)
VEXO_TRANSITION_CREATE(TransitionMoveInB)

}  // namespace engine
