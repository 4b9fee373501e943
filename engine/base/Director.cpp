#include "engine/base/Director.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>

#include "engine/actions/ActionManager.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Clock.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/base/Utils.h"
#include "engine/app/GLView.h"
#include "engine/console/Console.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionScene.h"

namespace engine {
namespace {
// Worker threads reach the scheduler through getInstance() to hand results over,
// so the first use may come from any thread.
std::atomic<Director*> g_director{nullptr};
std::mutex g_directorMutex;
}  // namespace

Director* Director::getInstance() {
    Director* director = g_director.load(std::memory_order_acquire);
    if (director) return director;
    std::lock_guard<std::mutex> lock(g_directorMutex);
    director = g_director.load(std::memory_order_relaxed);
    if (!director) {
        director = new Director;
        g_director.store(director, std::memory_order_release);
    }
    return director;
}

void Director::destroyInstance() {
    Director* director = g_director.exchange(nullptr);
    delete director;
}

Director::Director()
    : _scheduler(new Scheduler),
      _renderer(new Renderer),
      _eventDispatcher(new EventDispatcher),
      _actionManager(new ActionManager) {
    ActionManager* actions = _actionManager;
    _scheduler->scheduleUpdate(actions, std::numeric_limits<int>::min(), false,
                               [actions](float dt) { actions->update(dt); });
}

Console* Director::getConsole() {
    if (!_console) _console = new Console;
    return _console;
}

Director::~Director() {
    // While tearing down, getInstance() would make a new director: keep the
    // scheduler reachable through this one until the scenes are gone.
    Director* previous = g_director.exchange(this);
    releaseScenes();
    if (_openGLView) {
        _openGLView->release();
        _openGLView = nullptr;
    }
    AutoreleasePool::getInstance()->clear();
    g_director.store(previous);
    delete _console;   // stops its thread
    _scheduler->unscheduleUpdate(_actionManager);
    _actionManager->release();
    _scheduler->release();
    _eventDispatcher->release();
    delete _renderer;
}

void Director::releaseScenes() {
    std::vector<Scene*> stacked;
    stacked.swap(_sceneStack);
    for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
        Scene* scene = *it;
        if (scene != _runningScene) {
            if (scene->isRunning()) scene->onExit();
            scene->cleanup();
        }
        scene->release();
    }
    if (_runningScene) {
        Scene* old = _runningScene;
        _runningScene = nullptr;
        if (old->isRunning()) old->onExit();
        old->cleanup();
        old->release();
    }
    if (_nextScene) {
        Scene* pending = _nextScene;
        _nextScene = nullptr;
        pending->release();
    }
}

void Director::setOpenGLView(GLView* view) {
    if (view == _openGLView) return;
    if (view) view->retain();
    GLView* old = _openGLView;
    _openGLView = view;
    if (old) old->release();
    setViewport();
}

void Director::setAnimationInterval(float interval) { _animationInterval = interval; }

void Director::startAnimation() {
    _invalid = false;
    _haveLastTime = false;
}

void Director::stopAnimation() { _invalid = true; }

void Director::end() {
    if (!_ended) _purgeDirectorInNextLoop = true;
}

void Director::mainLoop() {
    if (_purgeDirectorInNextLoop || _ended || _invalid) {
        mainLoop(0.f);
        return;
    }
    double now = Clock::nowSeconds();
    float dt = 0.f;
    if (_haveLastTime && now > _lastUpdate) dt = static_cast<float>(now - _lastUpdate);
    _lastUpdate = now;
    _haveLastTime = true;
    drawScene(dt);
    AutoreleasePool::getInstance()->clear();
}

void Director::mainLoop(float dt) {
    if (_purgeDirectorInNextLoop) {
        _purgeDirectorInNextLoop = false;
        purgeDirector();
        return;
    }
    if (_ended) return;
    if (_invalid) {
        if (_openGLView) _openGLView->pollEvents();
        AutoreleasePool::getInstance()->clear();
        return;
    }
    // A clock-driven frame after this one measures from here.
    _lastUpdate = Clock::nowSeconds();
    _haveLastTime = true;
    drawScene(dt);
    AutoreleasePool::getInstance()->clear();
}

void Director::drawScene(float dt) {
    if (_openGLView) _openGLView->pollEvents();
    _deltaTime = _paused ? 0.f : dt;
    if (!_paused) _scheduler->update(dt);
    if (_nextScene) setNextScene();
    render();
    // The view may be gone if a callback replaced it; read it again.
    if (_openGLView) _openGLView->swapBuffers();
    ++_totalFrames;
}

void Director::render() {
    const GLFunctions& gl = GL::fn();
    if (gl.hasContext && _openGLView) {
        const Rect& port = _openGLView->getLastViewPort();
        gl.viewport(static_cast<GLint>(port.origin.x), static_cast<GLint>(port.origin.y),
                    static_cast<GLsizei>(port.size.width), static_cast<GLsizei>(port.size.height));
    }
    gl.clearColor(0, 0, 0, 1);
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    _renderer->clearDrawStats();
    setProjection2D();
    loadIdentityMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    if (_runningScene) {
        // A command may drop the scene (a handler replacing it): keep it for the frame.
        Scene* scene = _runningScene;
        scene->retain();
        scene->visit(_renderer, Mat4::IDENTITY, 0);
        _renderer->render();
        scene->release();
    }
    utils::captureRenderedFrame();
}

void Director::pushMatrix(MATRIX_STACK_TYPE type) {
    auto& s = stack(type);
    s.push_back(s.back());
}

void Director::popMatrix(MATRIX_STACK_TYPE type) {
    auto& s = stack(type);
    if (s.size() > 1) s.pop_back();
}

void Director::loadIdentityMatrix(MATRIX_STACK_TYPE type) { stack(type).back() = Mat4::IDENTITY; }

void Director::loadMatrix(MATRIX_STACK_TYPE type, const Mat4& matrix) { stack(type).back() = matrix; }

void Director::multiplyMatrix(MATRIX_STACK_TYPE type, const Mat4& matrix) { stack(type).back() *= matrix; }

const Mat4& Director::getMatrix(MATRIX_STACK_TYPE type) const {
    return _matrixStacks[static_cast<int>(type)].back();
}

void Director::setProjection2D() {
    Size size = getWinSize();
    Mat4 projection;
    if (size.width > 0 && size.height > 0)
        Mat4::createOrthographicOffCenter(0, size.width, 0, size.height, -1024, 1024, &projection);
    loadMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_PROJECTION, projection);
}

void Director::setNextScene() {
    Scene* next = _nextScene;
    _nextScene = nullptr;
    Scene* old = _runningScene;
    _runningScene = next;
    // A transition takes the running scene out itself, over its time; the scene it
    // brought in has entered already when it hands over.
    const bool nextIsTransition = dynamic_cast<TransitionScene*>(next) != nullptr;
    // A scene still on the stack only leaves the screen.
    const bool stacked = std::find(_sceneStack.begin(), _sceneStack.end(), old) != _sceneStack.end();
    if (old) {
        if (stacked) {
            if (old->isRunning()) {
                old->onExitTransitionDidStart();
                old->onExit();
            }
        } else if (!nextIsTransition) {
            if (old->isRunning()) {
                old->onExitTransitionDidStart();
                old->onExit();
            }
            old->cleanup();
        }
        old->release();
    }
    if (!next->isRunning()) {
        next->onEnter();
        next->onEnterTransitionDidFinish();
    }
}

void Director::purgeDirector() {
    releaseScenes();
    _scheduler->unscheduleAll();
    _invalid = true;
    if (_openGLView) {
        GLView* view = _openGLView;
        _openGLView = nullptr;
        view->end();
        view->release();
    }
    AutoreleasePool::getInstance()->clear();
    _ended = true;
}

void Director::resume() {
    if (!_paused) return;
    _paused = false;
    _haveLastTime = false;
}

void Director::runWithScene(Scene* scene) { replaceScene(scene); }

void Director::replaceScene(Scene* scene) {
    if (!scene) {
        log("Director: null scene ignored");
        return;
    }
    if (scene == _nextScene) return;
    scene->retain();
    if (_nextScene) _nextScene->release();
    _nextScene = scene;
}

void Director::pushScene(Scene* scene) {
    if (!scene) {
        log("Director: null scene ignored");
        return;
    }
    Scene* top = _nextScene ? _nextScene : _runningScene;
    if (!top) {
        replaceScene(scene);
        return;
    }
    if (scene == top) return;
    scene->retain();
    // The stack takes over the pending scene's reference.
    if (top != _nextScene) top->retain();
    _sceneStack.push_back(top);
    _nextScene = scene;
}

void Director::popScene() {
    if (_sceneStack.empty()) {
        end();
        return;
    }
    Scene* below = _sceneStack.back();
    _sceneStack.pop_back();
    if (_nextScene) _nextScene->release();
    // The stack's reference becomes the pending scene's.
    _nextScene = below;
    if (below == _runningScene) {
        // Back to the scene on the screen before the switch: nothing changes hands.
        _nextScene = nullptr;
        below->release();
    }
}

void Director::popToSceneStackLevel(int level) {
    if (level <= 0) {
        end();
        return;
    }
    if (static_cast<size_t>(level) >= getSceneStackDepth()) return;
    while (_sceneStack.size() > static_cast<size_t>(level)) {
        Scene* dropped = _sceneStack.back();
        _sceneStack.pop_back();
        if (dropped != _runningScene) {
            if (dropped->isRunning()) dropped->onExit();
            dropped->cleanup();
        }
        dropped->release();
    }
    popScene();
}

size_t Director::getSceneStackDepth() const {
    return _sceneStack.size() + ((_nextScene || _runningScene) ? 1 : 0);
}

TextureCache* Director::getTextureCache() const { return TextureCache::getInstance(); }

void Director::purgeCachedData() {
    SpriteFrameCache::getInstance()->removeUnusedSpriteFrames();
    TextureCache::getInstance()->removeUnusedTextures();
}

Size Director::getWinSize() const {
    if (!_openGLView) return Size::ZERO;
    const Size& design = _openGLView->getDesignResolutionSize();
    if (design.width > 0.f && design.height > 0.f) return design;
    return _openGLView->getFrameSize();
}

Size Director::getVisibleSize() const {
    return _openGLView ? _openGLView->getVisibleSize() : getWinSize();
}

Vec2 Director::getVisibleOrigin() const {
    return _openGLView ? _openGLView->getVisibleOrigin() : Vec2::ZERO;
}

void Director::setViewport() {
    if (!_openGLView) return;
    Size win = getWinSize();
    _openGLView->setViewPortInPoints(0, 0, win.width, win.height);
}

Vec2 Director::convertToGL(const Vec2& point) const {
    if (!_openGLView) return Vec2(point.x, getWinSize().height - point.y);
    const Rect& viewport = _openGLView->getViewPortRect();
    const Size& frame = _openGLView->getFrameSize();
    return Vec2((point.x - viewport.origin.x) / _openGLView->getScaleX(),
                (frame.height - point.y - viewport.origin.y) / _openGLView->getScaleY());
}

Vec2 Director::convertToUI(const Vec2& point) const {
    if (!_openGLView) return Vec2(point.x, getWinSize().height - point.y);
    const Rect& viewport = _openGLView->getViewPortRect();
    const Size& frame = _openGLView->getFrameSize();
    return Vec2(point.x * _openGLView->getScaleX() + viewport.origin.x,
                frame.height - viewport.origin.y - point.y * _openGLView->getScaleY());
}

}  // namespace engine
