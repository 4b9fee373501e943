// The 3D physics world: a box falling onto the ground of a running physics scene
// through a node's component, a body leaving with its node, a height field that
// keeps its own heights, and a body hanging from a point.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/physics3d/Physics3DComponent.h"
#include "engine/physics3d/Physics3DConstraint.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

using namespace engine;

namespace {

struct Physics3DWorldTest : ::testing::Test {
    ~Physics3DWorldTest() override {
        AutoreleasePool::getInstance()->clear();
        Director::destroyInstance();
        AutoreleasePool::getInstance()->clear();
    }

    static Physics3DRigidBody* body(Physics3DShape* shape, float mass, const Vec3& at) {
        Physics3DRigidBodyDes des;
        des.mass = mass;
        des.shape = shape;
        Mat4::createTranslation(at, &des.originalTransform);
        return Physics3DRigidBody::create(&des);
    }

    static void frames(int count) {
        for (int i = 0; i < count; ++i) Director::getInstance()->getScheduler()->update(1.f / 60.f);
    }
};

TEST_F(Physics3DWorldTest, ABoxFallsOntoTheGroundOfARunningScene) {
    Scene* scene = Scene::createWithPhysics();
    scene->retain();
    Physics3DWorld* world = scene->getPhysics3DWorld();
    ASSERT_NE(world, nullptr);
    world->addPhysics3DObject(body(Physics3DShape::createBox(Vec3(40, 1, 40)), 0, Vec3()));

    Node* node = Node::create();
    node->setPosition(0, 5);
    Physics3DRigidBody* box = body(Physics3DShape::createBox(Vec3(1, 1, 1)), 1, Vec3());
    node->addComponent(Physics3DComponent::create(box));
    scene->addChild(node);
    // Not running: the world neither holds the body nor steps.
    frames(10);
    EXPECT_EQ(box->getPhysicsWorld(), nullptr);
    EXPECT_FLOAT_EQ(node->getPosition().y, 5.f);

    scene->onEnter();
    EXPECT_EQ(box->getPhysicsWorld(), world);
    frames(30);
    const float falling = node->getPosition().y;
    EXPECT_LT(falling, 4.f);
    EXPECT_GT(falling, 1.5f);
    EXPECT_LT(box->getLinearVelocity().y, -1.f);
    frames(150);
    // At rest on the ground's top (0.5) with its half size (0.5) below its centre.
    EXPECT_NEAR(node->getPosition().y, 1.f, 0.05f);
    EXPECT_NEAR(node->getPosition().x, 0.f, 0.01f);
    EXPECT_NEAR(box->getWorldTransform().m[13], 1.f, 0.05f);

    node->removeFromParent();
    EXPECT_EQ(box->getPhysicsWorld(), nullptr);
    EXPECT_EQ(world->getPhysicsObjects().size(), 1u);
    scene->onExit();
    scene->release();
}

TEST_F(Physics3DWorldTest, ComponentsCopyRigidTransformsBetweenNodeAndBody) {
    // A node under a moved parent; the body's frame one unit up the node's y axis.
    Node* parent = Node::create();
    parent->setPosition(10, 0);
    Node* node = Node::create();
    parent->addChild(node);
    Physics3DRigidBody* box = body(Physics3DShape::createBox(Vec3(1, 1, 1)), 1, Vec3());
    Physics3DComponent* component = Physics3DComponent::create(box, Vec3(0, 1, 0));
    node->addComponent(component);

    const struct {
        const char* name;
        float rotation;  // the node's, clockwise degrees
        float scale;
        Vec3 body;       // where the body's origin lands
    } toPhysics[] = {
        {"plain", 0, 1, Vec3(11, 3, 3)},
        {"turned a quarter clockwise: up becomes +x", 90, 1, Vec3(12, 2, 3)},
        {"scaled: the scale stays with the node", 0, 3, Vec3(11, 3, 3)},
    };
    for (const auto& c : toPhysics) {
        SCOPED_TRACE(c.name);
        node->setPosition3D(Vec3(1, 2, 3));
        node->setRotation(c.rotation);
        node->setScale(c.scale);
        component->syncNodeToPhysics();
        const Mat4 t = box->getWorldTransform();
        EXPECT_NEAR(t.m[12], c.body.x, 1e-4f);
        EXPECT_NEAR(t.m[13], c.body.y, 1e-4f);
        EXPECT_NEAR(t.m[14], c.body.z, 1e-4f);
        EXPECT_NEAR(Vec3(t.m[0], t.m[1], t.m[2]).length(), 1.f, 1e-4f);
    }

    // Back: the body at (5, 7, -4) unturned puts the node at (-5, 6, -4) in its parent.
    node->setRotation(0);
    node->setScale(1);
    Mat4 at;
    Mat4::createTranslation(5, 7, -4, &at);
    box->setCenterOfMassTransform(at);
    component->syncPhysicsToNode();
    EXPECT_NEAR(node->getPosition().x, -5.f, 1e-4f);
    EXPECT_NEAR(node->getPosition().y, 6.f, 1e-4f);
    EXPECT_NEAR(node->getPositionZ(), -4.f, 1e-4f);
    EXPECT_NEAR(node->getRotation(), 0.f, 1e-3f);
}

TEST_F(Physics3DWorldTest, AHeightFieldKeepsItsOwnHeights) {
    const struct {
        const char* name;
        bool useFloatData;
        float heightScale;
        float centre;
    } cases[] = {{"floats", true, 1.f, 2.f}, {"bytes", false, 0.5f, 4.f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> heights(9, 0.f);
        heights[4] = c.centre;
        Physics3DShape* field =
            Physics3DShape::createHeightfield(3, 3, heights.data(), c.heightScale, 0.f, 2.f, c.useFloatData, false);
        ASSERT_NE(field, nullptr);
        std::fill(heights.begin(), heights.end(), 100.f);
        heights.clear();
        heights.shrink_to_fit();
        Physics3DWorld* world = Physics3DWorld::create(nullptr);
        world->addPhysics3DObject(body(field, 0, Vec3()));
        Physics3DWorld::HitResult hit;
        ASSERT_TRUE(world->rayCast(Vec3(0, 10, 0), Vec3(0, -10, 0), &hit));
        // Centred between the bounds 0 and 2: height 2 stands at 1.
        EXPECT_NEAR(hit.hitPosition.y, 1.f, 1e-4f);
    }
}

TEST_F(Physics3DWorldTest, TimesThatAreNoTimeStepNothing) {
    Physics3DWorld* world = Physics3DWorld::create(nullptr);
    Physics3DRigidBody* ball = body(Physics3DShape::createSphere(0.5f), 1, Vec3(0, 5, 0));
    world->addPhysics3DObject(ball);
    for (float dt : {std::nanf(""), -1.f / 60.f, 0.f, std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(dt);
        world->stepSimulate(dt);
        EXPECT_EQ(ball->getWorldTransform().m[13], 5.f);
    }
    world->stepSimulate(1.f / 60.f);
    EXPECT_LT(ball->getWorldTransform().m[13], 5.f);
}

TEST_F(Physics3DWorldTest, ABodyHangsFromAPoint) {
    Physics3DWorld* world = Physics3DWorld::create(nullptr);
    Physics3DRigidBody* ball = body(Physics3DShape::createSphere(0.5f), 1, Vec3(0, 5, 0));
    auto* hinge = Physics3DPointToPointConstraint::create(ball, Vec3(0, 1, 0));
    ASSERT_NE(hinge, nullptr);
    EXPECT_EQ(ball->getConstraintCount(), 1u);
    EXPECT_EQ(Physics3DPointToPointConstraint::create(nullptr, Vec3()), nullptr);
    world->addPhysics3DObject(ball);
    world->addPhysics3DConstraint(hinge);
    for (int i = 0; i < 120; ++i) world->stepSimulate(1.f / 60.f);
    EXPECT_NEAR(ball->getWorldTransform().m[13], 5.f, 0.05f);
    world->removePhysics3DConstraint(hinge);
    for (int i = 0; i < 60; ++i) world->stepSimulate(1.f / 60.f);
    EXPECT_LT(ball->getWorldTransform().m[13], 2.f);
}

}  // namespace
