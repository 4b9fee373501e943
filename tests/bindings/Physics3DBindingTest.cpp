// The 3D physics classes as scripts see them: rigid bodies from description
// tables, collision callbacks with and without contact points, ray casts and
// their hit records, mesh, compound and height-field shapes, and the count and
// argument errors of the hand-written methods.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaChecks.h"
#include "bindings/LuaModules.h"
#include "bindings/physics3d/LuaPhysics3DManual.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/scene/Scene.h"
#include "scripting/ScriptHandlerMgr.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

class Physics3DBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_3d_module(L);
        bindings::register_physics3d_module(L);
        // A world without gravity unless a case sets it; v() prints a vector to two places.
        ASSERT_EQ(run("world = cc.Physics3DWorld:create()\n"
                      "world:setGravity({x = 0, y = 0, z = 0})\n"
                      "box = cc.Physics3DShape:createBox({x = 2, y = 2, z = 2})\n"
                      "ball = cc.Physics3DShape:createSphere(1)\n"
                      "function body(shape, mass, x, y, z)\n"
                      "  local t = {1,0,0,0, 0,1,0,0, 0,0,1,0, x or 0, y or 0, z or 0, 1}\n"
                      "  local b = cc.Physics3DRigidBody:create({mass = mass, shape = shape, originalTransform = t})\n"
                      "  world:addPhysics3DObject(b)\n"
                      "  return b\n"
                      "end\n"
                      "function v(p) return string.format('%.2f %.2f %.2f', p.x, p.y, p.z) end"),
                  "");
    }
};

TEST_F(Physics3DBindingTest, RigidBodyDescriptionDefaults) {
    ASSERT_EQ(run("des = {mass = 1}"), "");
    lua_getglobal(L, "des");
    engine::Physics3DRigidBodyDes des;
    des.mass = 7;
    des.disableSleep = true;
    ASSERT_TRUE(bindings::readRigidBodyDes(L, -1, &des));
    lua_pop(L, 1);
    EXPECT_EQ(des.mass, 1.f);
    EXPECT_EQ(des.localInertia, engine::Vec3());
    EXPECT_EQ(des.shape, nullptr);
    EXPECT_EQ(des.originalTransform, engine::Mat4::IDENTITY);
    EXPECT_FALSE(des.disableSleep);

    const ChunkCase cases[] = {
        {"no shape: no body", "", "cc.Physics3DRigidBody:create({mass = 1})", "nil"},
        {"mass only: zero inertia, identity transform, sleep allowed",
         "b = cc.Physics3DRigidBody:create({mass = 2, shape = box})",
         "tolua.type(b) .. ' ' .. b:getInvMass() .. ' ' .. v(b:getInvInertiaDiagLocal()) .. ' ' .. "
         "table.concat(b:getWorldTransform(), ',') .. ' ' .. tostring(b:isSleepingAllowed())",
         "cc.Physics3DRigidBody 0.5 0.00 0.00 0.00 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1 true"},
        {"every key given",
         "b = cc.Physics3DRigidBody:create({mass = '4', localInertia = {x = 1, y = 2, z = 4}, shape = box,"
         " originalTransform = {1,0,0,0, 0,1,0,0, 0,0,1,0, 3,4,5,1}, disableSleep = true})",
         "b:getInvMass() .. ' ' .. v(b:getInvInertiaDiagLocal()) .. ' ' .. b:getWorldTransform()[14] .. ' ' .. "
         "tostring(b:isSleepingAllowed()) .. ' ' .. b:getCollisionShape():getShapeType()",
         "0.25 1.00 0.50 0.25 4 false 1"},
        {"values of other types count as absent",
         "b = cc.Physics3DRigidBody:create({mass = 1, localInertia = 5, shape = box,"
         " originalTransform = {1, 2, 3}, disableSleep = false})",
         "v(b:getInvInertiaDiagLocal()) .. ' ' .. b:getWorldTransform()[13]", "0.00 0.00 0.00 0"},
        {"Bullet's own body", "b = cc.Physics3DRigidBody:create({mass = 1, shape = box})",
         "tolua.type(b:getRigidBody()) .. ' ' .. tolua.type(box:getbtShape())", "btRigidBody btCollisionShape"},
    };
    runCases(cases);
}

TEST_F(Physics3DBindingTest, CollisionCallbacksWithAndWithoutPoints) {
    // Spheres of radius 1: bounds overlapping without touching, then touching.
    const ChunkCase cases[] = {
        {"bounds overlap, shapes apart: no point list",
         "a = body(ball, 1) b = body(ball, 1, 1.6, 1.6, 0) seen = {}\n"
         "a:setCollisionCallback(function(c) seen[#seen + 1] = c end)\n"
         "world:stepSimulate(1 / 60)",
         "#seen .. ' ' .. tostring(seen[1].collisionPointList) .. ' ' .. "
         "tostring(seen[1].objA == a or seen[1].objB == a) .. ' ' .. tostring(seen[1].objA == b or seen[1].objB == b)",
         "1 nil true true"},
        {"touching: points in both frames",
         "world:removeAllPhysics3DObjects() a = body(ball, 1) b = body(ball, 1, 1.9, 0, 0) seen = {}\n"
         "b:setCollisionCallback(function(c) seen[#seen + 1] = c end)\n"
         "world:stepSimulate(1 / 60)",
         "#seen .. ' ' .. #seen[1].collisionPointList .. ' ' .. tolua.type(seen[1].objA) .. ' ' .. "
         "string.format('%.1f', math.abs(seen[1].collisionPointList[1].worldNormalOnB.x)) .. ' ' .. "
         "type(seen[1].collisionPointList[1].localPositionOnA) .. type(seen[1].collisionPointList[1].worldPositionOnB)",
         "1 1 cc.Physics3DRigidBody 1.0 tabletable"},
        {"both listening: each is called",
         "count = 0 a:setCollisionCallback(function() count = count + 1 end)\n"
         "b:setCollisionCallback(function() count = count + 1 end) world:stepSimulate(1 / 60)",
         "count", "2"},
        {"objects out of the world: no call", "count = 0 world:removeAllPhysics3DObjects() world:stepSimulate(1 / 60)",
         "count", "0"},
    };
    runCases(cases);
}

TEST_F(Physics3DBindingTest, NewCollisionCallbackReleasesTheFormerHandler) {
    ASSERT_EQ(run("a = body(ball, 1) b = body(ball, 1, 1.9, 0, 0) which = ''\n"
                  "a:setCollisionCallback(function() which = which .. 'first' end)\n"
                  "a:setCollisionCallback(function() which = which .. 'second' end)\n"
                  "world:stepSimulate(1 / 60)"),
              "");
    EXPECT_EQ(eval("which"), "second");
    lua_getglobal(L, "a");
    auto* a = bindings::objectAt<engine::Physics3DObject>(L, -1, "cc.Physics3DObject");
    lua_pop(L, 1);
    ASSERT_NE(a, nullptr);
    auto* registry = engine::ScriptHandlerMgr::getInstance();
    using Kind = engine::ScriptHandlerMgr::HandlerType;
    const int kept = registry->getObjectHandler(a, Kind::CUSTOM_HANDLER_BASE);
    EXPECT_NE(kept, 0);
    EXPECT_EQ(registry->getObjectHandler(a, static_cast<Kind>(static_cast<int>(Kind::CUSTOM_HANDLER_BASE) + 1)), 0);
    // The first function's reference is gone from the reference table.
    toluafix_getFunctionByRefid(L, kept - 1);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
}

TEST_F(Physics3DBindingTest, RayCastsAndHitRecords) {
    const ChunkCase cases[] = {
        {"hit: a filled record from a record that is not a table",
         "g = body(box, 0) hit, r = world:rayCast({x = 0, y = 10, z = 0}, {x = 0, y = -10, z = 0}, 5)",
         "tostring(hit) .. ' ' .. v(r.hitPosition) .. ' ' .. v(r.hitNormal) .. ' ' .. tostring(r.hitObj == g)",
         "true 0.00 1.00 0.00 0.00 1.00 0.00 true"},
        {"miss: the record read back as given",
         "hit, r = world:rayCast({x = 5, y = 10, z = 0}, {x = 5, y = -10, z = 0},"
         " {hitPosition = {x = 1, y = 2, z = 3}, hitObj = 'x'})",
         "tostring(hit) .. ' ' .. v(r.hitPosition) .. ' ' .. v(r.hitNormal) .. ' ' .. tostring(r.hitObj)",
         "false 1.00 2.00 3.00 0.00 0.00 0.00 nil"},
        {"nearest of two", "body(ball, 0, 0, 5, 0) hit, r = world:rayCast({x = 0, y = 10, z = 0}, {x = 0, y = -10, z = 0}, {})",
         "v(r.hitPosition) .. ' ' .. r.hitObj:getCollisionShape():getShapeType()", "0.00 6.00 0.00 2"},
    };
    runCases(cases);
}

TEST_F(Physics3DBindingTest, MeshCompoundAndHeightFieldShapes) {
    const char* down = "function down(x, z) local hit, r = world:rayCast({x = x, y = 10, z = z}, {x = x, y = -10, z = z}, {})"
                       " return hit and string.format('%.2f', r.hitPosition.y) or 'miss' end";
    ASSERT_EQ(run(down), "");
    const ChunkCase cases[] = {
        {"compound: children placed, other entries skipped",
         "c = cc.Physics3DShape:createCompoundShape({{box, {1,0,0,0, 0,1,0,0, 0,0,1,0, 5,0,0,1}}, 'x',"
         " {ball, 'not a matrix'}, {}}) body(c, 0)",
         "c:getShapeType() .. ' ' .. down(5, 0) .. ' ' .. down(0, 0) .. ' ' .. down(3, 0)", "8 1.00 1.00 miss"},
        {"height field of floats: centred between its bounds",
         "world:removeAllPhysics3DObjects()\n"
         "h = cc.Physics3DShape:createHeightfield(3, 3, {0, 0, 0, 0, 2, 0, 0, 0, 0}, 1, 0, 2, true, false) body(h, 0)",
         "h:getShapeType() .. ' ' .. down(0, 0) .. ' ' .. down(-1, -1) .. ' ' .. down(2, 0)", "7 1.00 -1.00 miss"},
        {"height field of bytes, scaled; missing samples are 0; diamond given",
         "world:removeAllPhysics3DObjects()\n"
         "h = cc.Physics3DShape:createHeightfield(3, 3, {0, 0, 0, 0, 4}, 0.5, 0, 2, false, false, true) body(h, 0)",
         "down(0, 0) .. ' ' .. down(-1, -1)", "1.00 -1.00"},
        {"a grid under 2 x 2 gives nil", "",
         "tostring(cc.Physics3DShape:createHeightfield(1, 5, {}, 1, 0, 1, true, false))", "nil"},
        {"mesh: the count is clamped to the corners given",
         "world:removeAllPhysics3DObjects()\n"
         "m = cc.Physics3DShape:createMesh({{x = -5, y = 0, z = -5}, {x = -5, y = 0, z = 5}, {x = 5, y = 0, z = 0}, {x = 9, y = 9, z = 9}}, 7)"
         " body(m, 0)",
         "m:getShapeType() .. ' ' .. down(0, 0) .. ' ' .. tostring(cc.Physics3DShape:createMesh({}, 3))", "6 0.00 nil"},
        {"convex hull: its top lifted by the collision margin", "world:removeAllPhysics3DObjects()\n"
         "k = cc.Physics3DShape:createConvexHull({{x = -1, y = 0, z = -1}, {x = 1, y = 0, z = -1}, {x = 0, y = 0, z = 1},"
         " {x = 0, y = 3, z = 0}}, 4) body(k, 0)",
         "k:getShapeType() .. ' ' .. down(0, 0)", "5 3.04"},
    };
    runCases(cases);
}

TEST_F(Physics3DBindingTest, PhysicsSpritesFallWithTheirScene) {
    testsupport::TempDir dir;
    const std::string model = dir.write("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    lua_pushstring(L, model.c_str());
    lua_setglobal(L, "model");
    ASSERT_EQ(run("scene = cc.Scene:createWithPhysics()\n"
                  "s = cc.PhysicsSprite3D:create(model, {mass = 1, shape = box}, {x = 0, y = 0, z = 0})\n"
                  "s:setPosition3D({x = 1, y = 5, z = -2}) scene:addChild(s)"),
              "");
    EXPECT_EQ(eval("tolua.type(s) .. ' ' .. tolua.type(s:getPhysicsObj()) .. ' ' .. "
                   "tostring(s:getPhysicsComponent():getOwner() == s)"),
              "cc.PhysicsSprite3D cc.Physics3DRigidBody true");
    EXPECT_EQ(eval("tostring(cc.PhysicsSprite3D:create(model, {mass = 1})) .. ' ' .. "
                   "tostring(cc.PhysicsSprite3D:create('" + dir.file("none.obj") + "', {mass = 1, shape = box}))"),
              "nil nil");
    lua_getglobal(L, "scene");
    engine::Scene* scene = bindings::objectAt<engine::Scene>(L, -1, "cc.Scene");
    lua_pop(L, 1);
    ASSERT_NE(scene, nullptr);
    scene->retain();
    scene->onEnter();
    ASSERT_EQ(run("for i = 1, 30 do scene:getPhysics3DWorld():stepSimulate(1 / 60) end"), "");
    // Thirty steps of 1/60 s from rest under 9.8 (velocity first): 9.8 * 465 / 3600
    // down, no move across.
    EXPECT_EQ(eval("v(s:getPosition3D())"), "1.00 3.73 -2.00");
    scene->onExit();
    scene->release();
}

TEST_F(Physics3DBindingTest, CountAndArgumentErrors) {
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.PhysicsSprite3D:create('m.obj')", "cc.PhysicsSprite3D:create has wrong number of arguments: 1, was expecting 2\n "},
        {"cc.PhysicsSprite3D:create('m.obj', {}, {}, {}, {})",
         "cc.PhysicsSprite3D:create has wrong number of arguments: 5, was expecting 2\n "},
        {"cc.PhysicsSprite3D:create('m.obj', 5)", "invalid arguments in function 'lua_engine_physics3d_PhysicsSprite3D_create'"},
        {"cc.Physics3DRigidBody:create()", "cc.Physics3DRigidBody:create has wrong number of arguments: 0, was expecting 1\n "},
        {"cc.Physics3DRigidBody:create(5)", "invalid arguments in function 'lua_engine_physics3d_Physics3DRigidBody_create'"},
        {"cc.Physics3DComponent:create(nil, nil, nil, nil)",
         "cc.Physics3DComponent:create has wrong number of arguments: 4, was expecting 0"},
        {"cc.Physics3DComponent:create(box)",
         "invalid arguments in function 'lua_engine_physics3d_Physics3DComponent_create'"},
        {"cc.Physics3DShape:createMesh({})", "cc.Physics3DShape:createMesh has wrong number of arguments: 1, was expecting 2\n "},
        {"cc.Physics3DShape:createMesh({{x = 0}, 5, {}}, 1)",
         "invalid arguments in function 'lua_engine_physics3d_Physics3DShape_createMesh'"},
        {"cc.Physics3DShape:createHeightfield(2, 2, {}, 1, 0, 1, true)",
         "cc.Physics3DShape:createHeightfield has wrong number of arguments: 7, was expecting 8\n "},
        {"cc.Physics3DShape:createHeightfield(2, 2, {}, 1, 0, 1, true, false, false, 1)",
         "cc.Physics3DShape:createHeightfield has wrong number of arguments: 10, was expecting 8\n "},
        {"cc.Physics3DShape:createHeightfield(2, 2, 'x', 1, 0, 1, true, false)",
         "invalid arguments in function 'lua_engine_physics3d_Physics3DShape_createHeightfield'"},
        {"cc.Physics3DShape:createCompoundShape()",
         "cc.Physics3DShape:createCompoundShape has wrong number of arguments: 0, was expecting 1\n "},
        {"world:rayCast({x = 0, y = 0, z = 0}, {x = 0, y = 1, z = 0})",
         "cc.Physics3DWorld:rayCast has wrong number of arguments: 2, was expecting 3 \n"},
        {"world:rayCast(1, {x = 0, y = 1, z = 0}, {})",
         "invalid arguments in function 'lua_engine_physics3d_Physics3DWorld_rayCast'"},
        {"cc.Physics3DRigidBody:create({mass = 1, shape = box}):setCollisionCallback()",
         "cc.Physics3DObject:setCollisionCallback has wrong number of arguments: 0, was expecting 1 \n"},
        {"cc.Scene:create():getPhysics3DWorld(1)", "cc.Scene:getPhysics3DWorld has wrong number of arguments: 1, was expecting 0 \n"},
        {"cc.Scene:create():setPhysics3DDebugCamera(cc.Node:create())",
         "invalid arguments in function 'lua_engine_Scene_setPhysics3DDebugCamera'"},
        {"cc.Scene:create():setPhysics3DDebugCamera()",
         "cc.Scene:setPhysics3DDebugCamera has wrong number of arguments: 0, was expecting 0 \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
}

TEST_F(Physics3DBindingTest, SceneWorldComponentsAndEmptyComponent) {
    const ChunkCase cases[] = {
        {"a plain scene has no 3D world", "", "tostring(cc.Scene:create():getPhysics3DWorld())", "nil"},
        {"a physics scene has one", "s = cc.Scene:createWithPhysics()",
         "tolua.type(s:getPhysics3DWorld()) .. ' ' .. v(s:getPhysics3DWorld():getGravity())",
         "cc.Physics3DWorld 0.00 -9.80 0.00"},
        {"the debug camera takes a camera or nil", "s:setPhysics3DDebugCamera(cc.Camera:create()) s:setPhysics3DDebugCamera(nil)",
         "'ok'", "ok"},
        {"a component with no arguments is empty", "c = cc.Physics3DComponent:create()",
         "tolua.type(c) .. ' ' .. tostring(c:getPhysics3DObject()) .. ' ' .. c:getSyncFlag()",
         "cc.Physics3DComponent nil 3"},
        {"a component joins its node", "b = cc.Physics3DRigidBody:create({mass = 1, shape = box})"
         " c = cc.Physics3DComponent:create(b, {x = 0, y = 1, z = 0}, {x = 0, y = 0, z = 0, w = 1})"
         " n = cc.Node:create() n:addComponent(c)",
         "tostring(c:getPhysics3DObject() == b) .. ' ' .. tostring(n:getComponent(c:getName()) == c) .. ' ' .. "
         "tostring(c:getOwner() == n)",
         "true true true"},
    };
    runCases(cases);
}

}  // namespace
}  // namespace bindingtest
