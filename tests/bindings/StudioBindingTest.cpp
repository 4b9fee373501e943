// The studio module from scripts: the count errors of its hand-written functions,
// scene files with a per-node callback, script-defined widget classes in
// layouts, timeline frame events, armature movement and frame events and the
// asynchronous armature load, and who owns each handler id.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/files/FileUtils.h"
#include "engine/studio/ArmatureDataManager.h"
#include "support/TestSupport.h"

namespace bindingtest {
namespace {

constexpr const char* kArmatureFile = R"({"armatures": [{"name": "hero",
    "bones": [{"name": "body"}, {"name": "arm", "parent": "body", "position": [10, 20]}],
    "movements": [{"name": "walk", "duration": 30, "loop": true,
                   "frameEvents": [{"bone": "arm", "frame": 0, "name": "lift"},
                                   {"bone": "arm", "frame": 15, "name": "step"}]},
                  {"name": "once", "duration": 6, "loop": false}]}]})";

class StudioBindingTest : public LuaEngineBindingTest {
protected:
    void SetUp() override {
        LuaEngineBindingTest::SetUp();
        view = startViewOnScene(200, 100);
        bindings::register_studio_module(L);
        bindings::register_ui_module(L);
        engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
        ASSERT_EQ(run(R"(
            log = {}
            function note(...) local t = {} for i = 1, select('#', ...) do t[i] = tostring((select(i, ...))) end
                log[#log + 1] = table.concat(t, ',') end
            function flush() local s = table.concat(log, ' ') log = {} return s end
            function refs() local n = 0
                for _ in pairs(debug.getregistry().toluafix_refid_function_mapping) do n = n + 1 end return n end
            scene = cc.Director:getInstance():getRunningScene()
            function f() end
        )"), "");
    }
    void TearDown() override {
        engine::FileUtils::getInstance()->setSearchPaths({});
        view->release();
        LuaEngineBindingTest::TearDown();
    }
    void frames(int count, float dt = 1.f / 60.f) {
        for (int i = 0; i < count; ++i) engine::Director::getInstance()->mainLoop(dt);
    }
    static bool loadsDone() {
        return testsupport::pumpMainThreadUntil(
            [] { return studio::ArmatureDataManager::getInstance()->pendingLoadCount() == 0; },
            std::chrono::seconds(10));
    }
    testsupport::TempDir dir;
    engine::GLView* view = nullptr;
};

TEST_F(StudioBindingTest, CountErrors) {
    dir.write("t.json", R"({"duration": 10})");
    ASSERT_EQ(run(R"(
        bone = ccs.Bone:create('b')
        anim = ccs.Armature:create('x'):getAnimation()
        mgr = ccs.ArmatureDataManager:getInstance()
        tl = cc.CSLoader:createTimeline('t.json')
    )"), "");
    const struct {
        const char* call;
        const char* error;
    } cases[] = {
        {"cc.CSLoader:createNode()", "cc.CSLoader:createNode has wrong number of arguments: 0, was expecting 1"},
        {"cc.CSLoader:createNode({})", "cc.CSLoader:createNode has wrong number of arguments: 1, was expecting 1"},
        {"cc.CSLoader:createNode('a.csb', f, 1)",
         "cc.CSLoader:createNode has wrong number of arguments: 3, was expecting 1"},
        {"cc.CSLoader:createTimeline()",
         "cc.CSLoader:createTimeline has wrong number of arguments: 0, was expecting 1\n "},
        {"ccs.ActionTimelineCache:getInstance(1)",
         "ccs.ActionTimelineCache:getInstance has wrong number of arguments: 1, was expecting 0\n "},
        {"ccs.CustomGUIReader:create('A', f)",
         "ccs.CustomGUIReader:create has wrong number of arguments: 2, was expecting 3"},
        {"ccs.CustomGUIReader:create({}, f, f)",
         "ccs.CustomGUIReader:create has wrong number of arguments: 3, was expecting 3"},
        {"anim:setMovementEventCallFunc()",
         "'setMovementEventCallFunc' function of ArmatureAnimation has wrong number of arguments: 0, was expecting 1\n"},
        {"anim:setFrameEventCallFunc(f, f)",
         "'setFrameEventCallFunc' function of ArmatureAnimation has wrong number of arguments: 2, was expecting 1\n"},
        {"mgr:addArmatureFileInfoAsync('a', 'b', f)",
         "'addArmatureFileInfoAsync' function of ArmatureDataManager has wrong number of arguments: 3, was "
         "expecting 1\n"},
        {"bone:getIgnoreMovementBoneData(1)",
         "'getIgnoreMovementBoneData' function of Bone  has wrong number of arguments: 1, was expecting 0\n"},
        {"bone:setIgnoreMovementBoneData()",
         "'setIgnoreMovementBoneData' function of Bone  has wrong number of arguments: 0, was expecting 1\n"},
        {"tl:setFrameEventCallFunc()",
         "'setFrameEventCallFunc' function of ActionTimeline has wrong number of arguments: 0, was expecting 1\n"},
        {"ccs.Bone.getIgnoreMovementBoneData(cc.Node:create())",
         "invalid 'self' in function 'ccs.Bone:getIgnoreMovementBoneData'"},
    };
    const std::string before = eval("refs()");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(eval(c.call), std::string("error: ") + c.error);
    }
    // No failed call kept a function.
    EXPECT_EQ(eval("refs()"), before);
}

TEST_F(StudioBindingTest, ResultsOfTheSmallerFunctions) {
    dir.write("t.json", R"({"duration": 10})");
    const struct {
        const char* expression;
        const char* expected;
    } cases[] = {
        {"tolua.type(ccs.ActionTimelineCache:getInstance())", "ccs.ActionTimelineCache"},
        {"tolua.type(cc.CSLoader:createTimeline('t.json'))", "ccs.ActionTimeline"},
        {"select('#', cc.CSLoader:createTimeline({}))", "0"},
        {"cc.CSLoader:createTimeline('missing.json')", "nil"},
        {"tolua.type(ccs.Bone:create('b'))", "ccs.Bone"},
        {"ccs.Bone:create('b'):getIgnoreMovementBoneData()", "false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(eval(c.expression), c.expected);
    }
    // Lua truth: only nil and false are false.
    const struct {
        const char* value;
        const char* expected;
    } flags[] = {{"true", "true"}, {"false", "false"}, {"nil", "false"}, {"0", "true"}, {"''", "true"}};
    for (const auto& c : flags) {
        SCOPED_TRACE(c.value);
        ASSERT_EQ(run(std::string("b = ccs.Bone:create() b:setIgnoreMovementBoneData(") + c.value + ")"), "");
        EXPECT_EQ(eval("b:getIgnoreMovementBoneData()"), c.expected);
    }
}

TEST_F(StudioBindingTest, SceneFilesReportEveryNodeAndTheNodeOwnsTheHandler) {
    dir.write("scene.csd", R"(<SceneFile><Node Type="Node" Name="root">
        <Node Type="Text" Name="a"><Node Type="Widget" Name="a1"/></Node><Node Type="Widget" Name="b"/>
        </Node></SceneFile>)");
    dir.write("layout.json", R"({"type": "Layout", "name": "top", "children": [{"type": "Text", "name": "t"}]})");
    const struct {
        const char* file;
        const char* reported;   // "" for no node
    } cases[] = {
        {"scene.csd", "cc.Node:root ccui.Text:a ccui.Widget:a1 ccui.Widget:b"},
        {"layout.json", "ccui.Widget:top ccui.Text:t"},
        {"missing.csb", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string before = eval("refs()");
        ASSERT_EQ(run(std::string("n = cc.CSLoader:createNode('") + c.file +
                      "', function(o) note(tolua.type(o) .. ':' .. o:getName()) end)"),
                  "");
        EXPECT_EQ(eval("flush()"), c.reported);
        if (*c.reported == '\0') {
            // No node: the handler was released at once.
            EXPECT_EQ(eval("n"), "nil");
            EXPECT_EQ(eval("refs()"), before);
            continue;
        }
        EXPECT_EQ(eval("refs() - " + before), "1");
        // The node goes, and its handler with it.
        ASSERT_EQ(run("n = nil collectgarbage()"), "");
        engine::AutoreleasePool::getInstance()->clear();
        EXPECT_EQ(eval("refs()"), before);
    }
    EXPECT_EQ(eval("tolua.type(cc.CSLoader:createNode('layout.json'))"), "ccui.Widget");
}

// A layout naming a script-defined class: the create function's widget, then the
// properties function with the widget's options as JSON text.
TEST_F(StudioBindingTest, CustomReaderThroughALayout) {
    dir.write("stars.json", R"({"type": "Layout", "name": "root", "children": [
        {"type": "StarWidget", "name": "s", "position": [3, 4], "options": {"stars": 3, "tag": "x", "on": [true]}},
        {"type": "StarWidget", "name": "bare"}]})");
    const struct {
        const char* name;
        const char* create;
        const char* props;
        const char* loaded;   // the root's child names, or "nil"
        const char* calls;
    } cases[] = {
        {"a widget and its options", "function() return ccui.Widget:create() end",
         "function(c, w, j) note(c, tolua.type(w), j) end", "s@3:4 bare@0:0",
         R"(StarWidget,ccui.Widget,{"stars":3,"tag":"x","on":[true]} StarWidget,ccui.Widget,{})"},
        {"create answers nothing", "function() end", "function(c, w, j) note(c, tolua.type(w), j) end", "nil", ""},
        {"create answers a node that is not a widget", "function() return cc.Node:create() end",
         "function(c, w, j) note(c, tolua.type(w), j) end", "nil", ""},
        {"create answers a number", "function() return 5 end", "function(c, w, j) note(c, tolua.type(w), j) end", "nil", ""},
        {"no properties function", "function() return ccui.Text:create() end", "nil", "s@3:4 bare@0:0", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(run(std::string("reader = ccs.CustomGUIReader:create('StarWidget', ") + c.create + ", " +
                      c.props + ")"),
                  "");
        EXPECT_EQ(eval("tolua.type(reader)"), "ccs.CustomGUIReader");
        ASSERT_EQ(run(R"(root = cc.CSLoader:createNode('stars.json')
            names = nil
            local function at(name) local n = root:getChildByName(name)
                if not n then return '-' end
                local x, y = n:getPosition() return name .. '@' .. x .. ':' .. y end
            if root then names = at('s') .. ' ' .. at('bare') end)"),
                  "");
        EXPECT_EQ(eval("tostring(names)"), c.loaded);
        EXPECT_EQ(eval("flush()"), c.calls);
    }
    // Registering the class again released the replaced reader's function (it
    // had one: its properties function was nil); the new one holds two.
    ASSERT_EQ(run("collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    const std::string withReader = eval("refs()");
    ASSERT_EQ(run("reader = ccs.CustomGUIReader:create('StarWidget', function() end, f) collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(eval("refs() - " + withReader), "1");
}

TEST_F(StudioBindingTest, TimelineFrameEvents) {
    dir.write("t.json", R"({"duration": 20, "events": [
        {"index": 0, "name": "begin"}, {"index": 10, "target": "hand", "name": "hit"}]})");
    ASSERT_EQ(run(R"(
        root = cc.Node:create() hand = cc.Node:create() hand:setName('hand') root:addChild(hand)
        scene:addChild(root)
        tl = cc.CSLoader:createTimeline('t.json')
        before = refs()
        tl:setFrameEventCallFunc(function(frame)
            local node = frame:getNode()
            note(tolua.type(frame), frame:getEvent(), frame:getFrameIndex(), node and node:getName() or '-')
        end)
        root:runAction(tl)
        tl:gotoFrameAndPlay(0)
    )"), "");
    EXPECT_EQ(eval("refs() - before"), "1");
    EXPECT_EQ(eval("flush()"), "ccs.EventFrame,begin,0,");
    frames(12);   // frame 12: past 10
    EXPECT_EQ(eval("flush()"), "ccs.EventFrame,hit,10,hand");
    frames(10);   // wraps past 20 to 2: the start's event again
    EXPECT_EQ(eval("flush()"), "ccs.EventFrame,begin,0,");
    // The timeline owns its handler: it goes with the timeline.
    ASSERT_EQ(run("root:stopAllActions() tl = nil collectgarbage()"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(eval("refs() - before"), "0");
}

TEST_F(StudioBindingTest, ArmatureMovementAndFrameEvents) {
    dir.write("hero.json", kArmatureFile);
    ASSERT_EQ(run(R"(
        ccs.ArmatureDataManager:getInstance():addArmatureFileInfo('hero.json')
        arm = ccs.Armature:create('hero') scene:addChild(arm)
        anim = arm:getAnimation()
        base = refs()
        anim:setMovementEventCallFunc(function(...) note('move', ...) end)
        anim:setFrameEventCallFunc(function(bone, ...) note(tolua.type(bone), bone:getName(), ...) end)
    )"), "");
    // The armature of the ids: same userdata as the script's.
    const std::string self = eval("tostring(arm)");
    EXPECT_EQ(eval("refs() - base"), "2");
    ASSERT_EQ(run("anim:play('walk')"), "");
    EXPECT_EQ(eval("flush()"), "move," + self + ",0,walk ccs.Bone,arm,lift,0,0");
    // A quarter of a second is 15 frames.
    frames(1, 0.25f);
    EXPECT_EQ(eval("flush()"), "ccs.Bone,arm,step,15,15");
    frames(1, 0.25f);   // frame 30: one lap done, frame 0 again
    EXPECT_EQ(eval("flush()"), "move," + self + ",2,walk ccs.Bone,arm,lift,0,0");
    frames(1, 0.3f);    // 18 frames on: the lap's event at 15 comes with the frame reached
    EXPECT_EQ(eval("flush()"), "ccs.Bone,arm,step,15,18");
    ASSERT_EQ(run("anim:play('once')"), "");
    frames(1, 0.25f);
    EXPECT_EQ(eval("flush()"), "move," + self + ",0,once move," + self + ",1,once");
    EXPECT_EQ(eval("anim:isPlaying()"), "false");
    // A new callback drops the old one's wrapper and with it its handler.
    ASSERT_EQ(run("anim:setMovementEventCallFunc(function() end)"), "");
    EXPECT_EQ(eval("refs() - base"), "2");
    ASSERT_EQ(run("anim:setMovementEventCallFunc(nil) anim:setFrameEventCallFunc(nil)"), "");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(eval("refs() - base"), "0");
}

TEST_F(StudioBindingTest, AsynchronousArmatureLoadReportsPercents) {
    dir.write("hero.json", kArmatureFile);
    dir.write("hero.png", "not read as an image");
    dir.write("hero.plist", "<plist/>");
    const struct {
        const char* call;
        const char* percents;
    } cases[] = {
        {"mgr:addArmatureFileInfoAsync('hero.json', p)", "100"},
        {"mgr:addArmatureFileInfoAsync('hero.png', 'hero.plist', 'hero.json', p)", "33.3 66.7 100"},
        {"mgr:addArmatureFileInfoAsync('missing.png', 'hero.plist', 'missing.json', p)", "33.3 66.7 100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        ASSERT_EQ(run(std::string(R"(
            mgr = ccs.ArmatureDataManager:getInstance()
            mgr:removeArmatureData('hero')
            before = refs()
            function p(percent) note((string.format('%.1f', percent):gsub('%.0$', ''))) end
        )") + c.call), "");
        ASSERT_TRUE(loadsDone());
        EXPECT_EQ(eval("flush()"), c.percents);
        // The wrapper went after the last call, and its handler with it.
        engine::AutoreleasePool::getInstance()->clear();
        EXPECT_EQ(eval("refs() - before"), "0");
    }
    EXPECT_EQ(eval("ccs.Armature:create('hero'):getChildrenCount()"), "0");
    ASSERT_EQ(run("mgr:addArmatureFileInfoAsync('hero.json', p)"), "");
    ASSERT_TRUE(loadsDone());
    EXPECT_EQ(eval("tolua.type(ccs.Armature:create('hero'):getBone('arm'))"), "ccs.Bone");
}

// The armature's records, bone parts, timelines and bone nodes reach scripts as
// objects, maps by name and arrays.
TEST_F(StudioBindingTest, RecordsAndPartsAsObjects) {
    dir.write("hero.json", kArmatureFile);
    ASSERT_EQ(run(R"(
        manager = ccs.ArmatureDataManager:getInstance()
        manager:addArmatureFileInfo('hero.json')
        arm = ccs.Armature:create('hero')
        bones = arm:getBoneDic()
        data = manager:getArmatureDatas().hero
        timeline = ccs.Timeline:create()
        frame = ccs.PositionFrame:create()
        frame:setPosition({x = 3, y = 4}) frame:setFrameIndex(2)
        timeline:addFrame(frame)
        action = ccs.ActionTimelineCache:getInstance()
        skeleton = ccs.SkeletonNode:create()
        hand = ccs.BoneNode:create(20) hand:setName('hand')
        skeleton:addChildBone(hand)
        hand:addSkin(cc.Node:create(), true)
    )"), "");
    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"tolua.type(bones.arm) .. ' ' .. bones.arm:getName()", "ccs.Bone arm"},
        {"tolua.type(data) .. ' ' .. tolua.type(data:getBoneData('arm'))", "ccs.ArmatureData ccs.BoneData"},
        {"manager:getAnimationDatas().hero:getMovementCount()", "2"},
        {"tolua.type(bones.arm:getDisplayManager()) .. ' ' .. #bones.arm:getDisplayManager():getDecorativeDisplayList()",
         "ccs.DisplayManager 0"},
        {"tolua.type(timeline:getFrames()[1]) .. ' ' .. timeline:getFrames()[1]:getFrameIndex()", "ccs.PositionFrame 2"},
        {"tolua.type(skeleton:getAllSubBonesMap().hand) .. ' ' .. #hand:getSkins() .. #hand:getVisibleSkins()",
         "ccs.BoneNode 11"},
        {"tolua.type(ccs.ComAttribute:create()) .. ' ' .. ccs.ComAttribute:create():getName()",
         "ccs.ComAttribute CCComAttribute"},
        {"ccs.DisplayData:changeDisplayToTexture('a/b.jpg')", "b.png"},
        {"tolua.type(ccs.ActionManagerEx:getInstance())", "ccs.ActionManagerEx"},
    };
    for (const Case& c : cases) EXPECT_EQ(eval(c.expression), c.expected) << c.expression;
}

}  // namespace
}  // namespace bindingtest
