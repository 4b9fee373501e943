#pragma once
// The director: owns the scheduler, the event dispatcher, the view and the running
// scene, and runs one frame per mainLoop().
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Types.h"

namespace engine {

class Scheduler;
class EventDispatcher;
class GLView;
class Scene;
class Console;
class ActionManager;
class Renderer;
class TextureCache;

enum class MATRIX_STACK_TYPE { MATRIX_STACK_MODELVIEW = 0, MATRIX_STACK_PROJECTION = 1 };

class Director {
public:
    static Director* getInstance();
    // Tears the singleton down (tests; the program never calls it): the scenes and
    // the view are released (without the view's end()), the autorelease pool drained.
    static void destroyInstance();

    // Retains the view (releasing the previous one) and sets the viewport up.
    void setOpenGLView(GLView* view);
    GLView* getOpenGLView() const { return _openGLView; }

    Scheduler* getScheduler() const { return _scheduler; }
    EventDispatcher* getEventDispatcher() const { return _eventDispatcher; }
    // Runs node actions; stepped by the scheduler before every other per-frame update.
    ActionManager* getActionManager() const { return _actionManager; }
    // The frame's render queue and statistics.
    Renderer* getRenderer() const { return _renderer; }
    // The process's texture cache (TextureCache::getInstance()).
    TextureCache* getTextureCache() const;
    // Lets the sprite-frame cache, then the texture cache, drop every entry that
    // nothing else holds (for a game answering a memory warning).
    void purgeCachedData();
    // Matrix stacks: the top is the current matrix. The projection is set to the
    // 2D projection of the win size at the start of every frame; the model-view top
    // follows the node being drawn. Popping the last matrix leaves it in place.
    void pushMatrix(MATRIX_STACK_TYPE type);
    void popMatrix(MATRIX_STACK_TYPE type);
    void loadIdentityMatrix(MATRIX_STACK_TYPE type);
    void loadMatrix(MATRIX_STACK_TYPE type, const Mat4& matrix);
    void multiplyMatrix(MATRIX_STACK_TYPE type, const Mat4& matrix);
    const Mat4& getMatrix(MATRIX_STACK_TYPE type) const;
    // Projection = orthographic over (0, 0) .. win size, z from -1024 to 1024.
    void setProjection2D();

    // The remote text console; it listens only when asked to. Main thread.
    Console* getConsole();

    // Frame pacing: the loop aims at one frame per interval (seconds).
    void setAnimationInterval(float interval);
    float getAnimationInterval() const { return _animationInterval; }
    // Animation runs from the start. While stopped, mainLoop() only polls the view's
    // events and drains the autorelease pool. Starting again makes the next clock
    // delta 0.
    void startAnimation();
    void stopAnimation();
    bool isAnimationRunning() const { return !_invalid; }

    // One frame: delta from the engine clock (0 on the first frame), the view's
    // events, the scheduler (which then runs the functions handed over from other
    // threads), the scene switch, drawing (clear, 2D projection, the running scene
    // visited into the renderer, the queued commands run), the view's swapBuffers,
    // the autorelease pool.
    // After end() was called, the next mainLoop() tears down instead: the running
    // scene gets onExit and cleanup and is released, every schedule is dropped, the
    // view gets end() and is released, the pool is drained and hasEnded() becomes
    // true. Further calls do nothing.
    void mainLoop();
    // Same as mainLoop() with the given delta instead of the clock's (tests).
    void mainLoop(float dt);
    void end();
    // A paused director draws its frames but runs nothing scheduled (timers,
    // updates, actions, functions handed over from other threads wait); resume
    // starts again with a zero delta, so the paused time is not caught up.
    void pause() { _paused = true; }
    void resume();
    bool isPaused() const { return _paused; }
    bool isEnding() const { return _purgeDirectorInNextLoop; }
    bool hasEnded() const { return _ended; }

    // The scene stack. Its top is the pending scene, else the running one; every
    // change takes effect in the scene-switch step of the next frame (after that
    // frame's scheduler update), when the new top gets onEnter and the old running
    // scene gets onExit, then cleanup and a release unless it stays on the stack.
    // runWithScene and replaceScene retain the scene and put it in the top's place
    // (a newer call before the switch replaces the pending scene). pushScene keeps
    // the top below the new scene: it leaves the screen without cleanup, so its
    // actions and schedules wait, and comes back as it was when popped to. A null
    // scene is refused with a log line.
    void runWithScene(Scene* scene);
    void replaceScene(Scene* scene);
    void pushScene(Scene* scene);
    // Drops the top; with nothing below it the director ends, as end() does.
    void popScene();
    // Keeps the bottom `level` scenes and drops the rest (cleaned up), the scene at
    // that level becoming the top; level 0 or less ends the director, a level at or
    // above the depth changes nothing. popToRootScene keeps the bottom scene.
    void popToSceneStackLevel(int level);
    void popToRootScene() { popToSceneStackLevel(1); }
    // The number of scenes on the stack, the top included.
    size_t getSceneStackDepth() const;
    Scene* getRunningScene() const { return _runningScene; }

    // Win size: the view's design resolution (or frame size without one); zero
    // without a view.
    Size getWinSize() const;
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    // The view's viewport covers the win size: view->setViewPortInPoints(0, 0, w, h).
    void setViewport();
    // Converts a point in view (frame) coordinates, y down from the frame's top-left
    // corner, to GL (design) coordinates, y up from the bottom-left corner:
    //   gl.x = (p.x - viewport.x) / scaleX
    //   gl.y = (frame.height - p.y - viewport.y) / scaleY
    // which, for the centred viewport, is winSize.height - (p.y - viewport.y) / scaleY.
    // Without a view: (p.x, winSize.height - p.y).
    Vec2 convertToGL(const Vec2& point) const;
    // The inverse of convertToGL: design points (y up) to view points (y down).
    Vec2 convertToUI(const Vec2& point) const;

    unsigned int getTotalFrames() const { return _totalFrames; }
    // The frame statistics overlay: the flag is kept for the game and read back; no
    // overlay is drawn (the renderer's figures are there for tools and tests).
    void setDisplayStats(bool display) { _displayStats = display; }
    bool isDisplayStats() const { return _displayStats; }
    // The ratio of texture pixels to design points; 1 unless the game sets it. Kept
    // for games that read it back to pick their art: textures are not rescaled by it.
    void setContentScaleFactor(float factor) { if (factor > 0.f) _contentScaleFactor = factor; }
    float getContentScaleFactor() const { return _contentScaleFactor; }
    float getDeltaTime() const { return _deltaTime; }

private:
    Director();
    ~Director();
    void drawScene(float dt);
    void render();
    void setNextScene();
    void purgeDirector();
    void releaseScenes();

    std::vector<Mat4>& stack(MATRIX_STACK_TYPE type) { return _matrixStacks[static_cast<int>(type)]; }

    Scheduler* _scheduler = nullptr;
    Renderer* _renderer = nullptr;
    std::vector<Mat4> _matrixStacks[2] = {{Mat4::IDENTITY}, {Mat4::IDENTITY}};
    EventDispatcher* _eventDispatcher = nullptr;
    ActionManager* _actionManager = nullptr;
    Console* _console = nullptr;
    GLView* _openGLView = nullptr;
    Scene* _runningScene = nullptr;
    Scene* _nextScene = nullptr;
    std::vector<Scene*> _sceneStack;   // retained; the scenes below the top, bottom first
    bool _displayStats = false;
    float _contentScaleFactor = 1.f;
    float _animationInterval = 1.0f / 60;
    float _deltaTime = 0.f;
    bool _invalid = false;
    bool _purgeDirectorInNextLoop = false;
    bool _ended = false;
    bool _paused = false;
    bool _haveLastTime = false;
    double _lastUpdate = 0;
    unsigned int _totalFrames = 0;
};

}  // namespace engine
