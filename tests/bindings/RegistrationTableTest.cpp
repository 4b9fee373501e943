// Walks the registration tables of every module in the order the program
// registers them: bases come first, every type-map value is a registered Lua
// type, and every engine class reaches scripts under its Lua name.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>
#include <string>
#include <typeinfo>
#include <vector>

#include "BindingTestSupport.h"
#include "bindings/LuaModules.h"
#include "engine/actions/Action.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionMotion.h"
#include "engine/actions/Animate.h"
#include "engine/actions/ActionBezier.h"
#include "engine/actions/ActionCamera.h"
#include "engine/actions/ActionCatmullRom.h"
#include "engine/actions/GridAction.h"
#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/scene/Component.h"
#include "engine/scene/NodeGrid.h"
#include "engine/scene/TransitionGrid.h"
#include "engine/actions/PointArray.h"
#include "engine/scene/Animation.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionScene.h"
#include "engine/scene/ClippingNode.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/Director.h"
#include "engine/base/Event.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Properties.h"
#include "engine/base/Scheduler.h"
#include "engine/base/UserDefault.h"
#include "engine/console/Console.h"
#include "engine/extension/Control.h"
#include "engine/extension/ControlButton.h"
#include "engine/extension/AssetsManagerEx.h"
#include "engine/extension/ParticleSystem3D.h"
#include "engine/extension/TableView.h"
#include "updater/AssetsManager.h"
#include "engine/files/FileUtils.h"
#include "engine/image/AutoPolygon.h"
#include "engine/image/Image.h"
#include "engine/input/Touch.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/PolygonInfo.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsContact.h"
#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsShape.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/LayerMultiplex.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItem.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemSprite.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/scene/Node.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"
#include "engine/tilemap/TMXLayer.h"
#include "engine/tilemap/ExperimentalTMX.h"
#include "engine/tilemap/TMXTiledMap.h"
#include "bindings/studio/CustomGUIReader.h"
#include "engine/studio/Armature.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/studio/GUIReader.h"
#include "engine/label/Label.h"
#include "engine/label/DeprecatedLabels.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Sprite.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/ui/CheckBox.h"
#include "engine/ui/EditBox.h"
#include "engine/ui/ImageView.h"
#include "engine/ui/LayoutParameter.h"
#include "engine/ui/ListView.h"
#include "engine/ui/PageView.h"
#include "engine/ui/RadioButton.h"
#include "engine/ui/ScrollView.h"
#include "engine/ui/Slider.h"
#include "engine/ui/TextBMFont.h"
#include "engine/ui/TextField.h"
#include "engine/ui/Button.h"
#include "engine/ui/Layout.h"
#include "engine/ui/Helper.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "bindings/skeleton/LuaSkeletonAnimation.h"
#include "bindings/deprecated/LuaDeprecatedLabels.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaTypeMap.h"

namespace bindingtest {
namespace {

struct ModuleTable {
    const char* module;
    std::span<const bindings::ClassEntry> rows;
};

// The order of registration: the stack's start, then the script start's list.
std::vector<ModuleTable> tablesInOrder() {
    return {
        {"core", bindings::coreClassTable()},
        {"experimental", bindings::experimentalClassTable()},
        {"physics", bindings::physicsClassTable()},
        {"deprecated", bindings::deprecatedLabelRows()},
        {"builder", bindings::builderClassTable()},
        {"studio", bindings::studioClassTable()},
        {"ui", bindings::uiClassTable()},
        {"extension", bindings::extensionClassTable()},
        {"skeleton", bindings::skeletonClassTable()},
        {"3d", bindings::threeDClassTable()},
        {"audioengine", bindings::audioEngineClassTable()},
        {"physics3d", bindings::physics3dClassTable()},
        {"navmesh", bindings::navMeshClassTable()},
    };
}

using ModuleEntry = int (*)(lua_State*);
const ModuleEntry kScriptStartModules[] = {
    &engine::register_audio_module,          &engine::register_network_module,
    &bindings::register_builder_module,      &bindings::register_studio_module,
    &bindings::register_ui_module,           &bindings::register_extension_module,
    &bindings::register_skeleton_module,     &bindings::register_3d_module,
    &bindings::register_audioengine_module,  &bindings::register_physics3d_module,
    &bindings::register_navmesh_module,
};

class RegistrationTableTest : public BindingStackTest {
protected:
    void SetUp() override {
        BindingStackTest::SetUp();
        for (ModuleEntry entry : kScriptStartModules) entry(L);
    }

    bool luaTypeRegistered(const std::string& luaName) {
        luaL_getmetatable(L, luaName.c_str());
        const bool registered = lua_istable(L, -1);
        lua_pop(L, 1);
        return registered;
    }
};

TEST_F(RegistrationTableTest, BasesComeBeforeTheirSubclasses) {
    std::set<std::string> seen;
    for (const ModuleTable& table : tablesInOrder()) {
        for (const bindings::ClassEntry& row : table.rows) {
            SCOPED_TRACE(std::string(table.module) + ": " + row.luaName);
            if (row.baseLuaName) {
                EXPECT_TRUE(seen.count(row.baseLuaName)) << "base " << row.baseLuaName;
            }
            EXPECT_NE(std::string(row.luaName).find('.'), std::string::npos);
            seen.insert(row.luaName);
        }
    }
}

// A short name registered in two tables ("TMXLayer": cc, then ccexp) maps to
// the later registration.
TEST_F(RegistrationTableTest, EveryRowIsReachableFromScripts) {
    std::map<std::string, std::string> lastByShortName;
    for (const ModuleTable& table : tablesInOrder()) {
        for (const bindings::ClassEntry& row : table.rows) {
            const std::string luaName = row.luaName;
            lastByShortName[luaName.substr(luaName.rfind('.') + 1)] = luaName;
        }
    }
    for (const ModuleTable& table : tablesInOrder()) {
        for (const bindings::ClassEntry& row : table.rows) {
            SCOPED_TRACE(row.luaName);
            EXPECT_TRUE(luaTypeRegistered(row.luaName));
            EXPECT_EQ(eval(std::string("type(") + row.luaName + ")"), "table");
            const std::string luaName = row.luaName;
            const std::string shortName = luaName.substr(luaName.rfind('.') + 1);
            // The builder proxy alone is known by its class only, not by its short name.
            EXPECT_EQ(luaClassNameMap[shortName], luaName == "cc.CCBProxy" ? "" : lastByShortName[shortName]);
            EXPECT_EQ(luaTypeMap[row.typeKey()], luaName);
            for (const bindings::Method& method : row.methods) {
                EXPECT_EQ(eval("type(" + luaName + "." + method.name + ")"), "function") << method.name;
            }
        }
    }
}

TEST_F(RegistrationTableTest, EveryTypeMapValueIsARegisteredLuaType) {
    ASSERT_FALSE(luaTypeMap.empty());
    for (const auto& [key, luaName] : luaTypeMap) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(luaTypeRegistered(luaName)) << luaName;
    }
}

struct EngineClass {
    const std::type_info& type;
    const char* luaName;
};

// Every engine class scripts can meet. A new engine class joins this list and
// its module's table. Not listed: classes scripts never hold (the HTTP client's
// requests and responses, render commands, CallFuncN, the acceleration record).
const EngineClass kEngineClasses[] = {
    {typeid(engine::Ref), "cc.Ref"},
    {typeid(engine::Node), "cc.Node"},
    {typeid(engine::Scene), "cc.Scene"},
    {typeid(engine::Component), "cc.Component"},
    {typeid(engine::MenuItem), "cc.MenuItem"},
    {typeid(engine::MenuItemLabel), "cc.MenuItemLabel"},
    {typeid(engine::MenuItemFont), "cc.MenuItemFont"},
    {typeid(engine::MenuItemSprite), "cc.MenuItemSprite"},
    {typeid(engine::MenuItemImage), "cc.MenuItemImage"},
    {typeid(engine::MenuItemToggle), "cc.MenuItemToggle"},
    {typeid(engine::Menu), "cc.Menu"},
    {typeid(engine::LayerMultiplex), "cc.LayerMultiplex"},
    {typeid(engine::Layer), "cc.Layer"},
    {typeid(engine::LayerColor), "cc.LayerColor"},
    {typeid(engine::LayerGradient), "cc.LayerGradient"},
    {typeid(engine::Sprite), "cc.Sprite"},
    {typeid(engine::Label), "cc.Label"},
    {typeid(engine::LabelBMFont), "cc.LabelBMFont"},
    {typeid(engine::LabelTTF), "cc.LabelTTF"},
    {typeid(engine::DrawNode), "cc.DrawNode"},
    {typeid(engine::Director), "cc.Director"},
    {typeid(engine::Scheduler), "cc.Scheduler"},
    {typeid(engine::EventDispatcher), "cc.EventDispatcher"},
    {typeid(engine::EventListenerCustom), "cc.EventListenerCustom"},
    {typeid(engine::Event), "cc.Event"},
    {typeid(engine::EventCustom), "cc.EventCustom"},
    {typeid(engine::Touch), "cc.Touch"},
    {typeid(engine::FileUtils), "cc.FileUtils"},
    {typeid(engine::Image), "cc.Image"},
    {typeid(engine::Texture2D), "cc.Texture2D"},
    {typeid(engine::TextureCache), "cc.TextureCache"},
    {typeid(engine::GLView), "cc.GLView"},
    {typeid(engine::GLViewImpl), "cc.GLViewImpl"},
    {typeid(engine::Application), "cc.Application"},
    {typeid(engine::Console), "cc.Console"},
    {typeid(engine::Action), "cc.Action"},
    {typeid(engine::FiniteTimeAction), "cc.FiniteTimeAction"},
    {typeid(engine::CallFunc), "cc.CallFunc"},
    {typeid(engine::ActionInterval), "cc.ActionInterval"},
    {typeid(engine::DelayTime), "cc.DelayTime"},
    {typeid(engine::Sequence), "cc.Sequence"},
    {typeid(engine::RepeatForever), "cc.RepeatForever"},
    {typeid(engine::ScaleTo), "cc.ScaleTo"},
    {typeid(engine::ScaleBy), "cc.ScaleBy"},
    {typeid(engine::MoveBy), "cc.MoveBy"},
    {typeid(engine::MoveTo), "cc.MoveTo"},
    {typeid(engine::JumpBy), "cc.JumpBy"},
    {typeid(engine::JumpTo), "cc.JumpTo"},
    {typeid(engine::RotateTo), "cc.RotateTo"},
    {typeid(engine::RotateBy), "cc.RotateBy"},
    {typeid(engine::FadeTo), "cc.FadeTo"},
    {typeid(engine::FadeIn), "cc.FadeIn"},
    {typeid(engine::FadeOut), "cc.FadeOut"},
    {typeid(engine::TintTo), "cc.TintTo"},
    {typeid(engine::TintBy), "cc.TintBy"},
    {typeid(engine::Blink), "cc.Blink"},
    {typeid(engine::Repeat), "cc.Repeat"},
    {typeid(engine::Speed), "cc.Speed"},
    {typeid(engine::TargetedAction), "cc.TargetedAction"},
    {typeid(engine::ActionInstant), "cc.ActionInstant"},
    {typeid(engine::Show), "cc.Show"},
    {typeid(engine::Hide), "cc.Hide"},
    {typeid(engine::ToggleVisibility), "cc.ToggleVisibility"},
    {typeid(engine::RemoveSelf), "cc.RemoveSelf"},
    {typeid(engine::Place), "cc.Place"},
    {typeid(engine::FlipX), "cc.FlipX"},
    {typeid(engine::FlipY), "cc.FlipY"},
    {typeid(engine::ActionEase), "cc.ActionEase"},
    {typeid(engine::EaseRateAction), "cc.EaseRateAction"},
    {typeid(engine::EaseIn), "cc.EaseIn"},
    {typeid(engine::EaseOut), "cc.EaseOut"},
    {typeid(engine::EaseInOut), "cc.EaseInOut"},
    {typeid(engine::EaseSineIn), "cc.EaseSineIn"},
    {typeid(engine::EaseSineOut), "cc.EaseSineOut"},
    {typeid(engine::EaseSineInOut), "cc.EaseSineInOut"},
    {typeid(engine::EaseExponentialIn), "cc.EaseExponentialIn"},
    {typeid(engine::EaseExponentialOut), "cc.EaseExponentialOut"},
    {typeid(engine::EaseBackIn), "cc.EaseBackIn"},
    {typeid(engine::EaseBackOut), "cc.EaseBackOut"},
    {typeid(engine::EaseElastic), "cc.EaseElastic"},
    {typeid(engine::EaseElasticIn), "cc.EaseElasticIn"},
    {typeid(engine::EaseElasticOut), "cc.EaseElasticOut"},
    {typeid(engine::EaseBounceIn), "cc.EaseBounceIn"},
    {typeid(engine::EaseBounceOut), "cc.EaseBounceOut"},
    {typeid(engine::TransitionScene), "cc.TransitionScene"},
    {typeid(engine::TransitionFade), "cc.TransitionFade"},
    {typeid(engine::TransitionCrossFade), "cc.TransitionCrossFade"},
    {typeid(engine::TransitionSlideIn), "cc.TransitionSlideIn"},
    {typeid(engine::TransitionSlideInL), "cc.TransitionSlideInL"},
    {typeid(engine::TransitionSlideInR), "cc.TransitionSlideInR"},
    {typeid(engine::TransitionSlideInT), "cc.TransitionSlideInT"},
    {typeid(engine::TransitionSlideInB), "cc.TransitionSlideInB"},
    {typeid(engine::TransitionMoveInL), "cc.TransitionMoveInL"},
    {typeid(engine::TransitionMoveInR), "cc.TransitionMoveInR"},
    {typeid(engine::TransitionFlipX), "cc.TransitionFlipX"},
    {typeid(engine::TransitionProgressRadialCW), "cc.TransitionProgressRadialCW"},
    {typeid(engine::ProgressTimer), "cc.ProgressTimer"},
    {typeid(engine::ClippingNode), "cc.ClippingNode"},
    {typeid(engine::SpriteFrame), "cc.SpriteFrame"},
    {typeid(engine::SpriteFrameCache), "cc.SpriteFrameCache"},
    {typeid(engine::Animation), "cc.Animation"},
    {typeid(engine::AnimationCache), "cc.AnimationCache"},
    {typeid(engine::Animate), "cc.Animate"},
    {typeid(engine::PointArray), "cc.PointArray"},
    {typeid(engine::CardinalSplineTo), "cc.CardinalSplineTo"},
    {typeid(engine::CardinalSplineBy), "cc.CardinalSplineBy"},
    {typeid(engine::CatmullRomTo), "cc.CatmullRomTo"},
    {typeid(engine::CatmullRomBy), "cc.CatmullRomBy"},
    {typeid(engine::BezierBy), "cc.BezierBy"},
    {typeid(engine::BezierTo), "cc.BezierTo"},
    {typeid(engine::ActionCamera), "cc.ActionCamera"},
    {typeid(engine::OrbitCamera), "cc.OrbitCamera"},
    {typeid(engine::GridAction), "cc.GridAction"},
    {typeid(engine::GridBase), "cc.GridBase"},
    {typeid(engine::Grid3D), "cc.Grid3D"},
    {typeid(engine::TiledGrid3D), "cc.TiledGrid3D"},
    {typeid(engine::NodeGrid), "cc.NodeGrid"},
    {typeid(engine::Grid3DAction), "cc.Grid3DAction"},
    {typeid(engine::TiledGrid3DAction), "cc.TiledGrid3DAction"},
    {typeid(engine::ReuseGrid), "cc.ReuseGrid"},
    {typeid(engine::StopGrid), "cc.StopGrid"},
    {typeid(engine::Waves3D), "cc.Waves3D"},
    {typeid(engine::Waves), "cc.Waves"},
    {typeid(engine::Liquid), "cc.Liquid"},
    {typeid(engine::Ripple3D), "cc.Ripple3D"},
    {typeid(engine::Twirl), "cc.Twirl"},
    {typeid(engine::Lens3D), "cc.Lens3D"},
    {typeid(engine::Shaky3D), "cc.Shaky3D"},
    {typeid(engine::FlipX3D), "cc.FlipX3D"},
    {typeid(engine::FlipY3D), "cc.FlipY3D"},
    {typeid(engine::PageTurn3D), "cc.PageTurn3D"},
    {typeid(engine::ShakyTiles3D), "cc.ShakyTiles3D"},
    {typeid(engine::ShatteredTiles3D), "cc.ShatteredTiles3D"},
    {typeid(engine::ShuffleTiles), "cc.ShuffleTiles"},
    {typeid(engine::TurnOffTiles), "cc.TurnOffTiles"},
    {typeid(engine::FadeOutTRTiles), "cc.FadeOutTRTiles"},
    {typeid(engine::FadeOutBLTiles), "cc.FadeOutBLTiles"},
    {typeid(engine::FadeOutUpTiles), "cc.FadeOutUpTiles"},
    {typeid(engine::FadeOutDownTiles), "cc.FadeOutDownTiles"},
    {typeid(engine::WavesTiles3D), "cc.WavesTiles3D"},
    {typeid(engine::JumpTiles3D), "cc.JumpTiles3D"},
    {typeid(engine::SplitRows), "cc.SplitRows"},
    {typeid(engine::SplitCols), "cc.SplitCols"},
    {typeid(engine::TransitionFadeTR), "cc.TransitionFadeTR"},
    {typeid(engine::TransitionFadeBL), "cc.TransitionFadeBL"},
    {typeid(engine::TransitionFadeUp), "cc.TransitionFadeUp"},
    {typeid(engine::TransitionFadeDown), "cc.TransitionFadeDown"},
    {typeid(engine::TransitionTurnOffTiles), "cc.TransitionTurnOffTiles"},
    {typeid(engine::TransitionSplitCols), "cc.TransitionSplitCols"},
    {typeid(engine::TransitionSplitRows), "cc.TransitionSplitRows"},
    {typeid(engine::TransitionPageTurn), "cc.TransitionPageTurn"},
    {typeid(engine::ActionManager), "cc.ActionManager"},
    {typeid(engine::GLProgram), "cc.GLProgram"},
    {typeid(engine::GLProgramState), "cc.GLProgramState"},
    {typeid(engine::GLProgramCache), "cc.GLProgramCache"},
    {typeid(engine::Renderer), "cc.Renderer"},
    {typeid(engine::UserDefault), "cc.UserDefault"},
    {typeid(engine::Camera), "cc.Camera"},
    {typeid(engine::TMXTiledMap), "cc.TMXTiledMap"},
    {typeid(engine::TMXLayer), "cc.TMXLayer"},
    {typeid(engine::experimental::TMXTiledMap), "ccexp.TMXTiledMap"},
    {typeid(engine::experimental::TMXLayer), "ccexp.TMXLayer"},
    {typeid(engine::Properties), "cc.Properties"},
    {typeid(engine::AutoPolygon), "cc.AutoPolygon"},
    {typeid(engine::PolygonInfo), "cc.PolygonInfo"},
    {typeid(engine::PhysicsShape), "cc.PhysicsShape"},
    {typeid(engine::PhysicsShapeCircle), "cc.PhysicsShapeCircle"},
    {typeid(engine::PhysicsShapePolygon), "cc.PhysicsShapePolygon"},
    {typeid(engine::PhysicsShapeBox), "cc.PhysicsShapeBox"},
    {typeid(engine::PhysicsShapeEdgeSegment), "cc.PhysicsShapeEdgeSegment"},
    {typeid(engine::PhysicsShapeEdgePolygon), "cc.PhysicsShapeEdgePolygon"},
    {typeid(engine::PhysicsShapeEdgeBox), "cc.PhysicsShapeEdgeBox"},
    {typeid(engine::PhysicsShapeEdgeChain), "cc.PhysicsShapeEdgeChain"},
    {typeid(engine::PhysicsBody), "cc.PhysicsBody"},
    {typeid(engine::PhysicsWorld), "cc.PhysicsWorld"},
    {typeid(engine::PhysicsContact), "cc.PhysicsContact"},
    {typeid(engine::PhysicsContactPreSolve), "cc.PhysicsContactPreSolve"},
    {typeid(engine::PhysicsContactPostSolve), "cc.PhysicsContactPostSolve"},
    {typeid(engine::EventListenerPhysicsContact), "cc.EventListenerPhysicsContact"},
    {typeid(engine::EventListenerPhysicsContactWithBodies), "cc.EventListenerPhysicsContactWithBodies"},
    {typeid(engine::EventListenerPhysicsContactWithShapes), "cc.EventListenerPhysicsContactWithShapes"},
    {typeid(engine::EventListenerPhysicsContactWithGroup), "cc.EventListenerPhysicsContactWithGroup"},
    {typeid(engine::PhysicsJoint), "cc.PhysicsJoint"},
    {typeid(engine::PhysicsJointFixed), "cc.PhysicsJointFixed"},
    {typeid(engine::PhysicsJointLimit), "cc.PhysicsJointLimit"},
    {typeid(engine::PhysicsJointPin), "cc.PhysicsJointPin"},
    {typeid(engine::PhysicsJointDistance), "cc.PhysicsJointDistance"},
    {typeid(engine::PhysicsJointSpring), "cc.PhysicsJointSpring"},
    {typeid(engine::PhysicsJointGroove), "cc.PhysicsJointGroove"},
    {typeid(engine::PhysicsJointRotarySpring), "cc.PhysicsJointRotarySpring"},
    {typeid(engine::PhysicsJointRotaryLimit), "cc.PhysicsJointRotaryLimit"},
    {typeid(engine::PhysicsJointRatchet), "cc.PhysicsJointRatchet"},
    {typeid(engine::PhysicsJointGear), "cc.PhysicsJointGear"},
    {typeid(engine::PhysicsJointMotor), "cc.PhysicsJointMotor"},
    {typeid(engine::SimpleAudioEngine), "cc.SimpleAudioEngine"},
    {typeid(engine::ui::Widget), "ccui.Widget"},
    {typeid(engine::ui::Button), "ccui.Button"},
    {typeid(engine::ui::Text), "ccui.Text"},
    {typeid(engine::ui::LoadingBar), "ccui.LoadingBar"},
    {typeid(engine::ui::Layout), "ccui.Layout"},
    {typeid(engine::ui::Scale9Sprite), "ccui.Scale9Sprite"},
    {typeid(engine::ui::Helper), "ccui.Helper"},
    {typeid(engine::ui::CheckBox), "ccui.CheckBox"},
    {typeid(engine::ui::RadioButton), "ccui.RadioButton"},
    {typeid(engine::ui::RadioButtonGroup), "ccui.RadioButtonGroup"},
    {typeid(engine::ui::Slider), "ccui.Slider"},
    {typeid(engine::ui::TextField), "ccui.TextField"},
    {typeid(engine::ui::ScrollView), "ccui.ScrollView"},
    {typeid(engine::ui::ListView), "ccui.ListView"},
    {typeid(engine::ui::PageView), "ccui.PageView"},
    {typeid(engine::ui::ImageView), "ccui.ImageView"},
    {typeid(engine::ui::TextBMFont), "ccui.TextBMFont"},
    {typeid(engine::ui::LayoutParameter), "ccui.LayoutParameter"},
    {typeid(engine::ui::LinearLayoutParameter), "ccui.LinearLayoutParameter"},
    {typeid(engine::ui::RelativeLayoutParameter), "ccui.RelativeLayoutParameter"},
    {typeid(engine::ui::EditBox), "ccui.EditBox"},
    {typeid(engine::extension::Control), "cc.Control"},
    {typeid(engine::extension::ControlButton), "cc.ControlButton"},
    {typeid(engine::extension::ScrollView), "cc.ScrollView"},
    {typeid(engine::extension::TableViewCell), "cc.TableViewCell"},
    {typeid(engine::extension::TableView), "cc.TableView"},
    {typeid(engine::extension::AssetsManager), "cc.AssetsManager"},
    {typeid(engine::extension::AssetsManagerEx), "cc.AssetsManagerEx"},
    {typeid(engine::extension::EventAssetsManagerEx), "cc.EventAssetsManagerEx"},
    {typeid(engine::extension::EventListenerAssetsManagerEx), "cc.EventListenerAssetsManagerEx"},
    {typeid(engine::ParticleSystem3D), "cc.ParticleSystem3D"},
    {typeid(engine::ParticlePool), "cc.ParticlePool"},
    {typeid(studio::Armature), "ccs.Armature"},
    {typeid(studio::Bone), "ccs.Bone"},
    {typeid(studio::GUIReader), "ccs.GUIReader"},
    {typeid(engine::CSLoader), "cc.CSLoader"},
    {typeid(studio::ArmatureAnimation), "ccs.ArmatureAnimation"},
    {typeid(studio::ArmatureDataManager), "ccs.ArmatureDataManager"},
    {typeid(studio::timeline::ActionTimelineCache), "ccs.ActionTimelineCache"},
    {typeid(studio::timeline::ActionTimeline), "ccs.ActionTimeline"},
    {typeid(studio::timeline::Frame), "ccs.Frame"},
    {typeid(studio::timeline::EventFrame), "ccs.EventFrame"},
    {typeid(studio::CustomGUIReader), "ccs.CustomGUIReader"},
    {typeid(engine::EventListenerFocus), "cc.EventListenerFocus"},
    {typeid(skeleton::SkeletonRenderer), "sp.SkeletonRenderer"},
    {typeid(skeleton::SkeletonAnimation), "sp.SkeletonAnimation"},
    {typeid(bindings::LuaSkeletonAnimation), "sp.SkeletonAnimation"},
};

// A short name registered in two tables ("TMXLayer": cc, then ccexp) maps to
// the later registration (the list above is in registration order).
TEST_F(RegistrationTableTest, EveryEngineClassHasItsEntries) {
    std::map<std::string, std::string> lastByShortName;
    for (const EngineClass& c : kEngineClasses) {
        const std::string luaName = c.luaName;
        lastByShortName[luaName.substr(luaName.rfind('.') + 1)] = luaName;
    }
    for (const EngineClass& c : kEngineClasses) {
        SCOPED_TRACE(c.luaName);
        EXPECT_EQ(luaTypeMap[c.type.name()], c.luaName);
        const std::string luaName = c.luaName;
        const std::string shortName = luaName.substr(luaName.rfind('.') + 1);
        EXPECT_EQ(luaClassNameMap[shortName], lastByShortName[shortName]);
        EXPECT_TRUE(luaTypeRegistered(luaName));
    }
}

}  // namespace
}  // namespace bindingtest
