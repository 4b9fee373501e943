// The scene graph: child order, lookup, enter/exit and cleanup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/Component.h"
#include "engine/scene/Node.h"
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
