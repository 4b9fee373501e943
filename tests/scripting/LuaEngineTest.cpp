// The Lua engine: forwarding to the stack and the dispatch of engine events to
// script handlers.
#include <gtest/gtest.h>

#include <tolua++.h>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Event.h"
#include "engine/base/NotificationCenter.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/extension/TableView.h"
#include "engine/input/Acceleration.h"
#include "engine/input/Touch.h"
#include "engine/scene/MenuItem.h"
#include "engine/studio/Armature.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "scripting/LuaEngine.h"
#include "scripting/ToluaFix.h"

namespace {

using engine::LuaEngine;
using Kind = engine::ScriptHandlerMgr::HandlerType;

// Every handler records its arguments, one line per call: userdata by Lua type,
// tables by their items, the rest by tostring; it returns the global `answer`.
constexpr const char* kRecorder = R"(
calls = {}
answer = 1
local function show(v)
  if type(v) == 'userdata' then return tolua.type(v) end
  if type(v) == 'table' then
    local t = {}
    for i = 1, #v do t[#t + 1] = show(v[i]) end
    return '{' .. table.concat(t, ',') .. '}'
  end
  return tostring(v)
end
function recorder(...)
  local t = {}
  for i = 1, select('#', ...) do t[#t + 1] = show((select(i, ...))) end
  calls[#calls + 1] = table.concat(t, ' ')
  return answer
end
)";

class LuaEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        luaEngine = LuaEngine::getInstance();
        stack = luaEngine->getLuaStack();
        L = stack->getLuaState();
        ASSERT_EQ(luaL_dostring(L, kRecorder), 0);
        mgr = engine::ScriptHandlerMgr::getInstance();
    }
    void TearDown() override {
        engine::ScriptEngineManager::destroyInstance();
        if (LuaEngine* left = engineIfAlive()) delete left;
        engine::AutoreleasePool::getInstance()->clear();
        engine::Director::destroyInstance();
    }
    LuaEngine* engineIfAlive() { return installed ? nullptr : luaEngine; }

    // A new handler id for the recorder, filed on object under kind.
    int handlerOn(void* object, Kind kind) {
        const int id = newHandler();
        mgr->addObjectHandler(object, id, kind);
        return id;
    }
    int newHandler() {
        lua_getglobal(L, "recorder");
        const int id = toluafix_refFunction(L, -1, 0);
        lua_pop(L, 1);
        return id;
    }
    std::vector<std::string> calls() {
        std::vector<std::string> out;
        lua_getglobal(L, "calls");
        for (int i = 1; i <= static_cast<int>(lua_objlen(L, -1)); ++i) {
            lua_rawgeti(L, -1, i);
            out.emplace_back(lua_tostring(L, -1));
            lua_pop(L, 1);
        }
        lua_pop(L, 1);
        luaL_dostring(L, "calls = {}");
        return out;
    }
    void answer(int value) { luaL_dostring(L, ("answer = " + std::to_string(value)).c_str()); }

    LuaEngine* luaEngine = nullptr;
    engine::LuaStack* stack = nullptr;
    lua_State* L = nullptr;
    engine::ScriptHandlerMgr* mgr = nullptr;
    bool installed = false;
};

TEST_F(LuaEngineTest, SendEventCallsTheHandlerWithItsArguments) {
    engine::Node* node = engine::Node::create();
    engine::MenuItem* item = engine::MenuItem::create();
    item->setTag(9);
    engine::Touch* t1 = new engine::Touch;
    t1->setTouchInfo(4, 10, 20);
    engine::Touch* t2 = new engine::Touch;
    t2->setTouchInfo(5, 30, 40);
    std::vector<engine::Touch*> touches{t1, t2};
    engine::Acceleration acc;
    acc.x = 0.25;
    acc.y = 0.5;
    acc.z = 1;
    acc.timestamp = 2;
    handlerOn(node, Kind::NODE);
    handlerOn(item, Kind::MENU_CLICKED);
    handlerOn(node, Kind::TOUCHES);
    handlerOn(node, Kind::KEYPAD);
    handlerOn(node, Kind::ACCELEROMETER);
    handlerOn(node, Kind::CALLFUNC);

    int action = 2;
    engine::BasicScriptData nodeData(node, &action);
    engine::BasicScriptData menuData(item);
    engine::BasicScriptData callData(node, node);
    engine::BasicScriptData callNoTarget(node);
    engine::SchedulerScriptData scheduleData(newHandler(), 0.5f);
    engine::TouchScriptData touchData{1, node, t1, nullptr};
    engine::TouchesScriptData touchesData{3, node, &touches, nullptr};
    engine::KeypadScriptData backData{7, node};
    engine::KeypadScriptData menuKeyData{18, node};
    engine::BasicScriptData accData(node, &acc);
    engine::__String* source = engine::__String::create("unregistered class");
    engine::CommonScriptData common(newHandler(), "evt", source, "");
    engine::CommonScriptData commonNamed(newHandler(), "evt", node, "cc.Scene");
    engine::CommonScriptData commonBare(newHandler(), "evt");

    struct Case {
        int type;
        void* data;
        const char* call;
    };
    // Without a view, a point's GL y is minus its view y.
    const Case cases[] = {
        {engine::NODE_EVENT, &nodeData, "enterTransitionFinish"},
        {engine::MENU_CLICKED_EVENT, &menuData, "9 cc.MenuItem"},
        {engine::CALLFUNC_EVENT, &callData, "cc.Node"},
        {engine::CALLFUNC_EVENT, &callNoTarget, ""},
        {engine::SCHEDULE_EVENT, &scheduleData, "0.5"},
        {engine::TOUCH_EVENT, &touchData, "moved 10 -20"},
        {engine::TOUCHES_EVENT, &touchesData, "cancelled {10,-20,4,30,-40,5}"},
        {engine::KEYPAD_EVENT, &backData, "backClicked"},
        {engine::KEYPAD_EVENT, &menuKeyData, "menuClicked"},
        {engine::ACCELEROMETER_EVENT, &accData, "0.25 0.5 1 2"},
        {engine::COMMON_EVENT, &common, "evt cc.Ref"},
        {engine::COMMON_EVENT, &commonNamed, "evt cc.Node"},   // its registered dynamic type wins
        {engine::COMMON_EVENT, &commonBare, "evt"},
    };
    for (const Case& c : cases) {
        engine::ScriptEvent event(c.type, c.data);
        // The event runs in the middle of someone's work: what lies below stays.
        lua_pushstring(L, "below");
        answer(3);
        EXPECT_EQ(luaEngine->sendEvent(&event), 3) << c.call;
        EXPECT_EQ(calls(), std::vector<std::string>{c.call});
        ASSERT_EQ(lua_gettop(L), 1);
        lua_settop(L, 0);
    }
    t1->release();
    t2->release();
}

TEST_F(LuaEngineTest, SendEventWithoutWhatItNeedsCallsNothing) {
    engine::Node* node = engine::Node::create();
    engine::Node* bare = engine::Node::create();   // no handlers
    engine::Touch* touch = new engine::Touch;
    std::vector<engine::Touch*> none;
    for (Kind kind : {Kind::NODE, Kind::TOUCHES, Kind::KEYPAD, Kind::ACCELEROMETER, Kind::CALLFUNC}) {
        handlerOn(node, kind);
    }
    int action5 = 5;
    int action0 = 0;
    engine::BasicScriptData badAction(node, &action5);
    engine::BasicScriptData noValue(node);
    engine::BasicScriptData noObject(nullptr, &action0);
    engine::BasicScriptData noHandler(bare, &action0);
    engine::SchedulerScriptData noSchedule(0, 1.f);
    engine::TouchScriptData badPhase{4, node, touch, nullptr};
    engine::TouchScriptData noTouch{0, node, nullptr, nullptr};
    engine::TouchesScriptData noTouches{0, node, &none, nullptr};
    engine::KeypadScriptData otherKey{3, node};
    engine::CommonScriptData noCommonHandler(0, "evt");
    engine::BasicScriptData noCallObject(nullptr, node);

    struct Case {
        const char* what;
        int type;
        void* data;
    };
    const Case cases[] = {
        {"type 10", 10, &noValue},
        {"null record", engine::NODE_EVENT, nullptr},
        {"node action 5", engine::NODE_EVENT, &badAction},
        {"node without value", engine::NODE_EVENT, &noValue},
        {"node without object", engine::NODE_EVENT, &noObject},
        {"node without handler", engine::NODE_EVENT, &noHandler},
        {"schedule handler 0", engine::SCHEDULE_EVENT, &noSchedule},
        {"touch phase 4", engine::TOUCH_EVENT, &badPhase},
        {"touch without touch", engine::TOUCH_EVENT, &noTouch},
        {"touches empty", engine::TOUCHES_EVENT, &noTouches},
        {"key without a name", engine::KEYPAD_EVENT, &otherKey},
        {"accelerometer without value", engine::ACCELEROMETER_EVENT, &noValue},
        {"common handler 0", engine::COMMON_EVENT, &noCommonHandler},
        {"call-function without action", engine::CALLFUNC_EVENT, &noCallObject},
    };
    for (const Case& c : cases) {
        engine::ScriptEvent event(c.type, c.data);
        EXPECT_EQ(luaEngine->sendEvent(&event), 0) << c.what;
        EXPECT_TRUE(calls().empty()) << c.what;
    }
    EXPECT_EQ(luaEngine->sendEvent(nullptr), 0);
    EXPECT_EQ(lua_gettop(L), 0);
    touch->release();
}

TEST_F(LuaEngineTest, ControlEventCallsEverySetBitWithTheWholeMask) {
    engine::Node* control = engine::Node::create();
    luaL_dostring(L, "n = 0; function counted(...) n = n + 1; recorder(...); return n * 10 end");
    for (int bit : {0, 2}) {
        lua_getglobal(L, "counted");
        mgr->addObjectHandler(control, toluafix_refFunction(L, -1, 0),
                              static_cast<Kind>(engine::ScriptHandlerMgr::CONTROL_EVENT_FIRST + bit));
        lua_pop(L, 1);
    }
    int mask = 0b10101;   // bit 4 has no handler
    engine::BasicScriptData data(control, &mask);
    engine::ScriptEvent event(engine::CONTROL_EVENT, &data);
    EXPECT_EQ(luaEngine->sendEvent(&event), 20);
    EXPECT_EQ(calls(), (std::vector<std::string>{"cc.Node 21", "cc.Node 21"}));
}

TEST_F(LuaEngineTest, HandleEventPassesEachKindsRecord) {
    auto* view = engine::extension::TableView::create();
    auto* cell = engine::extension::TableViewCell::create();
    auto* armature = studio::Armature::create("hero");
    auto* bone = studio::Bone::create("arm");
    auto* event = new engine::EventCustom("custom");
    engine::Touch* touch = new engine::Touch;
    engine::Acceleration acc;
    acc.x = 0.1;
    acc.timestamp = 123456789.125;
    for (Kind k : {Kind::SCROLLVIEW_SCROLL, Kind::TABLECELL_TOUCHED, Kind::ASSETSMANAGER_PROGRESS,
                   Kind::ASSETSMANAGER_SUCCESS, Kind::ARMATURE_EVENT, Kind::EVENT_ACC, Kind::EVENT_CUSTOM,
                   Kind::EVENT_KEYBOARD_RELEASED, Kind::EVENT_TOUCH_ENDED, Kind::EVENT_TOUCHES_BEGAN,
                   Kind::EVENT_MOUSE_SCROLL}) {
        handlerOn(view, k);
    }
    int percent = 42;
    engine::TableViewEventValue cellValue{cell};
    engine::ArmatureMovementEventData movement{armature, 1, "run"};
    engine::ArmatureFrameEventData frame{bone, "hit", 3, 4};
    engine::ArmatureLoadingEventData loading{0.5f};
    engine::ArmatureWrapperEventData movementEvent{0, &movement};
    engine::ArmatureWrapperEventData frameEvent{1, &frame};
    engine::ArmatureWrapperEventData loadingEvent{2, &loading};
    engine::AccelerationEventValue accValue{&acc, event};
    engine::KeyboardEventValue keyValue{65, event};
    engine::TouchEventValue touchValue{touch, event};
    engine::TouchesEventValue touchesValue{{touch, touch}, event};
    engine::MouseEventValue mouseValue{event};

    struct Case {
        Kind kind;
        void* value;
        const char* call;
        int result;
    };
    const Case cases[] = {
        {Kind::SCROLLVIEW_SCROLL, &percent, "cc.TableView", 7},
        {Kind::TABLECELL_TOUCHED, &cellValue, "cc.TableView cc.TableViewCell", 7},
        {Kind::ASSETSMANAGER_PROGRESS, &percent, "42", 7},
        {Kind::ASSETSMANAGER_SUCCESS, &percent, "", 7},
        {Kind::ARMATURE_EVENT, &movementEvent, "ccs.Armature 1 run", 0},
        {Kind::ARMATURE_EVENT, &frameEvent, "ccs.Bone hit 3 4", 0},
        {Kind::ARMATURE_EVENT, &loadingEvent, "0.5", 0},
        {Kind::EVENT_ACC, &accValue, "cc.EventCustom 0.1 0 0 123456789.125", 7},
        {Kind::EVENT_CUSTOM, event, "cc.EventCustom", 7},
        {Kind::EVENT_KEYBOARD_RELEASED, &keyValue, "65 cc.EventCustom", 7},
        {Kind::EVENT_TOUCH_ENDED, &touchValue, "cc.Touch cc.EventCustom", 7},
        {Kind::EVENT_TOUCHES_BEGAN, &touchesValue, "{cc.Touch,cc.Touch} cc.EventCustom", 7},
        {Kind::EVENT_MOUSE_SCROLL, &mouseValue, "cc.EventCustom", 7},
    };
    answer(7);
    for (const Case& c : cases) {
        engine::HandlerEventData data(view, c.value);
        lua_pushstring(L, "below");
        EXPECT_EQ(luaEngine->handleEvent(c.kind, &data), c.result) << c.call;
        EXPECT_EQ(calls(), std::vector<std::string>{c.call});
        ASSERT_EQ(lua_gettop(L), 1);
        lua_settop(L, 0);
    }

    // Missing pieces: nothing is called.
    engine::TableViewEventValue noCell{nullptr};
    engine::TouchEventValue noEvent{touch, nullptr};
    engine::TouchesEventValue noTouches{{}, event};
    engine::ArmatureWrapperEventData otherSubtype{3, &movement};
    const Case empty[] = {
        {Kind::TABLECELL_TOUCHED, &noCell, "", 0},
        {Kind::EVENT_TOUCH_ENDED, &noEvent, "", 0},
        {Kind::EVENT_TOUCHES_BEGAN, &noTouches, "", 0},
        {Kind::ARMATURE_EVENT, &otherSubtype, "", 0},
        {Kind::EVENT_MOUSE_DOWN, &mouseValue, "", 0},   // no handler of that kind
        {Kind::NODE, &percent, "", 0},                  // not a handleEvent kind
        {Kind::SCROLLVIEW_ZOOM, nullptr, "", 0},
    };
    for (const Case& c : empty) {
        engine::HandlerEventData data(view, c.value);
        EXPECT_EQ(luaEngine->handleEvent(c.kind, &data), 0);
        EXPECT_TRUE(calls().empty());
    }
    EXPECT_EQ(luaEngine->handleEvent(Kind::EVENT_CUSTOM, nullptr), 0);
    EXPECT_EQ(lua_gettop(L), 0);
    touch->release();
    event->release();
}

TEST_F(LuaEngineTest, TableViewQueriesHandTheirResultsToTheReader) {
    auto* view = engine::extension::TableView::create();
    luaL_dostring(L, "function size(v, i) return i * 2, i * 3 end; function count(v) return 12 end");
    for (auto [name, kind] : {std::pair{"size", Kind::TABLECELL_SIZE_FOR_INDEX}, {"count", Kind::TABLEVIEW_NUMS_OF_CELLS}}) {
        lua_getglobal(L, name);
        mgr->addObjectHandler(view, toluafix_refFunction(L, -1, 0), kind);
        lua_pop(L, 1);
    }
    long index = 5;
    engine::TableViewEventValue value{&index};
    engine::HandlerEventData data(view, &value);
    std::vector<double> got;
    auto reader = [&](lua_State* s, int n) {
        for (int i = n; i >= 1; --i) got.push_back(lua_tonumber(s, -i));
    };
    EXPECT_EQ(luaEngine->handleEventWithResult(Kind::TABLECELL_SIZE_FOR_INDEX, &data, 2, reader), 1);
    EXPECT_EQ(luaEngine->handleEventWithResult(Kind::TABLEVIEW_NUMS_OF_CELLS, &data, 1, reader), 1);
    EXPECT_EQ(got, (std::vector<double>{10, 15, 12}));
    EXPECT_EQ(luaEngine->handleEventWithResult(Kind::SCROLLVIEW_SCROLL, &data, 1, reader), 0);
    EXPECT_EQ(luaEngine->handleEventWithResult(Kind::TABLECELL_AT_INDEX, &data, 1, reader), 0);   // no handler
    EXPECT_EQ(luaEngine->handleEventWithResult(Kind::TABLECELL_SIZE_FOR_INDEX, &data, 0, reader), 0);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(LuaEngineTest, ForwardedOperationsAndHelpers) {
    EXPECT_EQ(luaEngine->getScriptType(), 1);
    EXPECT_EQ(luaEngine->executeString("return 6"), 6);
    EXPECT_EQ(luaEngine->executeString("x ="), 0);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(luaEngine->executeSchedule(0, 1.f), 0);
    const int handler = newHandler();
    EXPECT_EQ(luaEngine->executeSchedule(handler, 0.25f), 1);
    EXPECT_EQ(luaEngine->executeEvent(handler, "e", engine::__String::create("s"), nullptr), 1);
    EXPECT_EQ(calls(), (std::vector<std::string>{"0.25", "e cc.Ref"}));

    auto* center = engine::__NotificationCenter::getInstance();
    EXPECT_EQ(luaEngine->executeNotificationEvent(center, "note"), 0);
    center->registerScriptObserver(nullptr, "note", handler);
    EXPECT_EQ(luaEngine->executeNotificationEvent(center, "note"), 1);
    EXPECT_EQ(calls(), std::vector<std::string>{"note"});
    engine::__NotificationCenter::destroyInstance();

    EXPECT_FALSE(luaEngine->parseConfig(1, "cfg"));
    luaL_dostring(L, "function __onParseConfig(t, s) recorder(t, s); return t == 1 end");
    EXPECT_TRUE(luaEngine->parseConfig(1, "cfg"));
    EXPECT_FALSE(luaEngine->parseConfig(2, "cfg"));
    EXPECT_EQ(calls(), (std::vector<std::string>{"1 cfg", "2 cfg"}));

    const int again = luaEngine->reallocateScriptHandler(handler);
    EXPECT_GT(again, handler);
    luaEngine->removeScriptHandler(handler);
    EXPECT_EQ(luaEngine->executeSchedule(handler, 1.f), 0);
    EXPECT_EQ(luaEngine->executeSchedule(again, 1.f), 1);
    EXPECT_EQ(luaEngine->reallocateScriptHandler(handler), -1);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(LuaEngineTest, ADestroyedObjectLosesItsHandlersAndItsScriptSide) {
    engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
    installed = true;
    engine::Node* node = engine::Node::create();
    node->retain();
    handlerOn(node, Kind::NODE);
    handlerOn(node, Kind::TOUCHES);
    stack->pushObject(node, "cc.Node");
    lua_setglobal(L, "held");

    node->release();
    engine::AutoreleasePool::getInstance()->clear();   // the node dies here
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::NODE), 0);
    EXPECT_EQ(mgr->getObjectHandler(node, Kind::TOUCHES), 0);
    lua_getglobal(L, "held");
    EXPECT_EQ(tolua_tousertype(L, 1, nullptr), nullptr);
    lua_settop(L, 0);

    // Menu items tell the script engine about taps themselves.
    engine::MenuItem* item = engine::MenuItem::create();
    handlerOn(item, Kind::MENU_CLICKED);
    item->activate();
    item->setEnabled(false);
    item->activate();
    EXPECT_EQ(calls(), std::vector<std::string>{"-1 cc.MenuItem"});
}

TEST(LuaEngineModules, AudioModuleRegistersTheSimpleAudioEngine) {
    LuaEngine* luaEngine = LuaEngine::getInstance();
    lua_State* L = luaEngine->getLuaStack()->getLuaState();
    EXPECT_EQ(engine::register_audio_module(L), 1);
    EXPECT_EQ(engine::register_network_module(L), 1);   // no pieces installed: nothing happens
    EXPECT_EQ(lua_gettop(L), 0);
    const char* script = R"(
      local a = cc.SimpleAudioEngine:getInstance()
      a:playMusic('bgm.mp3', true)
      a:setMusicVolume(0.25)
      local id = a:playEffect('hit.wav')
      a:pauseEffect(id)
      return (a:isMusicPlaying() and 1 or 0) + a:getMusicVolume() * 100 + id * 1000
    )";
    EXPECT_EQ(luaEngine->executeString(script), 1026);
    EXPECT_EQ(luaEngine->executeString("return pcall(cc.SimpleAudioEngine.playMusic)"), 0);
    EXPECT_EQ(luaEngine->executeString("local ok = pcall(function() cc.SimpleAudioEngine:getInstance():stopMusic(1, 2) end) return ok"), 0);
    delete luaEngine;
    engine::SimpleAudioEngine::end();
    engine::AutoreleasePool::getInstance()->clear();
    engine::Director::destroyInstance();
}

}  // namespace
