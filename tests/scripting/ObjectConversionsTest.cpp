// Engine objects pushed to and read from Lua: dynamic-type pushes, object
// arguments, vectors and maps of objects, call arguments as a vector, and the
// ray-cast record.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ScriptTestSupport.h"
#include "engine/base/Map.h"
#include "engine/base/Vector.h"
#include "engine/input/Touch.h"
#include "engine/physics/PhysicsRecords.h"
#include "engine/physics/PhysicsShape.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaObjectConversions.h"

namespace scripttest {
namespace {

// A subclass known only to native code: pushed under its declared type.
class NativeOnlyNode : public engine::Node {
public:
    static NativeOnlyNode* create() {
        auto* node = new NativeOnlyNode();
        node->autorelease();
        return node;
    }
};

// A subclass registered under its own Lua name, as the sprite class is.
class TestSprite : public engine::Node {
public:
    static TestSprite* create() {
        auto* node = new TestSprite();
        node->autorelease();
        return node;
    }
};

// Not reference counted, without virtual functions: the static form of the lookup.
struct PlainRecord {
    int value = 0;
};

class ObjectConversionsTest : public LuaStackTest {
protected:
    void SetUp() override {
        LuaStackTest::SetUp();
        tolua_module(L, nullptr, 0);
        tolua_beginmodule(L, nullptr);
        tolua_module(L, "cc", 0);
        tolua_beginmodule(L, "cc");
        luaconv_register_class<TestSprite>(L, "Sprite", "cc.Sprite", "cc.Node");
        luaconv_register_class<PlainRecord>(L, "PlainRecord", "cc.PlainRecord", nullptr);
        luaconv_register_class<engine::PhysicsShape>(L, "PhysicsShape", "cc.PhysicsShape", "cc.Ref");
        tolua_endmodule(L);
        tolua_endmodule(L);
    }

    void TearDown() override {
        if (_touch) _touch->release();
        LuaStackTest::TearDown();
    }

    // Globals "node" and "scene" (a cc.Node and a cc.Scene, returned) and "touch"
    // (a cc.Touch, which is no node): what object reads take and refuse.
    std::pair<engine::Node*, engine::Scene*> setObjectGlobals() {
        engine::Node* node = engine::Node::create();
        engine::Scene* scene = engine::Scene::create();
        _touch = new engine::Touch();
        luaconv_push_object(L, "cc.Node", node);
        lua_setglobal(L, "node");
        luaconv_push_object(L, "cc.Scene", scene);
        lua_setglobal(L, "scene");
        luaconv_push_object(L, "cc.Touch", _touch);
        lua_setglobal(L, "touch");
        return {node, scene};
    }

    // tolua.type of the value on top, popped.
    std::string popType() {
        lua_setglobal(L, "value");
        run("valueType = tolua.type(value)");
        return global("valueType");
    }
    // Lua's view of the value on top, popped: a table as "k=type(v),..." in key order.
    std::string popShape() {
        lua_setglobal(L, "value");
        run(R"(
            local keys = {}
            for k in pairs(value) do keys[#keys + 1] = k end
            table.sort(keys, function(a, b) return tostring(a) < tostring(b) end)
            local parts = {}
            for _, k in ipairs(keys) do parts[#parts + 1] = tostring(k) .. '=' .. tolua.type(value[k]) end
            shape = table.concat(parts, ',')
        )");
        return global("shape");
    }

    engine::Touch* _touch = nullptr;
};

TEST_F(ObjectConversionsTest, PushChoosesTheDynamicClassElseTheDeclaredOne) {
    engine::Node* sprite = TestSprite::create();
    engine::Node* scene = engine::Scene::create();
    engine::Node* nativeOnly = NativeOnlyNode::create();
    struct Case {
        engine::Node* object;
        const char* expected;
    } cases[] = {{sprite, "cc.Sprite"}, {scene, "cc.Scene"}, {nativeOnly, "cc.Node"}, {nullptr, "nil"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const int top = lua_gettop(L);
        luaconv_push_object(L, "cc.Node", c.object);
        ASSERT_EQ(lua_gettop(L), top + 1);
        EXPECT_EQ(popType(), c.expected);
    }
    // The same object comes back as the same userdata.
    luaconv_push_object(L, "cc.Node", sprite);
    luaconv_push_object(L, "cc.Node", sprite);
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_pop(L, 2);
}

TEST_F(ObjectConversionsTest, UsertypePushOfPlainObjects) {
    PlainRecord record;
    luaconv_push_usertype(L, "cc.Fallback", &record);
    EXPECT_EQ(popType(), "cc.PlainRecord");
    luaconv_push_usertype<PlainRecord>(L, "cc.Fallback", nullptr);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(luaconv_type_name_of(&record, "cc.Fallback"), std::string("cc.PlainRecord"));
    EXPECT_EQ(luaconv_type_name_of<PlainRecord>(nullptr, "cc.Fallback"), nullptr);
}

TEST_F(ObjectConversionsTest, ReadObjectArgument) {
    const auto [node, scene] = setObjectGlobals();

    engine::Node* const untouched = reinterpret_cast<engine::Node*>(0x10);
    struct Case {
        const char* value;  // Lua expression; null for an absent argument
        bool ok;
        engine::Node* expected;
    } cases[] = {
        {"node", true, node},          {"scene", true, scene},         {"nil", true, nullptr},
        {"touch", false, untouched},   {"5", false, untouched},        {"{}", false, untouched},
        {nullptr, false, untouched},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "absent");
        lua_settop(L, 0);
        if (c.value) {
            ASSERT_EQ(luaL_dostring(L, (std::string("return ") + c.value).c_str()), 0);
        }
        const int top = lua_gettop(L);
        engine::Node* out = untouched;
        EXPECT_EQ(luaconv_read_object(L, 1, "cc.Node", &out, "test"), c.ok);
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(lua_gettop(L), top);
    }
    lua_settop(L, 0);
}

TEST_F(ObjectConversionsTest, VectorPushKeepsRegisteredElementsDense) {
    engine::Vector<engine::Node*> nodes;
    nodes.pushBack(engine::Node::create());
    nodes.pushBack(NativeOnlyNode::create());
    nodes.pushBack(TestSprite::create());
    nodes.pushBack(engine::Scene::create());
    luaconv_push_object_vector(L, nodes);
    EXPECT_EQ(popShape(), "1=cc.Node,2=cc.Sprite,3=cc.Scene");

    luaconv_push_object_vector(L, engine::Vector<engine::Node*>());
    EXPECT_EQ(popShape(), "");
}

TEST_F(ObjectConversionsTest, MapPushLeavesOutUnregisteredClasses) {
    engine::Map<std::string, engine::Node*> nodes;
    nodes.insert("plain", engine::Node::create());
    nodes.insert("native", NativeOnlyNode::create());
    nodes.insert("sprite", TestSprite::create());
    luaconv_push_object_map(L, nodes);
    EXPECT_EQ(popShape(), "plain=cc.Node,sprite=cc.Sprite");
}

TEST_F(ObjectConversionsTest, ReadObjectVectorChecksEveryElementsType) {
    const auto [node, scene] = setObjectGlobals();

    struct Case {
        const char* table;
        bool ok;
        size_t read;  // elements appended
    } cases[] = {
        {"{}", true, 0},
        {"{node, scene}", true, 2},                           // subclasses are taken
        {"{node, 5, 'x', true, scene}", true, 2},             // non-userdata skipped
        {"{node, touch, scene}", false, 0},                   // a foreign object fails the read
        {"{touch}", false, 0},
        {"'not a table'", false, 0},
        {"nil", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        lua_settop(L, 0);
        ASSERT_EQ(luaL_dostring(L, (std::string("return ") + c.table).c_str()), 0);
        engine::Vector<engine::Node*> out;
        out.pushBack(node);  // readers append; a failed read leaves this alone
        const unsigned int nodeRefs = node->getReferenceCount();
        EXPECT_EQ(luaconv_read_object_vector(L, 1, &out, "test"), c.ok);
        EXPECT_EQ(out.size(), 1 + c.read);
        EXPECT_EQ(lua_gettop(L), 1);
        if (!c.ok) {
            EXPECT_EQ(node->getReferenceCount(), nodeRefs);
        }
    }
    lua_settop(L, 0);
    EXPECT_FALSE(luaconv_read_object_vector<engine::Node>(L, 1, nullptr));

    // A T with no Lua type of its own cannot be checked, so it is not read.
    ASSERT_EQ(luaL_dostring(L, "return {node}"), 0);
    engine::Vector<NativeOnlyNode*> unregistered;
    EXPECT_FALSE(luaconv_read_object_vector(L, 1, &unregistered));
    lua_settop(L, 0);
}

TEST_F(ObjectConversionsTest, ReadObjectVectorRetainsWhatItAppends) {
    engine::Node* node = engine::Node::create();
    luaconv_push_object(L, "cc.Node", node);
    lua_setglobal(L, "node");
    ASSERT_EQ(luaL_dostring(L, "return {node, node}"), 0);
    const unsigned int before = node->getReferenceCount();
    {
        engine::Vector<engine::Node*> out;
        ASSERT_TRUE(luaconv_read_object_vector(L, -1, &out));
        EXPECT_EQ(out.size(), 2u);
        EXPECT_EQ(node->getReferenceCount(), before + 2);
    }
    EXPECT_EQ(node->getReferenceCount(), before);
    lua_settop(L, 0);
}

// The reader reads raw: a raising __index never runs for the hole, nothing
// raises and the objects around the hole are read.
engine::Vector<engine::Node*>* g_readTarget = nullptr;
int readGlobalT(lua_State* L) {
    lua_getglobal(L, "t");
    lua_pushboolean(L, luaconv_read_object_vector(L, lua_gettop(L), g_readTarget));
    lua_setglobal(L, "read");
    return 0;
}

TEST_F(ObjectConversionsTest, ReadObjectVectorRunsNoMetamethod) {
    engine::Node* node = engine::Node::create();
    luaconv_push_object(L, "cc.Node", node);
    lua_setglobal(L, "node");
    run("t = setmetatable({node, node, node}, {__index = function() error('hole', 0) end}) t[2] = nil");
    engine::Vector<engine::Node*> out;
    g_readTarget = &out;
    const unsigned int refs = node->getReferenceCount();
    ASSERT_EQ(lua_cpcall(L, &readGlobalT, nullptr), 0) << lua_tostring(L, -1);
    lua_getglobal(L, "read");
    EXPECT_TRUE(lua_toboolean(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(node->getReferenceCount(), refs + 2);
    g_readTarget = nullptr;
}

TEST_F(ObjectConversionsTest, VarargsVector) {
    setObjectGlobals();

    struct Case {
        const char* args;  // the call's stack: the class table first
        int argc;
        bool ok;
        size_t read;
    } cases[] = {
        {"{}, node, 5, scene", 3, true, 2},
        {"{}, node, touch, scene", 3, false, 1},  // ends at the foreign object; what came before stays
        {"{}, node", 0, false, 0},
        {"{}, node", -1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        lua_settop(L, 0);
        ASSERT_EQ(luaL_dostring(L, (std::string("return ") + c.args).c_str()), 0);
        engine::Vector<engine::Node*> out;
        EXPECT_EQ(luaconv_read_varargs_vector(L, c.argc, &out), c.ok);
        EXPECT_EQ(out.size(), c.read);
    }
    lua_settop(L, 0);
}

TEST_F(ObjectConversionsTest, RaycastInfo) {
    engine::PhysicsRayCastInfo info;
    info.shape = engine::PhysicsShape::create();
    info.start = {1, 2};
    info.end = {3, 4};
    info.contact = {5, 6};
    info.normal = {0, 1};
    info.fraction = 0.5f;
    luaconv_push_physics_raycast_info(L, info);
    lua_setglobal(L, "hit");
    run(R"(text = tolua.type(hit.shape) .. ' ' .. hit.start.x .. ',' .. hit.start.y .. ' ' ..
        hit.ended.x .. ',' .. hit.ended.y .. ' ' .. hit.contact.x .. ',' .. hit.contact.y .. ' ' ..
        hit.normal.x .. ',' .. hit.normal.y .. ' ' .. hit.fraction .. ' ' .. tostring(hit['end']))");
    EXPECT_EQ(global("text"), "cc.PhysicsShape 1,2 3,4 5,6 0,1 0.5 nil");

    info.shape = nullptr;
    luaconv_push_physics_raycast_info(L, info);
    lua_setglobal(L, "miss");
    run("text = tostring(miss.shape) .. ' ' .. miss.fraction");
    EXPECT_EQ(global("text"), "nil 0.5");
}

}  // namespace
}  // namespace scripttest
