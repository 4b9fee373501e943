// The 2D physics world: defaults of bodies and shapes, shapes made from points,
// a box falling onto an edge with its contact phases and answers, queries, joints,
// and worlds and bodies going away while the world is at work.
#include <gtest/gtest.h>

#include <chipmunk/chipmunk.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Scheduler.h"
#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsContact.h"
#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

using namespace engine;

namespace {

struct PhysicsWorldTest : ::testing::Test {
    ~PhysicsWorldTest() override {
        AutoreleasePool::getInstance()->clear();
        Director::destroyInstance();
        AutoreleasePool::getInstance()->clear();
    }

    // A running scene with a physics world, retained by the test.
    Scene* runningScene() {
        Scene* scene = Scene::createWithPhysics();
        scene->retain();
        scene->onEnter();
        return scene;
    }

    // A node at (x, y) in parent carrying body.
    static Node* nodeWith(Node* parent, PhysicsBody* body, float x, float y) {
        Node* node = Node::create();
        node->setPosition(x, y);
        node->setPhysicsBody(body);
        parent->addChild(node);
        return node;
    }

    static void frames(int count) {
        for (int i = 0; i < count; ++i) Director::getInstance()->getScheduler()->update(1.f / 60);
    }
};

PhysicsMaterial materialOf(PhysicsShape* shape) { return shape->getMaterial(); }

void expectMaterial(const PhysicsMaterial& m, float density, float restitution, float friction) {
    EXPECT_FLOAT_EQ(m.density, density);
    EXPECT_FLOAT_EQ(m.restitution, restitution);
    EXPECT_FLOAT_EQ(m.friction, friction);
}

const Vec2 kSquare[] = {Vec2(0, 0), Vec2(2, 0), Vec2(2, 2), Vec2(0, 2)};

TEST_F(PhysicsWorldTest, MaterialDefaultsOfBodiesAndShapes) {
    struct Case {
        const char* name;
        std::function<PhysicsShape*()> make;
        float density, restitution, friction;
    };
    const Case cases[] = {
        {"body circle", [] { return PhysicsBody::createCircle(5)->getFirstShape(); }, 0.1f, 0.5f, 0.5f},
        {"body box", [] { return PhysicsBody::createBox(Size(4, 4))->getFirstShape(); }, 0.1f, 0.5f, 0.5f},
        {"body polygon", [] { return PhysicsBody::createPolygon(kSquare, 4)->getFirstShape(); }, 0.1f, 0.5f, 0.5f},
        {"body edge segment", [] { return PhysicsBody::createEdgeSegment(Vec2(0, 0), Vec2(9, 0))->getFirstShape(); },
         0.1f, 0.5f, 0.5f},
        {"body edge chain", [] { return PhysicsBody::createEdgeChain(kSquare, 2)->getFirstShape(); }, 0.1f, 0.5f, 0.5f},
        {"shape circle", [] { return PhysicsShapeCircle::create(5); }, 0, 0, 0},
        {"shape box", [] { return PhysicsShapeBox::create(Size(4, 4)); }, 0, 0, 0},
        {"shape polygon", [] { return PhysicsShapePolygon::create(kSquare, 4); }, 0, 0, 0},
        {"shape edge polygon", [] { return PhysicsShapeEdgePolygon::create(kSquare, 4); }, 0, 0, 0},
        {"shape edge box", [] { return PhysicsShapeEdgeBox::create(Size(4, 4)); }, 0, 0, 0},
        {"shape edge chain", [] { return PhysicsShapeEdgeChain::create(kSquare, 3); }, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PhysicsShape* shape = c.make();
        ASSERT_NE(shape, nullptr);
        expectMaterial(materialOf(shape), c.density, c.restitution, c.friction);
    }
    // Edges default to a border of 1; edge bodies are static, solid ones dynamic.
    PhysicsBody* edge = PhysicsBody::createEdgeChain(kSquare, 3, PHYSICSBODY_MATERIAL_DEFAULT, 2);
    EXPECT_DOUBLE_EQ(cpSegmentShapeGetRadius(edge->getFirstShape()->cpShapes()[0]), 2.0);
    EXPECT_DOUBLE_EQ(cpSegmentShapeGetRadius(PhysicsShapeEdgeSegment::create(Vec2(), Vec2(1, 0))->cpShapes()[0]), 1.0);
    EXPECT_FALSE(edge->isDynamic());
    EXPECT_TRUE(PhysicsBody::createBox(Size(4, 4))->isDynamic());
    // Mass follows density x area: 0.1 x 16.
    EXPECT_FLOAT_EQ(PhysicsBody::createBox(Size(4, 4))->getMass(), 1.6f);
}

TEST_F(PhysicsWorldTest, ShapesFromTooFewPointsAreNotMade) {
    struct Case {
        const char* name;
        std::function<bool(int)> made;
        int fewest;  // the least count that makes one
    };
    const Case cases[] = {
        {"polygon", [](int n) { return PhysicsShapePolygon::create(kSquare, n) != nullptr; }, 3},
        {"edge polygon", [](int n) { return PhysicsShapeEdgePolygon::create(kSquare, n) != nullptr; }, 3},
        {"edge chain", [](int n) { return PhysicsShapeEdgeChain::create(kSquare, n) != nullptr; }, 2},
        {"body polygon", [](int n) { return PhysicsBody::createPolygon(kSquare, n) != nullptr; }, 3},
        {"body edge polygon", [](int n) { return PhysicsBody::createEdgePolygon(kSquare, n) != nullptr; }, 3},
        {"body edge chain", [](int n) { return PhysicsBody::createEdgeChain(kSquare, n) != nullptr; }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.made(0));
        EXPECT_FALSE(c.made(c.fewest - 1));
        EXPECT_TRUE(c.made(c.fewest));
    }
}

TEST_F(PhysicsWorldTest, AreaMomentAndCentreOfPoints) {
    const Vec2 clockwise[] = {Vec2(0, 0), Vec2(0, 2), Vec2(2, 2), Vec2(2, 0)};
    const Vec2 line[] = {Vec2(0, 0), Vec2(4, 0)};
    EXPECT_FLOAT_EQ(PhysicsShapePolygon::calculateArea(nullptr, 0), 0);
    EXPECT_FLOAT_EQ(PhysicsShapePolygon::calculateMoment(3, nullptr, 0), 0);
    EXPECT_EQ(PhysicsShape::getPolyonCenter(nullptr, 0), Vec2::ZERO);
    EXPECT_FLOAT_EQ(PhysicsShapePolygon::calculateArea(kSquare, 4), 4);
    EXPECT_FLOAT_EQ(PhysicsShapePolygon::calculateArea(clockwise, 4), 4);
    // A 2 x 2 square of mass 3 about its corner: m (w^2 + h^2) / 12 + m d^2 = 2 + 6.
    EXPECT_NEAR(PhysicsShapePolygon::calculateMoment(3, kSquare, 4), 8, 1e-4);
    EXPECT_NEAR(PhysicsShapePolygon::calculateMoment(3, clockwise, 4), 8, 1e-4);
    EXPECT_EQ(PhysicsShape::getPolyonCenter(kSquare, 4), Vec2(1, 1));
    EXPECT_EQ(PhysicsShape::getPolyonCenter(line, 2), Vec2(2, 0));
    Vec2 moved[4] = {kSquare[0], kSquare[1], kSquare[2], kSquare[3]};
    PhysicsShape::recenterPoints(moved, 4, Vec2(10, 0));
    EXPECT_EQ(moved[0], Vec2(9, -1));
    EXPECT_EQ(moved[2], Vec2(11, 1));
}

// A 20 x 20 box at (100, 100) over an edge along y = 50, both asking for contacts.
struct Drop {
    Scene* scene;
    Node* box;
    Node* ground;
};

Drop dropScene(Scene* scene) {
    // No bounce: the box comes to rest at once.
    PhysicsBody* box = PhysicsBody::createBox(Size(20, 20), PhysicsMaterial{0.1f, 0.f, 0.5f});
    box->setContactTestBitmask(1);
    PhysicsBody* edge = PhysicsBody::createEdgeSegment(Vec2(-500, 0), Vec2(500, 0));
    edge->setContactTestBitmask(1);
    Node* ground = Node::create();
    ground->setPosition(100, 50);
    ground->setPhysicsBody(edge);
    scene->addChild(ground);
    Node* node = Node::create();
    node->setPosition(100, 100);
    node->setPhysicsBody(box);
    scene->addChild(node);
    return {scene, node, ground};
}

TEST_F(PhysicsWorldTest, ContactPhasesAndTheirAnswers) {
    struct Case {
        const char* name;
        bool beginAnswer;
        bool preSolveAnswer;
        bool rests;           // the box stays on the edge
        bool preSolveHeard;
    };
    const Case cases[] = {
        {"both accept", true, true, true, true},
        {"begin rejects", false, true, false, false},
        {"pre-solve rejects", true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene* scene = runningScene();
        Drop drop = dropScene(scene);
        std::vector<std::string> phases;  // each phase once, in the order first heard
        auto note = [&](const char* phase) {
            if (std::find(phases.begin(), phases.end(), phase) == phases.end()) phases.push_back(phase);
        };
        auto* listener = EventListenerPhysicsContact::create();
        listener->onContactBegin = [&](PhysicsContact& contact) {
            note("begin");
            EXPECT_GE(contact.getContactData()->count, 1);
            return c.beginAnswer;
        };
        listener->onContactPreSolve = [&](PhysicsContact&, PhysicsContactPreSolve&) {
            note("presolve");
            return c.preSolveAnswer;
        };
        listener->onContactPostSolve = [&](PhysicsContact&, const PhysicsContactPostSolve&) {
            note("postsolve");
        };
        listener->onContactSeparate = [&](PhysicsContact&) { note("separate"); };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithFixedPriority(listener, 1);

        frames(120);
        ASSERT_FALSE(phases.empty());
        EXPECT_EQ(phases.front(), "begin");
        if (c.rests) {
            EXPECT_NEAR(drop.box->getPositionY(), 60, 1.5);
            EXPECT_EQ(phases, (std::vector<std::string>{"begin", "presolve", "postsolve"}));
            drop.box->removeFromParent();  // its shapes leave: the pair separates
            EXPECT_EQ(phases.back(), "separate");
        } else {
            EXPECT_LT(drop.box->getPositionY(), 0);
            EXPECT_EQ(phases.back(), "separate");
            EXPECT_EQ(std::find(phases.begin(), phases.end(), "postsolve") != phases.end(), false);
            EXPECT_EQ(std::find(phases.begin(), phases.end(), "presolve") != phases.end(), c.preSolveHeard);
        }
        Director::getInstance()->getEventDispatcher()->removeEventListener(listener);
        scene->onExit();
        scene->release();
        AutoreleasePool::getInstance()->clear();
    }
}

TEST_F(PhysicsWorldTest, OnlyMasksThatAskHearContactsAndFiltersDecideCollisions) {
    struct Case {
        const char* name;
        uint32_t boxContactTest;
        uint32_t boxCollision;
        bool heard;
        bool rests;
    };
    const Case cases[] = {
        {"default: collides unheard", 0, 0xFFFFFFFF, false, true},
        {"asked: heard", 1, 0xFFFFFFFF, true, true},
        {"collision mask empty: falls through", 1, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene* scene = runningScene();
        Drop drop = dropScene(scene);
        drop.ground->getPhysicsBody()->setContactTestBitmask(0);
        drop.box->getPhysicsBody()->setContactTestBitmask(c.boxContactTest);
        drop.box->getPhysicsBody()->setCollisionBitmask(c.boxCollision);
        int heard = 0;
        auto* listener = EventListenerPhysicsContact::create();
        listener->onContactBegin = [&](PhysicsContact&) { return ++heard > 0; };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithFixedPriority(listener, 1);
        frames(120);
        EXPECT_EQ(heard > 0, c.heard);
        EXPECT_EQ(drop.box->getPositionY() > 55, c.rests);
        Director::getInstance()->getEventDispatcher()->removeEventListener(listener);
        scene->onExit();
        scene->release();
        AutoreleasePool::getInstance()->clear();
    }
}

TEST_F(PhysicsWorldTest, BodiesFollowTheirNodesAndTheWorldSteps) {
    Scene* scene = runningScene();
    PhysicsWorld* world = scene->getPhysicsWorld();
    EXPECT_EQ(world->getGravity(), Vec2(0, -98));
    Node* node = nodeWith(scene, PhysicsBody::createCircle(5), 10, 300);
    node->setRotation(90);
    frames(2);
    EXPECT_EQ(world->getAllBodies().size(), 1u);
    EXPECT_LT(node->getPositionY(), 300);
    EXPECT_NEAR(node->getPhysicsBody()->getRotation(), 90, 1e-3);
    // Moved by code: the body goes along before the next step.
    node->setPosition(-40, 500);
    frames(1);
    EXPECT_NEAR(node->getPhysicsBody()->getPosition().x, -40, 1e-3);
    EXPECT_LT(node->getPositionY(), 500);
    // No auto step: frames leave it be.
    world->setAutoStep(false);
    const float y = node->getPositionY();
    frames(3);
    EXPECT_EQ(node->getPositionY(), y);
    node->removeFromParent();
    EXPECT_TRUE(world->getAllBodies().empty());
    EXPECT_EQ(node->getPhysicsBody()->getWorld(), nullptr);
    scene->onExit();
    scene->release();
}

TEST_F(PhysicsWorldTest, QueriesFindHitsAndMisses) {
    Scene* scene = runningScene();
    PhysicsWorld* world = scene->getPhysicsWorld();
    world->setAutoStep(false);
    Node* a = nodeWith(scene, PhysicsBody::createBox(Size(20, 20)), 0, 0);
    Node* b = nodeWith(scene, PhysicsBody::createCircle(10), 100, 0);
    world->step(1e-4f);  // bodies take their nodes' places
    std::vector<PhysicsShape*> hits;
    auto collect = [&](PhysicsWorld& w, PhysicsShape& shape, void* data) {
        EXPECT_EQ(&w, world);
        EXPECT_EQ(data, &hits);
        hits.push_back(&shape);
        return true;
    };
    struct PointCase {
        Vec2 point;
        PhysicsShape* expected;
    };
    const PointCase points[] = {{Vec2(0, 0), a->getPhysicsBody()->getFirstShape()},
                                {Vec2(105, 5), b->getPhysicsBody()->getFirstShape()},
                                {Vec2(50, 0), nullptr}};
    for (const PointCase& c : points) {
        hits.clear();
        world->queryPoint(collect, c.point, &hits);
        EXPECT_EQ(hits, c.expected ? std::vector<PhysicsShape*>{c.expected} : std::vector<PhysicsShape*>{});
    }
    hits.clear();
    world->queryRect(collect, Rect(-50, -50, 200, 100), &hits);
    EXPECT_EQ(hits.size(), 2u);
    hits.clear();
    world->queryRect(collect, Rect(30, 30, 10, 10), &hits);
    EXPECT_TRUE(hits.empty());
    // The callback's false ends the query.
    int calls = 0;
    world->queryRect([&](PhysicsWorld&, PhysicsShape&, void*) { return ++calls < 0; }, Rect(-50, -50, 200, 100), nullptr);
    EXPECT_EQ(calls, 1);

    std::vector<PhysicsRayCastInfo> records;
    auto ray = [&](PhysicsWorld&, const PhysicsRayCastInfo& info, void*) {
        records.push_back(info);
        return true;
    };
    world->rayCast(ray, Vec2(100, 100), Vec2(100, -100), nullptr);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].shape, b->getPhysicsBody()->getFirstShape());
    EXPECT_EQ(records[0].start, Vec2(100, 100));
    EXPECT_EQ(records[0].end, Vec2(100, -100));
    EXPECT_NEAR(records[0].contact.y, 10, 1e-3);
    EXPECT_NEAR(records[0].normal.y, 1, 1e-3);
    EXPECT_NEAR(records[0].fraction, 0.45, 1e-4);
    records.clear();
    world->rayCast(ray, Vec2(50, 100), Vec2(50, -100), nullptr);
    EXPECT_TRUE(records.empty());
    scene->onExit();
    scene->release();
}

TEST_F(PhysicsWorldTest, JointsBelongToTheWorldAndLeaveWithTheirBodies) {
    Scene* scene = runningScene();
    PhysicsWorld* world = scene->getPhysicsWorld();
    Node* a = nodeWith(scene, PhysicsBody::createBox(Size(10, 10)), 0, 0);
    Node* b = nodeWith(scene, PhysicsBody::createBox(Size(10, 10)), 30, 0);
    PhysicsBody* bodyA = a->getPhysicsBody();
    PhysicsBody* bodyB = b->getPhysicsBody();
    EXPECT_TRUE(bodyA->getJoints().empty());
    EXPECT_EQ(PhysicsJointPin::construct(bodyA, bodyA, Vec2()), nullptr);
    std::vector<PhysicsJoint*> joints = {
        PhysicsJointDistance::construct(bodyA, bodyB, Vec2(), Vec2()),
        PhysicsJointSpring::construct(bodyA, bodyB, Vec2(), Vec2(), 10, 1),
        PhysicsJointGear::construct(bodyA, bodyB, 0, 2),
    };
    for (PhysicsJoint* joint : joints) EXPECT_TRUE(world->addJoint(joint));
    EXPECT_EQ(bodyA->getJoints(), joints);
    EXPECT_NEAR(static_cast<PhysicsJointDistance*>(joints[0])->getDistance(), 30, 1e-3);
    EXPECT_NEAR(static_cast<PhysicsJointSpring*>(joints[1])->getRestLength(), 30, 1e-3);
    frames(30);
    // Held at their distance while both fall.
    EXPECT_NEAR((bodyB->getPosition() - bodyA->getPosition()).length(), 30, 0.5);
    joints[2]->removeFormWorld();
    EXPECT_EQ(bodyB->getJoints().size(), 2u);
    b->removeFromParent();
    EXPECT_TRUE(bodyA->getJoints().empty());
    EXPECT_TRUE(world->getAllJoints().empty());
    // A joint never added goes with its body.
    PhysicsJointMotor::construct(bodyA, PhysicsBody::create(), 1);
    scene->onExit();
    scene->release();
}

TEST_F(PhysicsWorldTest, WorkGoingAwayInsideContactCallbacks) {
    struct Case {
        const char* name;
        std::function<void(Drop&)> inBegin;
    };
    const Case cases[] = {
        {"box node removed", [](Drop& d) { d.box->removeFromParent(); }},
        {"ground body taken off its node", [](Drop& d) { d.ground->setPhysicsBody(nullptr); }},
        {"body disabled and shape removed",
         [](Drop& d) {
             d.box->getPhysicsBody()->setEnabled(false);
             d.ground->getPhysicsBody()->removeAllShapes();
         }},
        {"scene let go", [](Drop& d) { d.scene->release(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene* scene = runningScene();
        Drop drop = dropScene(scene);
        bool sceneGone = false;
        int begins = 0;
        auto* listener = EventListenerPhysicsContact::create();
        listener->retain();
        listener->onContactBegin = [&](PhysicsContact&) {
            if (++begins == 1) {
                if (std::string(c.name) == "scene let go") sceneGone = true;
                c.inBegin(drop);
            }
            return true;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithFixedPriority(listener, 1);
        frames(120);
        EXPECT_EQ(begins, 1);
        Director::getInstance()->getEventDispatcher()->removeEventListener(listener);
        listener->release();
        if (!sceneGone) {
            scene->onExit();
            scene->release();
        }
        AutoreleasePool::getInstance()->clear();
    }
}

}  // namespace
