// The scene graph: child order, lookup, enter/exit and cleanup.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/Component.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "support/TestSupport.h"

using engine::Node;

namespace {

std::vector<std::string> names(const Node* parent) {
    std::vector<std::string> out;
    for (const Node* child : parent->getChildren()) out.push_back(child->getName());
    return out;
}

Node* named(const std::string& name) {
    Node* node = Node::create();
    node->setName(name);
    return node;
}

struct NodeTest : ::testing::Test {
    ~NodeTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

TEST_F(NodeTest, ChildrenAreOrderedByZOrderStably) {
    struct Add {
        const char* name;
        int z;
    };
    const Add adds[] = {{"a", 0}, {"b", -1}, {"c", 1}, {"d", 0}, {"e", -1}, {"f", 1}};
    Node* parent = Node::create();
    for (const Add& add : adds) parent->addChild(named(add.name), add.z);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"b", "e", "a", "d", "c", "f"}));

    // A new z-order puts the child after the siblings of the same or a lower one.
    parent->getChildByName("b")->setLocalZOrder(0);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"e", "a", "d", "b", "c", "f"}));
}

TEST_F(NodeTest, LookupByTagAndName) {
    Node* parent = Node::create();
    Node* tagged = named("first");
    tagged->setTag(5);
    parent->addChild(tagged);              // keeps its own tag
    parent->addChild(named("second"), 0, 9);
    parent->addChild(named("second"), 0, 9);
    EXPECT_EQ(parent->getChildByTag(5), tagged);
    EXPECT_EQ(parent->getChildByTag(9), parent->getChildren()[1]);
    EXPECT_EQ(parent->getChildByName("second"), parent->getChildren()[1]);
    EXPECT_EQ(parent->getChildByTag(1), nullptr);
    EXPECT_EQ(parent->getChildByName("missing"), nullptr);
}

TEST_F(NodeTest, ParentsRetainChildrenAndReleaseThemOnRemoval) {
    Node* parent = Node::create();
    Node* child = Node::create();
    parent->addChild(child);
    parent->retain();
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(child->getReferenceCount(), 1u);
    EXPECT_EQ(child->getParent(), parent);

    child->retain();
    child->removeFromParent();
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_EQ(parent->getChildrenCount(), 0u);
    EXPECT_EQ(child->getReferenceCount(), 1u);

    testsupport::LogCapture log;
    Node* other = Node::create();
    other->addChild(child);
    parent->addChild(child);   // already has a parent: refused
    parent->addChild(parent);
    parent->addChild(nullptr);
    EXPECT_EQ(child->getParent(), other);
    EXPECT_EQ(parent->getChildrenCount(), 0u);
    EXPECT_EQ(log.lines().size(), 3u);
    child->release();
    parent->release();
}

// An ancestor has no parent of its own when it is the root, so only a walk up the
// tree can refuse it; accepted, it would make a cycle that cleanup() never leaves.
TEST_F(NodeTest, NoNodeJoinsItsOwnDescendant) {
    Node* root = named("root");
    Node* a = named("a");
    Node* b = named("b");
    Node* c = named("c");
    root->addChild(a);
    a->addChild(b);
    b->addChild(c);
    testsupport::LogCapture log;
    for (Node* descendant : {a, b, c}) {
        SCOPED_TRACE(descendant->getName());
        const size_t logged = log.lines().size();
        descendant->addChild(root);
        EXPECT_EQ(root->getParent(), nullptr);
        EXPECT_EQ(log.lines().size(), logged + 1);
    }
    EXPECT_EQ(names(root), (std::vector<std::string>{"a"}));
    EXPECT_EQ(names(b), (std::vector<std::string>{"c"}));
    EXPECT_TRUE(c->getChildren().empty());
    root->cleanup();

    // Detached, the same nodes may be arranged the other way round.
    root->retain();
    a->removeFromParent();
    a->retain();
    engine::AutoreleasePool::getInstance()->clear();
    c->addChild(root);
    EXPECT_EQ(root->getParent(), c);
    a->release();
    root->release();
}

TEST_F(NodeTest, EnterAndExitFollowTheParent) {
    Node* root = Node::create();
    Node* child = Node::create();
    Node* grandchild = Node::create();
    child->addChild(grandchild);
    root->addChild(child);
    EXPECT_FALSE(grandchild->isRunning());

    root->onEnter();
    EXPECT_TRUE(child->isRunning());
    EXPECT_TRUE(grandchild->isRunning());
    Node* late = Node::create();
    child->addChild(late);   // joining a running node enters at once
    EXPECT_TRUE(late->isRunning());

    late->retain();
    child->removeChild(late);
    EXPECT_FALSE(late->isRunning());
    late->release();

    root->onExit();
    EXPECT_FALSE(root->isRunning());
    EXPECT_FALSE(grandchild->isRunning());
}

TEST_F(NodeTest, CleanupUnschedulesTheNodeAndItsChildren) {
    auto* scheduler = engine::Director::getInstance()->getScheduler();
    Node* parent = Node::create();
    Node* child = Node::create();
    Node* kept = Node::create();
    parent->addChild(child);
    parent->addChild(kept);
    int calls = 0;
    scheduler->schedule([&](float) { ++calls; }, parent, 0.f, false, "p");
    scheduler->scheduleUpdate(child, 0, false, [&](float) { ++calls; });
    scheduler->schedule([&](float) { ++calls; }, kept, 0.f, false, "k");

    kept->retain();
    parent->removeChild(kept, false);   // removed without cleanup: still scheduled
    parent->cleanup();
    scheduler->update(0.1f);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(scheduler->isScheduled("p", parent));
    EXPECT_FALSE(scheduler->isUpdateScheduled(child));
    scheduler->unscheduleAllForTarget(kept);
    kept->release();
}

// Records what its node tells it.
struct Recorder : engine::Component {
    static Recorder* make(const std::string& name) {
        auto* recorder = new Recorder;
        recorder->setName(name);
        recorder->autorelease();
        return recorder;
    }
    void onAdd() override { log += "add "; }
    void onRemove() override { log += "remove "; }
    void onEnter() override { log += "enter "; }
    void onExit() override { log += "exit "; }
    void update(float) override { ++updates; }
    std::string log;
    int updates = 0;
};

TEST_F(NodeTest, ComponentsFollowTheirNode) {
    auto* scheduler = engine::Director::getInstance()->getScheduler();
    Node* node = Node::create();
    Recorder* body = Recorder::make("body");
    EXPECT_FALSE(node->addComponent(nullptr));
    ASSERT_TRUE(node->addComponent(body));
    EXPECT_EQ(body->getOwner(), node);
    EXPECT_FALSE(node->addComponent(Recorder::make("body")));  // the name is taken
    EXPECT_FALSE(Node::create()->addComponent(body));           // attached elsewhere
    EXPECT_EQ(node->getComponent("body"), body);

    scheduler->update(0.1f);
    EXPECT_EQ(body->updates, 0);  // not running yet
    node->onEnter();
    scheduler->update(0.1f);
    EXPECT_EQ(body->updates, 1);
    body->setEnabled(false);
    scheduler->update(0.1f);
    EXPECT_EQ(body->updates, 1);
    body->setEnabled(true);

    Recorder* late = Recorder::make("late");
    node->addComponent(late);  // joins a running node: entered at once
    node->onExit();
    scheduler->update(0.1f);
    EXPECT_EQ(body->updates, 1);  // paused with the node
    EXPECT_EQ(body->log, "add enter exit ");
    EXPECT_EQ(late->log, "add enter exit ");

    body->retain();
    EXPECT_TRUE(node->removeComponent("body"));
    EXPECT_FALSE(node->removeComponent("body"));
    EXPECT_EQ(body->getOwner(), nullptr);
    EXPECT_EQ(body->log, "add enter exit remove ");
    body->release();
    scheduler->unscheduleAllForTarget(node);
}

// A node that goes without cleanup takes its components' frame update with it:
// a later node at the same address, resumed, must not run it.
TEST_F(NodeTest, ComponentUpdatesGoWithTheNode) {
    auto* scheduler = engine::Director::getInstance()->getScheduler();
    Node* node = Node::create();
    node->addComponent(Recorder::make("body"));
    node->onEnter();
    node->onExit();
    void* address = node;
    engine::AutoreleasePool::getInstance()->clear();   // the node's last reference
    scheduler->resumeTarget(address);
    scheduler->update(0.1f);   // a timer left behind would call into the freed node
    EXPECT_FALSE(scheduler->isScheduled("__components", address));
}

}  // namespace

TEST_F(NodeTest, RemovalByTagOrNameCleansUpOnlyWhenAsked) {
    auto* scheduler = engine::Director::getInstance()->getScheduler();
    struct Case {
        const char* what;
        std::function<void(Node* parent)> remove;
        std::vector<std::string> left;
        bool cleanedUp;
    };
    const Case cases[] = {
        {"by tag, cleanup", [](Node* p) { p->removeChildByTag(7); }, {"b"}, true},
        {"by tag, no cleanup", [](Node* p) { p->removeChildByTag(7, false); }, {"b"}, false},
        {"by name, cleanup", [](Node* p) { p->removeChildByName("a"); }, {"b"}, true},
        {"by name, no cleanup", [](Node* p) { p->removeChildByName("a", false); }, {"b"}, false},
        {"unknown tag", [](Node* p) { p->removeChildByTag(99); }, {"a", "b"}, false},
        {"unknown name", [](Node* p) { p->removeChildByName("z"); }, {"a", "b"}, false},
        {"from parent, no cleanup", [](Node* p) { p->getChildByName("a")->removeFromParentAndCleanup(false); },
         {"b"}, false},
        {"all, cleanup", [](Node* p) { p->removeAllChildrenWithCleanup(true); }, {}, true},
        {"all, no cleanup", [](Node* p) { p->removeAllChildrenWithCleanup(false); }, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* parent = Node::create();
        Node* a = named("a");
        parent->addChild(a, 0, 7);
        parent->addChild(named("b"));
        a->retain();
        int calls = 0;
        scheduler->schedule([&](float) { ++calls; }, a, 0.f, false, "tick");
        c.remove(parent);
        EXPECT_EQ(names(parent), c.left);
        EXPECT_EQ(scheduler->isScheduled("tick", a), !c.cleanedUp);
        scheduler->unscheduleAllForTarget(a);
        a->release();
    }
}

TEST_F(NodeTest, ReorderChildMovesOnlyItsOwnChildren) {
    Node* parent = Node::create();
    for (const char* name : {"a", "b", "c"}) parent->addChild(named(name));
    parent->reorderChild(parent->getChildByName("a"), 1);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"b", "c", "a"}));
    Node* stranger = named("s");
    parent->reorderChild(stranger, -5);   // not a child: left alone
    parent->reorderChild(nullptr, -5);
    EXPECT_EQ(stranger->getLocalZOrder(), 0);
    EXPECT_EQ(names(parent), (std::vector<std::string>{"b", "c", "a"}));
}

// pause holds the node's actions and scheduled functions, not its children's;
// resume takes them up again, but only inside the running tree.
TEST_F(NodeTest, PauseHoldsActionsAndSchedulesUntilResumed) {
    auto* director = engine::Director::getInstance();
    auto* scheduler = director->getScheduler();
    Node* root = Node::create();
    Node* node = Node::create();
    Node* child = Node::create();
    node->addChild(child);
    root->addChild(node);
    root->onEnter();
    int ticks = 0, childTicks = 0;
    scheduler->schedule([&](float) { ++ticks; }, node, 0.f, false, "t");
    scheduler->schedule([&](float) { ++childTicks; }, child, 0.f, false, "t");
    node->runAction(engine::DelayTime::create(10.f));
    auto frame = [&] {
        scheduler->update(0.5f);
        director->getActionManager()->update(0.5f);
    };
    auto elapsed = [&] {
        auto* action = static_cast<engine::ActionInterval*>(
            director->getActionManager()->getActionByTag(-1, node));
        return action ? action->getElapsed() : -1.f;
    };
    frame();
    node->pause();
    const float held = elapsed();
    frame();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(childTicks, 2);
    EXPECT_EQ(elapsed(), held);
    // An action started while paused waits too.
    node->runAction(engine::DelayTime::create(1.f));
    frame();
    EXPECT_EQ(node->getNumberOfRunningActions(), 2u);

    node->resume();
    frame();
    EXPECT_EQ(ticks, 2);
    EXPECT_GT(elapsed(), held);

    // Outside the running tree resume waits for the next entry.
    node->pause();
    root->onExit();
    node->resume();
    EXPECT_TRUE(scheduler->isTargetPaused(node));
    root->onEnter();
    EXPECT_FALSE(scheduler->isTargetPaused(node));
    root->onExit();
    root->cleanup();
}

TEST_F(NodeTest, SceneAndSharedServicesAreFoundFromAnyNode) {
    auto* director = engine::Director::getInstance();
    engine::Scene* scene = engine::Scene::create();
    Node* middle = Node::create();
    Node* leaf = Node::create();
    middle->addChild(leaf);
    EXPECT_EQ(leaf->getScene(), nullptr);   // the root is no scene
    scene->addChild(middle);
    EXPECT_EQ(leaf->getScene(), scene);
    EXPECT_EQ(scene->getScene(), scene);
    EXPECT_EQ(leaf->getScheduler(), director->getScheduler());
    EXPECT_EQ(leaf->getEventDispatcher(), director->getEventDispatcher());
    EXPECT_EQ(leaf->getActionManager(), director->getActionManager());
}
