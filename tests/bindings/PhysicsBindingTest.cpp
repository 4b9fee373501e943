// The 2D physics classes as scripts see them: constructors from point arrays and
// their defaults, the polygon computations, point getters, joints, the world's
// queries with Lua callbacks, contact handlers with their answers, and the count
// and argument errors of the hand-written methods.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaChecks.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/Scene.h"

namespace bindingtest {
namespace {

class PhysicsBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        ASSERT_EQ(run("square = {{x = 0, y = 0}, {x = 2, y = 0}, {x = 2, y = 2}, {x = 0, y = 2}}\n"
                      "function material(s) return string.format('%.2f %.2f %.2f', s:getDensity(),"
                      "  s:getRestitution(), s:getFriction()) end"),
                  "");
    }

    // The scene in the global `scene`, entered: its nodes' bodies join its world.
    void enterScene() {
        lua_getglobal(L, "scene");
        engine::Scene* scene = bindings::objectAt<engine::Scene>(L, -1, "cc.Scene");
        lua_pop(L, 1);
        ASSERT_NE(scene, nullptr);
        scene->onEnter();
        _entered = scene;
        _entered->retain();
    }

    void TearDown() override {
        if (_entered) {
            _entered->onExit();
            _entered->release();
        }
        LuaEngineBindingTest::TearDown();
    }

    engine::Scene* _entered = nullptr;
};

TEST_F(PhysicsBindingTest, ConstructorsComputationsAndGetters) {
    const ChunkCase cases[] = {
        {"body from points: body material, no offset", "b = cc.PhysicsBody:createPolygon(square) s = b:getShapes()[1]",
         "tolua.type(b) .. ' ' .. tolua.type(s) .. ' ' .. material(s) .. ' ' .. s:getOffset().x",
         "cc.PhysicsBody cc.PhysicsShapePolygon 0.10 0.50 0.50 0"},
        {"shape from points: zero material", "s = cc.PhysicsShapePolygon:create(square)",
         "tolua.type(s) .. ' ' .. material(s)", "cc.PhysicsShapePolygon 0.00 0.00 0.00"},
        {"generated-style shape creators", "s = cc.PhysicsShapeBox:create({width = 4, height = 2})",
         "material(s) .. ' ' .. s:getOffset().y", "0.00 0.00 0.00 0"},
        {"body creators", "b = cc.PhysicsBody:createBox({width = 4, height = 4}) e = cc.PhysicsBody:createEdgeSegment({x = 0, y = 0}, {x = 5, y = 0})",
         "material(b:getShapes()[1]) .. ' ' .. tostring(b:isDynamic()) .. ' ' .. tostring(e:isDynamic())",
         "0.10 0.50 0.50 true false"},
        {"material and offset given",
         "b = cc.PhysicsBody:createPolygon(square, {density = 1, restitution = 0, friction = 2}, {x = 3, y = 0})",
         "material(b:getShapes()[1]) .. ' ' .. b:getShapes()[1]:getOffset().x", "1.00 0.00 2.00 3"},
        {"chain with a border", "c = cc.PhysicsBody:createEdgeChain(square, {density = 0, restitution = 0, friction = 0}, 2)",
         "tolua.type(c:getShapes()[1]) .. ' ' .. #c:getShapes()[1]:getPoints()", "cc.PhysicsShapeEdgeChain 4"},
        {"too few points give nil", "",
         "tostring(cc.PhysicsBody:createPolygon({{x = 0, y = 0}, {x = 1, y = 0}})) .. ' ' .. "
         "tostring(cc.PhysicsShapeEdgePolygon:create({})) .. ' ' .. tostring(cc.PhysicsShapeEdgeChain:create({{x = 1, y = 1}}))",
         "nil nil nil"},
        {"a material that is not a table gives no value", "", "select('#', cc.PhysicsBody:createPolygon(square, 5))", "0"},
        {"area, moment and centre", "",
         "cc.PhysicsShapePolygon:calculateArea(square) .. ' ' .. cc.PhysicsShapePolygon:calculateArea({}) .. ' ' .. "
         "cc.PhysicsShapePolygon:calculateMoment(3, square) .. ' ' .. cc.PhysicsShapePolygon:calculateMoment(3, {}) .. ' ' .. "
         "cc.PhysicsShape:getPolyonCenter(square).x .. ' ' .. cc.PhysicsShape:getPolyonCenter({}).y",
         "4 0 8 0 1 0"},
        {"recentred points", "r = cc.PhysicsShape:recenterPoints(square, {x = 10, y = 0})",
         "#r .. ' ' .. r[1].x .. ' ' .. r[1].y .. ' ' .. #cc.PhysicsShape:recenterPoints({})", "4 9 -1 0"},
        {"points of every shape kind", "",
         "#cc.PhysicsShapeBox:create({width = 2, height = 2}):getPoints() .. ' ' .. "
         "#cc.PhysicsShapeEdgeBox:create({width = 2, height = 2}):getPoints() .. ' ' .. "
         "#cc.PhysicsShapePolygon:create(square):getPoints() .. ' ' .. "
         "#cc.PhysicsShapeEdgePolygon:create(square):getPoints() .. ' ' .. "
         "#cc.PhysicsShapeEdgeChain:create(square):getPoints()",
         "4 4 4 4 4"},
        {"constants", "",
         "cc.PhysicsWorld.DEBUGDRAW_NONE .. cc.PhysicsWorld.DEBUGDRAW_SHAPE .. cc.PhysicsWorld.DEBUGDRAW_JOINT .. "
         "cc.PhysicsWorld.DEBUGDRAW_CONTACT .. cc.PhysicsWorld.DEBUGDRAW_ALL .. ' ' .. tostring(PHYSICS_INFINITY == math.huge)",
         "01247 true"},
        {"plain scene has no world", "", "tostring(cc.Scene:create():getPhysicsWorld())", "nil"},
        {"world of a physics scene", "scene = cc.Scene:createWithPhysics() w = scene:getPhysicsWorld()",
         "tolua.type(w) .. ' ' .. tolua.type(w:getScene()) .. ' ' .. w:getGravity().y .. ' ' .. tostring(w:getScene() == scene)",
         "cc.PhysicsWorld cc.Scene -98 true"},
        {"node keeps its body and returns itself",
         "n = cc.Node:create() b = cc.PhysicsBody:createCircle(3) r = n:setPhysicsBody(b)",
         "tostring(n:getPhysicsBody() == b) .. ' ' .. tostring(r == n) .. ' ' .. tostring(n:removeFromPhysicsWorld() == n) .. "
         "' ' .. tostring(cc.Node:create():getPhysicsBody())",
         "true true true nil"},
    };
    runCases(cases);
}

TEST_F(PhysicsBindingTest, CountAndArgumentErrors) {
    ASSERT_EQ(run("scene = cc.Scene:createWithPhysics() w = scene:getPhysicsWorld() b = cc.PhysicsBody:create()\n"
                  "box = cc.PhysicsShapeBox:create({width = 1, height = 1}) l = cc.EventListenerPhysicsContact:create()\n"
                  "f = function() end n = cc.Node:create()"),
              "");
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.PhysicsBody:createPolygon()", "createPolygon has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsBody:createEdgeChain(square, nil, 1, 2)", "createEdgeChain has wrong number of arguments: 4, was expecting 2\n "},
        {"cc.PhysicsBody:createEdgePolygon()", "createEdgePolygon has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShapePolygon:create()", "create has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShapeEdgePolygon:create()", "create has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShapeEdgeChain:create()", "create has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShapePolygon:calculateArea()", "calculateArea has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShapePolygon:calculateMoment(square)", "calculateMoment has wrong number of arguments: 1, was expecting 3\n "},
        {"cc.PhysicsShape:getPolyonCenter()", "getPolyonCenter has wrong number of arguments: 0, was expecting 2\n "},
        {"cc.PhysicsShape:recenterPoints(square, {}, 1)", "recenterPoints has wrong number of arguments: 3, was expecting 2\n "},
        {"box:getPoints(1)", "getPoints has wrong number of arguments: 1, was expecting 1 \n"},
        {"cc.PhysicsShapeEdgeChain:create(square):getPoints(1, 2)", "getPoints has wrong number of arguments: 2, was expecting 1 \n"},
        {"b:getJoints(1)", "getJoints has wrong number of arguments: 1, was expecting 0 \n"},
        {"w:getScene(1)", "getScene has wrong number of arguments: 1, was expecting 0 \n"},
        {"w:queryPoint(f)", "queryPoint has wrong number of arguments: 1, was expecting 3 \n"},
        {"w:queryRect(f, {}, 1)", "queryRect has wrong number of arguments: 3, was expecting 3 \n"},
        {"w:rayCast(f, {})", "rayCast has wrong number of arguments: 2, was expecting 4 \n"},
        {"l:registerScriptHandler(f)", "'registerScriptHandler' has wrong number of arguments: 1, was expecting 2\n"},
        {"n:getPhysicsBody(1)", "cc.Node:getPhysicsBody has wrong number of arguments: 1, was expecting 0 \n"},
        {"n:setPhysicsBody()", "cc.Node:setPhysicsBody has wrong number of arguments: 0, was expecting 1 \n"},
        {"n:setPhysicsBody(n)", "invalid arguments in function 'lua_engine_Node_setPhysicsBody'"},
        {"n:removeFromPhysicsWorld(1)", "cc.Node:removeFromPhysicsWorld has wrong number of arguments: 1, was expecting 0 \n"},
        {"cc.Scene:createWithPhysics(1)", "cc.Scene:createWithPhysics has wrong number of arguments: 1, was expecting 0\n "},
        {"scene:getPhysicsWorld(1)", "cc.Scene:getPhysicsWorld has wrong number of arguments: 1, was expecting 0 \n"},
        {"cc.PhysicsBody.getJoints(box)", "invalid 'self' in function 'getJoints'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
}

// Handler ids held in the registry.
int handlerCount(lua_State* L) {
    lua_pushstring(L, "toluafix_refid_function_mapping");
    lua_rawget(L, LUA_REGISTRYINDEX);
    int count = 0;
    if (lua_istable(L, -1)) {
        lua_pushnil(L);
        while (lua_next(L, -2)) {
            ++count;
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
    return count;
}

TEST_F(PhysicsBindingTest, HandlerIdsAreKeptOnlyWhereUsed) {
    ASSERT_EQ(run("scene = cc.Scene:createWithPhysics() w = scene:getPhysicsWorld() l = cc.EventListenerPhysicsContact:create()"), "");
    const int before = handlerCount(L);
    ASSERT_EQ(run("l:registerScriptHandler(function() end, 57) l:registerScriptHandler(function() end, 52.9)"), "");
    ASSERT_EQ(run("w:queryPoint(function() return true end, {x = 0, y = 0})"), "");
    EXPECT_EQ(handlerCount(L), before);
    ASSERT_EQ(run("l:registerScriptHandler(function() end, 53.7)"), "");  // truncated to 53
    EXPECT_EQ(handlerCount(L), before + 1);
}

TEST_F(PhysicsBindingTest, QueriesCallBackAndReturnTheWorld) {
    ASSERT_EQ(run("scene = cc.Scene:createWithPhysics() w = scene:getPhysicsWorld() w:setAutoStep(false)\n"
                  "a = cc.Node:create() a:setPhysicsBody(cc.PhysicsBody:createBox({width = 20, height = 20})) scene:addChild(a)\n"
                  "c = cc.Node:create() c:setPosition(100, 0) c:setPhysicsBody(cc.PhysicsBody:createCircle(10)) scene:addChild(c)\n"
                  "hits = {} function hit(world, x) hits[#hits + 1] = {world, x} return true end"),
              "");
    enterScene();
    const ChunkCase cases[] = {
        {"point hit", "hits = {} r = w:queryPoint(hit, {x = 0, y = 0})",
         "#hits .. ' ' .. tolua.type(hits[1][1]) .. ' ' .. tolua.type(hits[1][2]) .. ' ' .. tostring(r == w) .. ' ' .. "
         "tostring(hits[1][2] == a:getPhysicsBody():getShapes()[1])",
         "1 cc.PhysicsWorld cc.PhysicsShapeBox true true"},
        {"point miss", "hits = {} r = w:queryPoint(hit, {x = 50, y = 0})", "#hits .. ' ' .. tostring(r == w)", "0 true"},
        {"rectangle over both", "hits = {} r = w:queryRect(hit, {x = -50, y = -50, width = 200, height = 100})",
         "#hits .. ' ' .. tostring(r == w)", "2 true"},
        {"rectangle over none", "hits = {} w:queryRect(hit, {x = 30, y = 30, width = 5, height = 5})", "#hits", "0"},
        {"false ends the query",
         "n = 0 w:queryRect(function() n = n + 1 return false end, {x = -50, y = -50, width = 200, height = 100})", "n", "1"},
        {"ray-cast record", "hits = {} r = w:rayCast(hit, {x = 100, y = 100}, {x = 100, y = -100})",
         "#hits .. ' ' .. tolua.type(hits[1][2].shape) .. ' ' .. hits[1][2].start.y .. ' ' .. hits[1][2].ended.y .. ' ' .. "
         "string.format('%.2f %.2f %.2f', hits[1][2].contact.y, hits[1][2].normal.y, hits[1][2].fraction) .. ' ' .. tostring(r == w)",
         "1 cc.PhysicsShapeCircle 100 -100 10.00 1.00 0.45 true"},
        {"ray missing", "hits = {} w:rayCast(hit, {x = 50, y = 100}, {x = 50, y = -100})", "#hits", "0"},
        {"unreadable rectangle: no value", "", "select('#', w:queryRect(hit, 5))", "0"},
        {"joints of a body", "j = cc.PhysicsJointPin:construct(a:getPhysicsBody(), c:getPhysicsBody(), {x = 50, y = 0})",
         "#a:getPhysicsBody():getJoints() .. ' ' .. tostring(w:addJoint(j)) .. ' ' .. #a:getPhysicsBody():getJoints() .. ' ' .. "
         "tolua.type(a:getPhysicsBody():getJoints()[1]) .. ' ' .. #w:getAllBodies()",
         "1 true 1 cc.PhysicsJointPin 2"},
        {"no joints", "", "#cc.PhysicsBody:create():getJoints()", "0"},
    };
    for (const ChunkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int top = lua_gettop(L);
        ASSERT_EQ(run(c.chunk), "");
        EXPECT_EQ(eval(c.expression), c.expected);
        EXPECT_EQ(lua_gettop(L), top);
    }
}

TEST_F(PhysicsBindingTest, ContactHandlersHearPhasesAndTheirAnswersDecide) {
    struct Answer {
        const char* name;
        const char* begin;
        const char* preSolve;
        const char* expected;  // phases heard (each once), then whether the box rests
    };
    const Answer answers[] = {
        {"accepted", "true", "true", "begin presolve postsolve rests"},
        {"begin answers false", "false", "true", "begin separate falls"},
        {"pre-solve answers false", "true", "false", "begin presolve separate falls"},
    };
    for (const Answer& a : answers) {
        SCOPED_TRACE(a.name);
        const std::string setup =
            std::string("scene = cc.Scene:createWithPhysics() w = scene:getPhysicsWorld() w:setAutoStep(false)\n"
                        "box = cc.Node:create() box:setPosition(0, 40)\n"
                        "box:setPhysicsBody(cc.PhysicsBody:createBox({width = 20, height = 20}, {density = 1, restitution = 0, friction = 1}))\n"
                        "box:getPhysicsBody():setContactTestBitmask(1) scene:addChild(box)\n"
                        "ground = cc.Node:create() ground:setPhysicsBody(cc.PhysicsBody:createEdgeSegment({x = -100, y = 0}, {x = 100, y = 0}))\n"
                        "scene:addChild(ground)\n"
                        "heard = {} seen = {} function note(p) if not seen[p] then seen[p] = true heard[#heard + 1] = p end end\n"
                        "l = cc.EventListenerPhysicsContact:create()\n"
                        "l:registerScriptHandler(function(c) note('begin') assert(tolua.type(c) == 'cc.PhysicsContact') return ") +
            a.begin + " end, 53)\n"
                      "l:registerScriptHandler(function(c, s) note('presolve') assert(tolua.type(s) == 'cc.PhysicsContactPreSolve') return " +
            a.preSolve + " end, 54)\n"
                         "l:registerScriptHandler(function(c, s) note('postsolve') return false end, 55)\n"
                         "l:registerScriptHandler(function(c) note('separate') end, 56)\n"
                         "l:registerScriptHandler(function() note('other') end, 57)\n"
                         "cc.Director:getInstance():getEventDispatcher():addEventListenerWithFixedPriority(l, 1)";
        ASSERT_EQ(run(setup), "");
        enterScene();
        const int top = lua_gettop(L);
        ASSERT_EQ(run("for i = 1, 90 do w:step(1 / 60) end"), "");
        EXPECT_EQ(lua_gettop(L), top);
        EXPECT_EQ(eval("table.concat(heard, ' ') .. ' ' .. (box:getPhysicsBody():getPosition().y > 5 and 'rests' or 'falls')"), a.expected);
        ASSERT_EQ(run("cc.Director:getInstance():getEventDispatcher():removeEventListener(l)"), "");
        _entered->onExit();
        _entered->release();
        _entered = nullptr;
        engine::AutoreleasePool::getInstance()->clear();
    }
}

}  // namespace
}  // namespace bindingtest
