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
#include "bindings/LuaGenerated.h"
#include "bindings/LuaModules.h"
#include "engine/studio/ActionManagerEx.h"
#include "engine/studio/ArmatureParts.h"
#include "engine/studio/DataRecords.h"
#include "engine/studio/SceneReader.h"
#include "engine/studio/StudioComponents.h"
#include "engine/studio/timeline/BoneNode.h"
#include "engine/studio/timeline/TimelineFrames.h"
#include "engine/scene/Component.h"
#include "engine/3d/AttachNode.h"
#include "engine/3d/Bundle3D.h"
#include "engine/3d/MeshSkin.h"
#include "engine/3d/Ray.h"
#include "engine/3d/Sprite3D.h"
#include "engine/3d/Sprite3DCache.h"
#include "engine/3d/Terrain.h"
#include "engine/actions/Action.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionFollow.h"
#include "engine/actions/ActionMotion.h"
#include "engine/actions/ActionProgress.h"
#include "engine/actions/ActionTween.h"
#include "engine/base/AsyncTaskPool.h"
#include "engine/extension/Manifest.h"
#include "engine/label/FontAtlas.h"
#include "engine/label/LabelAtlas.h"
#include "engine/renderer/TextureAtlas.h"
#include "engine/scene/AtlasNode.h"
#include "engine/scene/ClippingRectangleNode.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/scene/ParallaxNode.h"
#include "engine/scene/ProtectedNode.h"
#include "engine/tilemap/TileMapAtlas.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/actions/Animate.h"
#include "engine/actions/ActionBezier.h"
#include "engine/actions/ActionCamera.h"
#include "engine/actions/ActionCatmullRom.h"
#include "engine/actions/GridAction.h"
#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshObstacle.h"
#include "engine/scene/NodeGrid.h"
#include "engine/scene/TransitionGrid.h"
#include "engine/actions/PointArray.h"
#include "engine/scene/Animation.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionOriented.h"
#include "engine/scene/TransitionProgress.h"
#include "engine/scene/TransitionScene.h"
#include "engine/scene/TransitionZooms.h"
#include "engine/scene/ClippingNode.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "engine/audio/AudioEngine.h"
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
#include "engine/extension/ControlColourPicker.h"
#include "engine/extension/ControlPotentiometer.h"
#include "engine/extension/ControlSlider.h"
#include "engine/extension/ControlStepper.h"
#include "engine/extension/ControlSwitch.h"
#include "engine/extension/AssetsManagerEx.h"
#include "engine/extension/PUParticleSystem3D.h"
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
#include "engine/physics3d/Physics3DComponent.h"
#include "engine/physics3d/Physics3DConstraint.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/physics3d/PhysicsSprite3D.h"
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
#include "engine/tilemap/TMXInfo.h"
#include "engine/tilemap/TMXTiledMap.h"
#include "bindings/studio/CustomGUIReader.h"
#include "engine/studio/Armature.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/ComAudio.h"
#include "engine/studio/ArmatureDataManager.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/studio/GUIReader.h"
#include "engine/label/Label.h"
#include "engine/label/DeprecatedLabels.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Sprite.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/3d/Animate3D.h"
#include "engine/3d/Animation3D.h"
#include "engine/3d/BillBoard.h"
#include "engine/3d/CameraBackgroundBrush.h"
#include "engine/3d/Light3D.h"
#include "engine/3d/Skybox.h"
#include "engine/3d/TextureCube.h"
#include "engine/material/Material.h"
#include "engine/material/VertexAttribBinding.h"
#include "engine/renderer/FrameBuffer.h"
#include "engine/ui/Boxes.h"
#include "engine/ui/LayoutComponent.h"
#include "engine/ui/RichText.h"
#include "engine/ui/TextAtlas.h"
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
        {"3d scene", bindings::threeDSceneClassRows()},
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

// The Lua expression of a class table: a nested class name
// ("cc.RenderState::StateBlock") is a key of its table.
std::string luaPath(const std::string& luaName) {
    if (luaName.find("::") == std::string::npos) return luaName;
    const size_t dot = luaName.find('.');
    return luaName.substr(0, dot) + "[\"" + luaName.substr(dot + 1) + "\"]";
}

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
            const std::string path = luaPath(row.luaName);
            EXPECT_EQ(eval("type(" + path + ")"), "table");
            const std::string luaName = row.luaName;
            const std::string shortName = luaName.substr(luaName.rfind('.') + 1);
            // The builder proxy alone is known by its class only, not by its short name.
            EXPECT_EQ(luaClassNameMap[shortName], luaName == "cc.CCBProxy" ? "" : lastByShortName[shortName]);
            EXPECT_EQ(luaTypeMap[row.typeKey()], luaName);
            for (const bindings::Method& method : row.methods) {
                // By key: a method may be named by a Lua keyword ("end").
                EXPECT_EQ(eval("type(" + path + "['" + method.name + "'])"), "function") << method.name;
            }
        }
    }
}

// The generator lists every public method the engine headers declare for each
// registered class (ctest bindgen_current keeps that list current): each is
// reachable from its class table, or stands skipped with its reason.
TEST_F(RegistrationTableTest, EveryDeclaredMethodIsBoundOrSkipped) {
    size_t bound = 0;
    for (const bindings::GeneratedTable& table : bindings::generatedTables()) {
        for (const bindings::DeclaredMethod& declared : table.declared) {
            SCOPED_TRACE(std::string(declared.luaName) + ":" + declared.name);
            if (declared.skipped) {
                EXPECT_STRNE(declared.skipped, "");
                continue;
            }
            ++bound;
            const std::string path = luaPath(declared.luaName);
            EXPECT_EQ(eval("type(" + path + "['" + declared.name + "'])"), "function");
        }
    }
    EXPECT_GT(bound, 0u);
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
    {typeid(engine::Component), "cc.Component"},
    {typeid(engine::Scene), "cc.Scene"},
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
    {typeid(engine::EaseElasticInOut), "cc.EaseElasticInOut"},
    {typeid(engine::EaseExponentialInOut), "cc.EaseExponentialInOut"},
    {typeid(engine::EaseBackInOut), "cc.EaseBackInOut"},
    {typeid(engine::EaseBounceInOut), "cc.EaseBounceInOut"},
    {typeid(engine::EaseBezierAction), "cc.EaseBezierAction"},
    {typeid(engine::EaseQuadraticActionIn), "cc.EaseQuadraticActionIn"},
    {typeid(engine::EaseQuadraticActionOut), "cc.EaseQuadraticActionOut"},
    {typeid(engine::EaseQuadraticActionInOut), "cc.EaseQuadraticActionInOut"},
    {typeid(engine::EaseCubicActionIn), "cc.EaseCubicActionIn"},
    {typeid(engine::EaseCubicActionOut), "cc.EaseCubicActionOut"},
    {typeid(engine::EaseCubicActionInOut), "cc.EaseCubicActionInOut"},
    {typeid(engine::EaseQuarticActionIn), "cc.EaseQuarticActionIn"},
    {typeid(engine::EaseQuarticActionOut), "cc.EaseQuarticActionOut"},
    {typeid(engine::EaseQuarticActionInOut), "cc.EaseQuarticActionInOut"},
    {typeid(engine::EaseQuinticActionIn), "cc.EaseQuinticActionIn"},
    {typeid(engine::EaseQuinticActionOut), "cc.EaseQuinticActionOut"},
    {typeid(engine::EaseQuinticActionInOut), "cc.EaseQuinticActionInOut"},
    {typeid(engine::EaseCircleActionIn), "cc.EaseCircleActionIn"},
    {typeid(engine::EaseCircleActionOut), "cc.EaseCircleActionOut"},
    {typeid(engine::EaseCircleActionInOut), "cc.EaseCircleActionInOut"},
    {typeid(engine::SkewTo), "cc.SkewTo"},
    {typeid(engine::SkewBy), "cc.SkewBy"},
    {typeid(engine::ProgressTo), "cc.ProgressTo"},
    {typeid(engine::ProgressFromTo), "cc.ProgressFromTo"},
    {typeid(engine::ActionFloat), "cc.ActionFloat"},
    {typeid(engine::ActionTween), "cc.ActionTween"},
    {typeid(engine::Follow), "cc.Follow"},
    {typeid(engine::AnimationFrame), "cc.AnimationFrame"},
    {typeid(engine::ClippingRectangleNode), "cc.ClippingRectangleNode"},
    {typeid(engine::ParallaxNode), "cc.ParallaxNode"},
    {typeid(engine::ProtectedNode), "cc.ProtectedNode"},
    {typeid(engine::RenderTexture), "cc.RenderTexture"},
    {typeid(engine::LabelAtlas), "cc.LabelAtlas"},
    {typeid(engine::TileMapAtlas), "cc.TileMapAtlas"},
    {typeid(engine::TextureAtlas), "cc.TextureAtlas"},
    {typeid(engine::FontAtlas), "cc.FontAtlas"},
    {typeid(engine::AsyncTaskPool), "cc.AsyncTaskPool"},
    {typeid(engine::extension::Manifest), "cc.Manifest"},
    {typeid(engine::ParticleSystem), "cc.ParticleSystem"},
    {typeid(engine::ParticleSystemQuad), "cc.ParticleSystemQuad"},
    {typeid(engine::ParticleFire), "cc.ParticleFire"},
    {typeid(engine::ParticleFireworks), "cc.ParticleFireworks"},
    {typeid(engine::ParticleSun), "cc.ParticleSun"},
    {typeid(engine::ParticleGalaxy), "cc.ParticleGalaxy"},
    {typeid(engine::ParticleFlower), "cc.ParticleFlower"},
    {typeid(engine::ParticleMeteor), "cc.ParticleMeteor"},
    {typeid(engine::ParticleSpiral), "cc.ParticleSpiral"},
    {typeid(engine::ParticleExplosion), "cc.ParticleExplosion"},
    {typeid(engine::ParticleSmoke), "cc.ParticleSmoke"},
    {typeid(engine::ParticleSnow), "cc.ParticleSnow"},
    {typeid(engine::ParticleRain), "cc.ParticleRain"},
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
    {typeid(engine::TransitionMoveInT), "cc.TransitionMoveInT"},
    {typeid(engine::TransitionMoveInB), "cc.TransitionMoveInB"},
    {typeid(engine::TransitionSceneOriented), "cc.TransitionSceneOriented"},
    {typeid(engine::TransitionFlipY), "cc.TransitionFlipY"},
    {typeid(engine::TransitionFlipAngular), "cc.TransitionFlipAngular"},
    {typeid(engine::TransitionZoomFlipX), "cc.TransitionZoomFlipX"},
    {typeid(engine::TransitionZoomFlipY), "cc.TransitionZoomFlipY"},
    {typeid(engine::TransitionZoomFlipAngular), "cc.TransitionZoomFlipAngular"},
    {typeid(engine::TransitionProgress), "cc.TransitionProgress"},
    {typeid(engine::TransitionProgressRadialCCW), "cc.TransitionProgressRadialCCW"},
    {typeid(engine::TransitionProgressHorizontal), "cc.TransitionProgressHorizontal"},
    {typeid(engine::TransitionProgressVertical), "cc.TransitionProgressVertical"},
    {typeid(engine::TransitionProgressInOut), "cc.TransitionProgressInOut"},
    {typeid(engine::TransitionProgressOutIn), "cc.TransitionProgressOutIn"},
    {typeid(engine::TransitionRotoZoom), "cc.TransitionRotoZoom"},
    {typeid(engine::TransitionJumpZoom), "cc.TransitionJumpZoom"},
    {typeid(engine::TransitionShrinkGrow), "cc.TransitionShrinkGrow"},
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
    {typeid(engine::TMXMapInfo), "cc.TMXMapInfo"},
    {typeid(engine::TMXLayerInfo), "cc.TMXLayerInfo"},
    {typeid(engine::TMXTilesetInfo), "cc.TMXTilesetInfo"},
    {typeid(engine::TMXObjectGroup), "cc.TMXObjectGroup"},
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
    {typeid(engine::Physics3DShape), "cc.Physics3DShape"},
    {typeid(engine::Physics3DObject), "cc.Physics3DObject"},
    {typeid(engine::Physics3DRigidBody), "cc.Physics3DRigidBody"},
    {typeid(engine::Physics3DComponent), "cc.Physics3DComponent"},
    {typeid(engine::PhysicsSprite3D), "cc.PhysicsSprite3D"},
    {typeid(engine::Physics3DWorld), "cc.Physics3DWorld"},
    {typeid(engine::Physics3DConstraint), "cc.Physics3DConstraint"},
    {typeid(engine::Physics3DPointToPointConstraint), "cc.Physics3DPointToPointConstraint"},
    {typeid(engine::Physics3DHingeConstraint), "cc.Physics3DHingeConstraint"},
    {typeid(engine::Physics3DSliderConstraint), "cc.Physics3DSliderConstraint"},
    {typeid(engine::Physics3DConeTwistConstraint), "cc.Physics3DConeTwistConstraint"},
    {typeid(engine::Physics3D6DofConstraint), "cc.Physics3D6DofConstraint"},
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
    {typeid(engine::extension::ControlSlider), "cc.ControlSlider"},
    {typeid(engine::extension::ControlSwitch), "cc.ControlSwitch"},
    {typeid(engine::extension::ControlStepper), "cc.ControlStepper"},
    {typeid(engine::extension::ControlPotentiometer), "cc.ControlPotentiometer"},
    {typeid(engine::extension::ControlHuePicker), "cc.ControlHuePicker"},
    {typeid(engine::extension::ControlSaturationBrightnessPicker), "cc.ControlSaturationBrightnessPicker"},
    {typeid(engine::extension::ControlColourPicker), "cc.ControlColourPicker"},
    {typeid(engine::extension::ScrollView), "cc.ScrollView"},
    {typeid(engine::extension::TableViewCell), "cc.TableViewCell"},
    {typeid(engine::extension::TableView), "cc.TableView"},
    {typeid(engine::extension::AssetsManager), "cc.AssetsManager"},
    {typeid(engine::extension::AssetsManagerEx), "cc.AssetsManagerEx"},
    {typeid(engine::extension::EventAssetsManagerEx), "cc.EventAssetsManagerEx"},
    {typeid(engine::extension::EventListenerAssetsManagerEx), "cc.EventListenerAssetsManagerEx"},
    {typeid(engine::ParticleSystem3D), "cc.ParticleSystem3D"},
    {typeid(engine::ParticlePool), "cc.ParticlePool"},
    {typeid(engine::Particle3DEmitter), "cc.Particle3DEmitter"},
    {typeid(engine::Particle3DAffector), "cc.Particle3DAffector"},
    {typeid(engine::Particle3DRender), "cc.Particle3DRender"},
    {typeid(engine::PUParticleSystem3D), "cc.PUParticleSystem3D"},
    {typeid(engine::PUEmitter), "cc.PUEmitter"},
    {typeid(engine::PUBehaviour), "cc.PUBehaviour"},
    {typeid(engine::PUListener), "cc.PUListener"},
    {typeid(engine::PUObserver), "cc.PUObserver"},
    {typeid(studio::Armature), "ccs.Armature"},
    {typeid(studio::BaseData), "ccs.BaseData"},
    {typeid(studio::DisplayData), "ccs.DisplayData"},
    {typeid(studio::SpriteDisplayData), "ccs.SpriteDisplayData"},
    {typeid(studio::ArmatureDisplayData), "ccs.ArmatureDisplayData"},
    {typeid(studio::ParticleDisplayData), "ccs.ParticleDisplayData"},
    {typeid(studio::BoneData), "ccs.BoneData"},
    {typeid(studio::ArmatureData), "ccs.ArmatureData"},
    {typeid(studio::FrameData), "ccs.FrameData"},
    {typeid(studio::MovementBoneData), "ccs.MovementBoneData"},
    {typeid(studio::MovementData), "ccs.MovementData"},
    {typeid(studio::AnimationData), "ccs.AnimationData"},
    {typeid(studio::ContourData), "ccs.ContourData"},
    {typeid(studio::TextureData), "ccs.TextureData"},
    {typeid(studio::DecorativeDisplay), "ccs.DecorativeDisplay"},
    {typeid(studio::DisplayManager), "ccs.DisplayManager"},
    {typeid(studio::Tween), "ccs.Tween"},
    {typeid(studio::ColliderDetector), "ccs.ColliderDetector"},
    {typeid(studio::Skin), "ccs.Skin"},
    {typeid(studio::BatchNode), "ccs.BatchNode"},
    {typeid(studio::timeline::VisibleFrame), "ccs.VisibleFrame"},
    {typeid(studio::timeline::TextureFrame), "ccs.TextureFrame"},
    {typeid(studio::timeline::RotationFrame), "ccs.RotationFrame"},
    {typeid(studio::timeline::SkewFrame), "ccs.SkewFrame"},
    {typeid(studio::timeline::RotationSkewFrame), "ccs.RotationSkewFrame"},
    {typeid(studio::timeline::PositionFrame), "ccs.PositionFrame"},
    {typeid(studio::timeline::ScaleFrame), "ccs.ScaleFrame"},
    {typeid(studio::timeline::AnchorPointFrame), "ccs.AnchorPointFrame"},
    {typeid(studio::timeline::InnerActionFrame), "ccs.InnerActionFrame"},
    {typeid(studio::timeline::ColorFrame), "ccs.ColorFrame"},
    {typeid(studio::timeline::AlphaFrame), "ccs.AlphaFrame"},
    {typeid(studio::timeline::ZOrderFrame), "ccs.ZOrderFrame"},
    {typeid(studio::timeline::BlendFuncFrame), "ccs.BlendFuncFrame"},
    {typeid(studio::timeline::Timeline), "ccs.Timeline"},
    {typeid(studio::timeline::ActionTimelineData), "ccs.ActionTimelineData"},
    {typeid(studio::timeline::ActionTimelineNode), "ccs.ActionTimelineNode"},
    {typeid(studio::timeline::BoneNode), "ccs.BoneNode"},
    {typeid(studio::timeline::SkeletonNode), "ccs.SkeletonNode"},
    {typeid(studio::ComAttribute), "ccs.ComAttribute"},
    {typeid(studio::ComController), "ccs.ComController"},
    {typeid(studio::ComExtensionData), "ccs.ComExtensionData"},
    {typeid(studio::ComRender), "ccs.ComRender"},
    {typeid(studio::ActionFrame), "ccs.ActionFrame"},
    {typeid(studio::ActionNode), "ccs.ActionNode"},
    {typeid(studio::ActionObject), "ccs.ActionObject"},
    {typeid(studio::ActionManagerEx), "ccs.ActionManagerEx"},
    {typeid(studio::SceneReader), "ccs.SceneReader"},
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
    {typeid(studio::ComAudio), "ccs.ComAudio"},
    {typeid(engine::EventListenerFocus), "cc.EventListenerFocus"},
    {typeid(skeleton::SkeletonRenderer), "sp.SkeletonRenderer"},
    {typeid(skeleton::SkeletonAnimation), "sp.SkeletonAnimation"},
    {typeid(bindings::LuaSkeletonAnimation), "sp.SkeletonAnimation"},
    {typeid(engine::DirectionLight), "cc.DirectionLight"},
    {typeid(engine::PointLight), "cc.PointLight"},
    {typeid(engine::SpotLight), "cc.SpotLight"},
    {typeid(engine::AmbientLight), "cc.AmbientLight"},
    {typeid(engine::CameraBackgroundBrush), "cc.CameraBackgroundBrush"},
    {typeid(engine::CameraBackgroundDepthBrush), "cc.CameraBackgroundDepthBrush"},
    {typeid(engine::CameraBackgroundColorBrush), "cc.CameraBackgroundColorBrush"},
    {typeid(engine::CameraBackgroundSkyBoxBrush), "cc.CameraBackgroundSkyBoxBrush"},
    {typeid(engine::TextureCube), "cc.TextureCube"},
    {typeid(engine::Skybox), "cc.Skybox"},
    {typeid(engine::Animation3D), "cc.Animation3D"},
    {typeid(engine::Animate3D), "cc.Animate3D"},
    {typeid(engine::BillBoard), "cc.BillBoard"},
    {typeid(engine::RenderState), "cc.RenderState"},
    {typeid(engine::RenderState::StateBlock), "cc.RenderState::StateBlock"},
    {typeid(engine::Pass), "cc.Pass"},
    {typeid(engine::Technique), "cc.Technique"},
    {typeid(engine::Material), "cc.Material"},
    {typeid(engine::VertexAttribBinding), "cc.VertexAttribBinding"},
    {typeid(engine::experimental::FrameBuffer), "ccexp.FrameBuffer"},
    {typeid(engine::ui::HBox), "ccui.HBox"},
    {typeid(engine::ui::VBox), "ccui.VBox"},
    {typeid(engine::ui::RelativeBox), "ccui.RelativeBox"},
    {typeid(engine::ui::LayoutComponent), "ccui.LayoutComponent"},
    {typeid(engine::ui::RichElement), "ccui.RichElement"},
    {typeid(engine::ui::RichElementText), "ccui.RichElementText"},
    {typeid(engine::ui::RichElementImage), "ccui.RichElementImage"},
    {typeid(engine::ui::RichElementCustomNode), "ccui.RichElementCustomNode"},
    {typeid(engine::ui::RichText), "ccui.RichText"},
    {typeid(engine::ui::TextAtlas), "ccui.TextAtlas"},
    {typeid(engine::Sprite3D), "cc.Sprite3D"},
    {typeid(engine::Mesh), "cc.Mesh"},
    {typeid(engine::MeshIndexData), "cc.MeshIndexData"},
    {typeid(engine::MeshSkin), "cc.MeshSkin"},
    {typeid(engine::Bone3D), "cc.Bone3D"},
    {typeid(engine::Skeleton3D), "cc.Skeleton3D"},
    {typeid(engine::AttachNode), "cc.AttachNode"},
    {typeid(engine::Sprite3DCache), "cc.Sprite3DCache"},
    {typeid(engine::Bundle3D), "cc.Bundle3D"},
    {typeid(engine::Terrain), "cc.Terrain"},
    {typeid(engine::AABB), "cc.AABB"},
    {typeid(engine::OBB), "cc.OBB"},
    {typeid(engine::Ray), "cc.Ray"},
    {typeid(engine::experimental::AudioProfile), "ccexp.AudioProfile"},
    {typeid(engine::experimental::AudioEngine), "ccexp.AudioEngine"},
    {typeid(engine::NavMesh), "cc.NavMesh"},
    {typeid(engine::NavMeshAgent), "cc.NavMeshAgent"},
    {typeid(engine::NavMeshObstacle), "cc.NavMeshObstacle"},
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
