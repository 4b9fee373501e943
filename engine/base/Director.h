#pragma once
// The director: owns the scheduler, the event dispatcher, the view and the running
// scene, and runs one frame per mainLoop().
#include "engine/base/Types.h"

namespace engine {

class Scheduler;
class EventDispatcher;
class GLView;
class Scene;

class Director {
public:
    static Director* getInstance();
    // Tears the singleton down (tests; the program never calls it).
    static void destroyInstance();

    void setOpenGLView(GLView* view);   // retains it
    GLView* getOpenGLView() const { return _openGLView; }

    Scheduler* getScheduler() const { return _scheduler; }
    EventDispatcher* getEventDispatcher() const { return _eventDispatcher; }

    // Frame pacing: the loop aims at one frame per interval (seconds).
    void setAnimationInterval(float interval);
    float getAnimationInterval() const { return _animationInterval; }
    void startAnimation();
    void stopAnimation();
    bool isAnimationRunning() const { return !_invalid; }

    // One frame: delta from the engine clock, events, scheduler, scene switch,
    // autorelease pool. After end() was called, the next mainLoop() tears down the
    // view and scene and the loop stops (isEnding() is true).
    void mainLoop();
    // Same as mainLoop() with the given delta instead of the clock's (tests).
    void mainLoop(float dt);
    void end();
    bool isEnding() const { return _purgeDirectorInNextLoop; }
    bool hasEnded() const { return _ended; }

    void runWithScene(Scene* scene);
    void replaceScene(Scene* scene);    // takes effect at the next frame
    Scene* getRunningScene() const { return _runningScene; }

    // Win size: the view's design resolution (or frame size without one).
    Size getWinSize() const;
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    void setViewport();
    // Converts a point in view (frame) coordinates, y down, to GL coordinates, y up.
    Vec2 convertToGL(const Vec2& point) const;

    unsigned int getTotalFrames() const { return _totalFrames; }
    float getDeltaTime() const { return _deltaTime; }

private:
    Director();
    ~Director();
    void drawScene(float dt);
    void setNextScene();
    void purgeDirector();

    Scheduler* _scheduler = nullptr;
    EventDispatcher* _eventDispatcher = nullptr;
    GLView* _openGLView = nullptr;
    Scene* _runningScene = nullptr;
    Scene* _nextScene = nullptr;
    float _animationInterval = 1.0f / 60;
    float _deltaTime = 0.f;
    bool _invalid = true;
    bool _purgeDirectorInNextLoop = false;
    bool _ended = false;
    bool _haveLastTime = false;
    double _lastUpdate = 0;
    unsigned int _totalFrames = 0;
};

}  // namespace engine
