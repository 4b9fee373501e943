// Touch delivery: listener order by drawing order, claiming and swallowing,
// listeners that change while a touch is delivered, and the mouse as touch 0.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/InputEvents.h"
#include "engine/input/Touch.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "platform/Mouse.h"
#include "platform/NativeWindow.h"
#include "platform/Window.h"

using engine::Director;
using engine::EventListenerTouchOneByOne;
using engine::Node;

namespace {

struct TouchTest : ::testing::Test {
    TouchTest() {
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);   // the scene becomes the running one
    }
    ~TouchTest() override {
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }
    // A named node under `parent` whose listener logs "<phase> <name>" and claims
    // (and swallows) as asked.
    Node* listening(Node* parent, const std::string& name, int z, bool claim, bool swallow) {
        Node* node = Node::create();
        node->setName(name);
        parent->addChild(node, z);
        auto* listener = EventListenerTouchOneByOne::create();
        listener->setSwallowTouches(swallow);
        listener->onTouchBegan = [this, name, claim](engine::Touch*, engine::Event*) {
            log.push_back("began " + name);
            return claim;
        };
        listener->onTouchMoved = [this, name](engine::Touch*, engine::Event*) { log.push_back("moved " + name); };
        listener->onTouchEnded = [this, name](engine::Touch*, engine::Event*) { log.push_back("ended " + name); };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, node);
        return node;
    }
    void touch(engine::GLView& view) {
        view.handleTouchBegin(1, 10, 10);
        view.handleTouchMove(1, 12, 10);
        view.handleTouchEnd(1, 12, 10);
    }

    engine::Scene* scene = nullptr;
    std::vector<std::string> log;
};

// A bare view: its touch entries need no window.
struct BareView : engine::GLView {};

TEST_F(TouchTest, TheTopMostNodeHearsFirstAndClaimsDecideTheRest) {
    struct Case {
        const char* name;
        bool claimB, swallowB, claimC;
        std::vector<std::string> log;
    };
    // Drawing order: a (z 0) with its child c (z -1, drawn before a), then b (z 1).
    const Case cases[] = {
        {"nobody claims", false, false, false, {"began b", "began a", "began c"}},
        {"b swallows", true, true, true, {"began b", "moved b", "ended b"}},
        {"b claims, c too", true, false, true,
         {"began b", "began a", "began c", "moved b", "moved c", "ended b", "ended c"}},
    };
    for (const Case& c : cases) {
        log.clear();
        scene->removeAllChildren();
        Node* a = listening(scene, "a", 0, false, false);
        listening(scene, "b", 1, c.claimB, c.swallowB);
        listening(a, "c", -1, c.claimC, false);
        BareView view;
        touch(view);
        EXPECT_EQ(log, c.log) << c.name;
    }
}

// Several listeners per node, added interleaved across nodes: nodes in drawing
// order, a node's listeners in the order they were added.
TEST_F(TouchTest, ListenersOfOneNodeHearInTheOrderAdded) {
    Node* back = Node::create();
    Node* front = Node::create();
    scene->addChild(front, 1);
    scene->addChild(back, 0);
    const auto listen = [this](Node* node, const std::string& name) {
        auto* listener = EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this, name](engine::Touch*, engine::Event*) {
            log.push_back(name);
            return false;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, node);
    };
    for (const auto& [node, name] : std::vector<std::pair<Node*, std::string>>{
             {back, "back 1"}, {front, "front 1"}, {back, "back 2"}, {front, "front 2"}, {back, "back 3"}}) {
        listen(node, name);
    }
    BareView view;
    view.handleTouchBegin(1, 10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"front 1", "front 2", "back 1", "back 2", "back 3"}));
}

// The order found for one touch is kept for the next only while nothing that
// decides it changed: each change between two touches shows in the second.
TEST_F(TouchTest, TheOrderFollowsEveryChangeBetweenTouches) {
    struct Case {
        const char* what;
        std::function<void(Node* a, Node* b)> change;
        std::vector<std::string> log;
    };
    engine::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    const Case cases[] = {
        {"nothing", [](Node*, Node*) {}, {"began b", "began a"}},
        {"local z-order", [](Node*, Node* b) { b->setLocalZOrder(-1); }, {"began a", "began b"}},
        {"global z-order", [](Node* a, Node*) { a->setGlobalZOrder(1); }, {"began a", "began b"}},
        {"a listening node added", [this](Node*, Node*) { listening(scene, "c", 2, false, false); },
         {"began c", "began b", "began a"}},
        {"a node removed", [this](Node*, Node* b) { scene->removeChild(b); }, {"began a"}},
        {"a listener removed",
         [dispatcher](Node* a, Node*) { dispatcher->removeEventListenersForTarget(a); }, {"began b"}},
        {"a node moved under another", [this](Node* a, Node* b) {
             a->retain();
             scene->removeChild(a, false);
             b->addChild(a, 1);
             a->release();
         }, {"began a", "began b"}},
        {"another scene", [this](Node*, Node*) {
             engine::Scene* next = engine::Scene::create();
             listening(next, "d", 0, false, false);
             Director::getInstance()->replaceScene(next);
             Director::getInstance()->mainLoop(0.f);
             scene = next;
         }, {"began d"}},
    };
    engine::Scene* first = scene;
    first->retain();   // kept while another scene runs
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene = first;
        if (Director::getInstance()->getRunningScene() != first) {
            Director::getInstance()->replaceScene(first);
            Director::getInstance()->mainLoop(0.f);
        }
        scene->removeAllChildren();
        Node* a = listening(scene, "a", 0, false, false);
        Node* b = listening(scene, "b", 1, false, false);
        BareView view;
        view.handleTouchBegin(1, 10, 10);
        view.handleTouchEnd(1, 10, 10);
        log.clear();
        c.change(a, b);
        view.handleTouchBegin(1, 10, 10);
        view.handleTouchEnd(1, 10, 10);
        EXPECT_EQ(log, c.log);
    }
    first->release();
}

TEST_F(TouchTest, OnlyRunningNodesHearAndChangesDuringATouchAreSafe) {
    Node* detached = Node::create();
    detached->retain();
    listening(detached, "off stage", 0, true, false);   // its parent is not in the scene

    Node* top = listening(scene, "top", 1, false, false);
    Node* below = listening(scene, "below", 0, true, false);
    // A second listener of the top node removes the node below, and with it its
    // listener, while the touch is being delivered.
    auto* remover = EventListenerTouchOneByOne::create();
    remover->onTouchBegan = [&, below](engine::Touch*, engine::Event*) {
        scene->removeChild(below);
        return false;
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(remover, top);
    BareView view;
    touch(view);
    EXPECT_EQ(log, std::vector<std::string>{"began top"});

    detached->release();   // destroyed with a registered listener: nothing dangles
    log.clear();
    touch(view);
    EXPECT_EQ(log, std::vector<std::string>{"began top"});
}

// A claimed touch is known by its id: a script may send each phase in a new
// Touch object of the same id.
TEST_F(TouchTest, AClaimedTouchIsKnownByItsId) {
    listening(scene, "n", 0, true, false);
    struct Phase {
        engine::EventTouch::EventCode code;
        int id;
    };
    const Phase phases[] = {
        {engine::EventTouch::EventCode::BEGAN, 3},
        {engine::EventTouch::EventCode::MOVED, 4},   // never claimed
        {engine::EventTouch::EventCode::MOVED, 3},
        {engine::EventTouch::EventCode::ENDED, 3},
        {engine::EventTouch::EventCode::ENDED, 3},   // no longer claimed
    };
    for (const Phase& phase : phases) {
        auto* touch = new engine::Touch;
        touch->setTouchInfo(phase.id, 10, 10);
        engine::EventTouch event;
        event.setEventCode(phase.code);
        event.setTouches({touch});
        Director::getInstance()->getEventDispatcher()->dispatchTouchEvent(&event);
        touch->release();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"began n", "moved n", "ended n"}));
}

// A screen of many buttons leaves (and quits) in time linear in its listeners.
TEST_F(TouchTest, ManyListeningNodesLeaveInBoundedTime) {
    constexpr int kNodes = 60000;
    Node* screen = Node::create();
    scene->addChild(screen);
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    for (int i = 0; i < kNodes; ++i) {
        Node* button = Node::create();
        screen->addChild(button);
        auto* listener = EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [](engine::Touch*, engine::Event*) { return false; };
        dispatcher->addEventListenerWithSceneGraphPriority(listener, button);
    }
    engine::AutoreleasePool::getInstance()->clear();
    const auto start = std::chrono::steady_clock::now();
    scene->removeChild(screen);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(2));
    EXPECT_TRUE(dispatcher->touchListenersInOrder().empty());
}

TEST_F(TouchTest, TheLeftMouseButtonIsTouchZeroInDesignPoints) {
    engine::GLViewImpl* view = engine::GLViewImpl::createWithRect("touch", engine::Rect(0, 0, 200, 100), 2.f);
    ASSERT_NE(view, nullptr);
    Director::getInstance()->setOpenGLView(view);
    view->setDesignResolutionSize(200, 100, engine::ResolutionPolicy::EXACT_FIT);
    std::vector<engine::Vec2> points;
    Node* node = Node::create();
    scene->addChild(node);
    auto* listener = EventListenerTouchOneByOne::create();
    listener->onTouchBegan = [&](engine::Touch* t, engine::Event*) {
        points.push_back(t->getLocation());
        return true;
    };
    listener->onTouchMoved = [&](engine::Touch* t, engine::Event*) { points.push_back(t->getLocation()); };
    listener->onTouchEnded = [&](engine::Touch* t, engine::Event*) { points.push_back(t->getStartLocation()); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, node);

    const platform::HWND hwnd = view->getWin32Window();
    platform::sendMessage(hwnd, platform::WM_MOUSEMOVE, 0, platform::makeLParam(50, 50));   // not held: nothing
    platform::sendMessage(hwnd, platform::WM_LBUTTONDOWN, 1, platform::makeLParam(40, 20));
    platform::sendMessage(hwnd, platform::WM_MOUSEMOVE, 1, platform::makeLParam(100, 60));
    platform::sendMessage(hwnd, platform::WM_LBUTTONUP, 0, platform::makeLParam(100, 60));
    platform::sendMessage(hwnd, platform::WM_LBUTTONUP, 0, platform::makeLParam(100, 60));   // no touch down
    // Window pixels over the zoom of 2 give view points; y turns upwards.
    const std::vector<engine::Vec2> expected = {{20, 90}, {50, 70}, {20, 90}};
    ASSERT_EQ(points.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(points[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(points[i].y, expected[i].y) << i;
    }
}

// Every mouse message of the window becomes one mouse event carrying the cursor
// in design points (window pixels over the zoom, the letterbox bar taken out, y
// up); the left button is touch 0 as well, and holds the capture while down.
TEST_F(TouchTest, MouseMessagesBecomeMouseEventsInDesignPoints) {
    // Client area 400 x 200 at zoom 2; the 100 x 100 design area shows whole at
    // scale 1 between bars 50 points wide.
    engine::GLViewImpl* view = engine::GLViewImpl::createWithRect("mouse", engine::Rect(0, 0, 200, 100), 2.f);
    ASSERT_NE(view, nullptr);
    Director::getInstance()->setOpenGLView(view);
    view->setDesignResolutionSize(100, 100, engine::ResolutionPolicy::SHOW_ALL);
    auto note = [this](const char* format, auto... values) {
        char line[96];
        std::snprintf(line, sizeof line, format, values...);
        log.push_back(line);
    };
    auto* mouse = engine::EventListenerMouse::create();
    auto onMouse = [&](engine::Event* event) {
        auto* e = static_cast<engine::EventMouse*>(event);
        note("mouse %d %d %g,%g %g", static_cast<int>(e->getMouseEventType()), e->getMouseButton(),
             static_cast<double>(e->getCursorX()), static_cast<double>(e->getCursorY()),
             static_cast<double>(e->getScrollY()));
    };
    mouse->onMouseDown = mouse->onMouseUp = mouse->onMouseMove = mouse->onMouseScroll = onMouse;
    Node* node = Node::create();
    scene->addChild(node);
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    dispatcher->addEventListenerWithSceneGraphPriority(mouse, node);
    auto* touch = EventListenerTouchOneByOne::create();
    touch->onTouchBegan = [&](engine::Touch* t, engine::Event*) {
        note("began %g,%g", static_cast<double>(t->getLocation().x), static_cast<double>(t->getLocation().y));
        return true;
    };
    touch->onTouchMoved = [&](engine::Touch* t, engine::Event*) {
        note("moved %g,%g", static_cast<double>(t->getLocation().x), static_cast<double>(t->getLocation().y));
    };
    touch->onTouchEnded = [&](engine::Touch*, engine::Event*) { note("ended"); };
    dispatcher->addEventListenerWithSceneGraphPriority(touch, node);

    using platform::makeLParam;
    struct Case {
        platform::UINT msg;
        platform::WPARAM wParam;
        platform::LPARAM lParam;
        std::vector<std::string> seen;
        bool captured;
    };
    const Case cases[] = {
        {platform::WM_MOUSEMOVE, 0, makeLParam(240, 40), {"mouse 3 -1 70,80 0"}, false},
        {platform::WM_RBUTTONDOWN, 0, makeLParam(200, 100), {"mouse 1 1 50,50 0"}, false},
        {platform::WM_RBUTTONUP, 0, makeLParam(200, 100), {"mouse 2 1 50,50 0"}, false},
        {platform::WM_MBUTTONDOWN, 0, makeLParam(120, 180), {"mouse 1 2 10,10 0"}, false},
        {platform::WM_MBUTTONUP, 0, makeLParam(120, 180), {"mouse 2 2 10,10 0"}, false},
        {platform::WM_LBUTTONDOWN, 1, makeLParam(200, 100), {"mouse 1 0 50,50 0", "began 50,50"}, true},
        {platform::WM_MOUSEMOVE, 1, makeLParam(240, 40), {"mouse 3 0 70,80 0", "moved 70,80"}, true},
        // On the left bar: outside the design area, still in the window.
        {platform::WM_LBUTTONUP, 0, makeLParam(40, 40), {"mouse 2 0 -30,80 0", "ended"}, false},
        {platform::WM_LBUTTONUP, 0, makeLParam(40, 40), {"mouse 2 0 -30,80 0"}, false},
        // Two notches turned away from the user, then one towards: at the last cursor.
        {platform::WM_MOUSEWHEEL, static_cast<platform::WPARAM>(makeLParam(0, 240)), makeLParam(9, 9),
         {"mouse 4 -1 -30,80 -2"}, false},
        {platform::WM_MOUSEWHEEL, static_cast<platform::WPARAM>(makeLParam(0, -120)), makeLParam(9, 9),
         {"mouse 4 -1 -30,80 1"}, false},
    };
    const platform::HWND hwnd = view->getWin32Window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seen.front());
        log.clear();
        EXPECT_EQ(platform::sendMessage(hwnd, c.msg, c.wParam, c.lParam), 0);
        EXPECT_EQ(log, c.seen);
        EXPECT_EQ(platform::getCapture() == hwnd, c.captured);
    }
}

}  // namespace
