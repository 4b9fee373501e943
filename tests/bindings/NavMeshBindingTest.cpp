// The navigation mesh as scripts see it: a mesh read from its files, held by a
// scene, an agent walking it whose move callback runs once with the agent and
// the time taken, a later callback releasing the earlier one, and the errors of
// the hand-written methods.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "BindingTestSupport.h"
#include "support/TestSupport.h"
#include "bindings/LuaChecks.h"
#include "bindings/LuaModules.h"
#include "engine/base/Scheduler.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/scene/Scene.h"

namespace bindingtest {
namespace {

// A 10 x 10 floor around the origin and a 4 x 10 one beside it, 2 units away.
const char kFloorsObj[] =
    "v -5 0 -5\nv 5 0 -5\nv 5 0 5\nv -5 0 5\n"
    "v 7 0 -5\nv 11 0 -5\nv 11 0 5\nv 7 0 5\n"
    "f 1 3 2\nf 1 4 3\nf 5 7 6\nf 5 8 7\n";

class NavMeshBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        bindings::register_navmesh_module(L);
        const std::string mesh = dir.write("floors.obj", kFloorsObj);
        const std::string links = dir.write("floors.links", "# across the gap\n4.5 0 0 7.5 0 0\n");
        lua_pushstring(L, mesh.c_str());
        lua_setglobal(L, "meshFile");
        lua_pushstring(L, links.c_str());
        lua_setglobal(L, "linksFile");
        ASSERT_EQ(run("scene = cc.Scene:create()\n"
                      "node = cc.Node:create() node:setPosition(-4, 0) scene:addChild(node)\n"
                      "agent = cc.NavMeshAgent:create({maxSpeed = 5})\n"
                      "node:addComponent(agent)"),
                  "");
    }

    void TearDown() override {
        if (_entered) {
            _entered->onExit();
            _entered->release();
        }
        LuaEngineBindingTest::TearDown();
    }

    void enterScene() {
        lua_getglobal(L, "scene");
        _entered = bindings::objectAt<engine::Scene>(L, -1, "cc.Scene");
        lua_pop(L, 1);
        ASSERT_NE(_entered, nullptr);
        _entered->retain();
        _entered->onEnter();
    }

    // Steps frames (with a short rest each) until the scene's mesh has been built.
    void waitForMesh() {
        lua_getglobal(L, "scene");
        auto* scene = bindings::objectAt<engine::Scene>(L, -1, "cc.Scene");
        lua_pop(L, 1);
        ASSERT_NE(scene, nullptr);
        engine::NavMesh* mesh = scene->getNavMesh();
        ASSERT_NE(mesh, nullptr);
        for (int i = 0; i < 30000 && mesh->isBuilding(); ++i) {
            runFrames(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(mesh->isBuilding());
    }

    void runFrames(int frames) {
        for (int i = 0; i < frames; ++i) engine::Director::getInstance()->getScheduler()->update(1.f / 60.f);
    }

    testsupport::TempDir dir;
    engine::Scene* _entered = nullptr;
};

TEST_F(NavMeshBindingTest, MeshFromFilesHeldByTheScene) {
    struct Case {
        const char* expression;
        const char* expected;
    } cases[] = {
        {"tolua.type(cc.NavMesh:create(meshFile))", "cc.NavMesh"},
        {"tolua.type(cc.NavMesh:create(meshFile, linksFile))", "cc.NavMesh"},
        {"cc.NavMesh:create(meshFile .. '.missing')", "nil"},
        {"cc.NavMesh:create(meshFile, meshFile)", "nil"},   // not a links file
        {"scene:getNavMesh()", "nil"},
        {"rawequal(scene:setNavMesh(cc.NavMesh:create(meshFile)), scene)", "true"},
        {"tolua.type(scene:getNavMesh())", "cc.NavMesh"},
        {"rawequal(scene:setNavMesh(nil), scene) and scene:getNavMesh()", "nil"},
        {"rawequal(scene:setNavMeshDebugCamera(cc.Camera:create()), scene)", "true"},
        {"string.format('%g %g', agent:getMaxSpeed(), agent:getRadius())", "5 0.6"},
        {"rawequal(node:getComponent(cc.NavMeshAgent:getNavMeshAgentComponentName()), agent)", "true"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.expression;
}

// Across the link to the far floor: one call, with the agent and the seconds walked.
TEST_F(NavMeshBindingTest, MoveCallbackRunsOnceAtTheGoal) {
    ASSERT_EQ(run("scene:setNavMesh(cc.NavMesh:create(meshFile, linksFile))\n"
                  "calls = 0\n"
                  "same = agent:move({x = 9, y = 0, z = 2}, function(a, t) calls = calls + 1 who = a took = t end)"),
              "");
    waitForMesh();
    enterScene();
    int frames = 0;
    while (frames < 1200 && eval("calls") == "0") {
        runFrames(1);
        ++frames;
    }
    runFrames(60);
    EXPECT_EQ(eval("calls"), "1");
    EXPECT_EQ(eval("rawequal(who, agent) and rawequal(same, agent)"), "true");
    const double took = std::stod(eval("took"));
    EXPECT_NEAR(took, frames / 60.0, 0.05);
    EXPECT_GT(took, 13.2 / 5.0);   // no faster than the straight line
    EXPECT_EQ(eval("math.floor(node:getPosition3D().x + 0.5) .. ',' .. math.floor(node:getPosition3D().z + 0.5)"),
              "9,2");
}

TEST_F(NavMeshBindingTest, LaterMoveReleasesTheEarlierCallback) {
    ASSERT_EQ(run("scene:setNavMesh(cc.NavMesh:create(meshFile))\n"
                  "weak = setmetatable({}, {__mode = 'k'})\n"
                  "local first = function() firstCalled = true end\n"
                  "weak[first] = true\n"
                  "agent:move({x = 4, y = 0, z = 4}, first)\n"
                  "agent:move({x = -4, y = 0, z = 3}, function() secondCalled = true end)"),
              "");
    ASSERT_EQ(run("collectgarbage() collectgarbage()"), "");
    EXPECT_EQ(eval("next(weak)"), "nil");
    waitForMesh();
    enterScene();
    runFrames(600);
    EXPECT_EQ(eval("tostring(firstCalled) .. ' ' .. tostring(secondCalled)"), "nil true");
}

TEST_F(NavMeshBindingTest, CountAndArgumentErrors) {
    const std::string moveArgs = "error: invalid arguments in function 'lua_engine_navmesh_NavMeshAgent_move'";
    struct Case {
        const char* expression;
        std::string expected;
    } cases[] = {
        {"agent:move()", "error: cc.NavMeshAgent:move has wrong number of arguments: 0, was expecting 1 \n"},
        {"agent:move({x = 1, y = 0, z = 0}, print, 3)",
         "error: cc.NavMeshAgent:move has wrong number of arguments: 3, was expecting 1 \n"},
        {"agent:move(5)", moveArgs},
        {"agent:move({x = 1, y = 0, z = 0}, 5)", moveArgs},
        {"agent:move('x', print)", moveArgs},
        {"cc.NavMeshAgent.move(node, {x = 1, y = 0, z = 0})",
         "error: invalid 'self' in function 'lua_engine_navmesh_NavMeshAgent_move'"},
        {"scene:setNavMesh()", "error: cc.Scene:setNavMesh has wrong number of arguments: 0, was expecting 1 \n"},
        {"scene:setNavMesh(node)", "error: invalid arguments in function 'lua_engine_Scene_setNavMesh'"},
        {"scene:getNavMesh(1)", "error: cc.Scene:getNavMesh has wrong number of arguments: 1, was expecting 0 \n"},
        {"scene:setNavMeshDebugCamera(node)",
         "error: invalid arguments in function 'lua_engine_Scene_setNavMeshDebugCamera'"},
        {"scene:setNavMeshDebugCamera()",
         "error: cc.Scene:setNavMeshDebugCamera has wrong number of arguments: 0, was expecting 1 \n"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.expression;
}

}  // namespace
}  // namespace bindingtest
