#include "bindings/core/LuaCoreManual.h"

#include <array>
#include <iterator>

#include "bindings/core/CoreClassRows.h"
#include "bindings/core/LuaActionLists.h"
#include "bindings/core/LuaBlendFunc.h"
#include "bindings/core/LuaConsole.h"
#include "bindings/core/LuaCurveActions.h"
#include "bindings/core/LuaDrawNodeDraws.h"
#include "bindings/core/LuaGLProgramMethods.h"
#include "bindings/core/LuaGeometryDevice.h"
#include "bindings/core/LuaImageMethods.h"
#include "bindings/core/LuaInputListeners.h"
#include "bindings/core/LuaLabels.h"
#include "bindings/core/LuaLayerInput.h"
#include "bindings/core/LuaMenus.h"
#include "bindings/core/LuaNodeMethods.h"
#include "bindings/core/LuaSceneNavMesh.h"
#include "bindings/core/LuaSchedulerScript.h"
#include "bindings/core/LuaTileMaps.h"
#include "bindings/core/LuaScriptHandlers.h"

namespace bindings {
namespace {

// A class's routine; null where its functions are not bound yet.
struct Routine {
    const char* luaName;
    void (*add)(lua_State* L);
};

void schedulerRoutine(lua_State* L) { register_scheduler_script_manual(L); }
// The script-handler methods, then the geometry forms.
void nodeRoutine(lua_State* L) {
    register_node_manual_methods(L);
    register_node_geometry_manual(L);
}
void sequenceRoutine(lua_State* L) { register_action_lists_manual(L); }
void spawnRoutine(lua_State* L) { register_spawn_manual(L); }
template <const char* LuaName>
void blendRoutine(lua_State* L) {
    register_blend_func_manual(L, LuaName);
}
constexpr char kDrawNode[] = "cc.DrawNode";
// The point-list draw calls, then setBlendFunc.
void drawNodeRoutine(lua_State* L) {
    register_draw_node_manual(L);
    register_blend_func_manual(L, kDrawNode);
}
constexpr char kSprite[] = "cc.Sprite";
// setBlendFunc, then the polygon methods and create.
void spriteRoutine(lua_State* L) {
    register_blend_func_manual(L, kSprite);
    register_sprite_polygon_manual(L);
}
constexpr char kLayerColor[] = "cc.LayerColor";
constexpr char kParticleSystem[] = "cc.ParticleSystem";
constexpr char kSpriteBatchNode[] = "cc.SpriteBatchNode";
constexpr char kMotionStreak[] = "cc.MotionStreak";
constexpr char kAtlasNode[] = "cc.AtlasNode";
constexpr char kParticleBatchNode[] = "cc.ParticleBatchNode";

const Routine kRoutines[] = {
    {"cc.Node", nodeRoutine},
    {"cc.Scene", register_scene_navmesh_manual},
    {"cc.Layer", register_layer_manual_methods},
    {"cc.MenuItem", register_menu_item_manual_methods},
    {"cc.MenuItemImage", register_menu_item_image_manual},
    {"cc.MenuItemLabel", register_menu_item_label_manual},
    {"cc.MenuItemFont", register_menu_item_font_manual},
    {"cc.MenuItemSprite", register_menu_item_sprite_manual},
    {"cc.MenuItemToggle", register_menu_item_toggle_manual},
    {"cc.Menu", register_menu_manual},
    {"cc.Scheduler", schedulerRoutine},
    {"cc.Sequence", sequenceRoutine},
    {"cc.CallFunc", register_call_func_manual_methods},
    {"cc.Spawn", spawnRoutine},
    {"cc.CardinalSplineBy", register_cardinal_spline_by_manual},
    {"cc.CatmullRomBy", register_catmull_rom_by_manual},
    {"cc.CatmullRomTo", register_catmull_rom_to_manual},
    {"cc.BezierBy", register_bezier_by_manual},
    {"cc.BezierTo", register_bezier_to_manual},
    {kDrawNode, drawNodeRoutine},
    {kSprite, spriteRoutine},
    {kLayerColor, blendRoutine<kLayerColor>},
    {"cc.LayerMultiplex", register_layer_multiplex_manual},
    {kParticleSystem, blendRoutine<kParticleSystem>},
    {"cc.FileUtils", register_file_utils_manual},
    {"cc.UserDefault", register_user_default_manual},
    {"cc.GLProgram", register_gl_program_manual},
    {"cc.Texture2D", register_texture_manual},
    {kSpriteBatchNode, blendRoutine<kSpriteBatchNode>},
    {"cc.EventListenerKeyboard", register_event_listener_keyboard_manual},
    {"cc.EventListenerTouchOneByOne", register_event_listener_touch_one_by_one_manual},
    {"cc.EventListenerTouchAllAtOnce", register_event_listener_touch_all_at_once_manual},
    {"cc.EventListenerMouse", register_event_listener_mouse_manual},
    {"cc.EventListenerCustom", register_event_listener_custom_manual},
    {"cc.EventListenerAcceleration", register_event_listener_acceleration_manual},
    {"cc.ActionCamera", register_action_camera_manual},
    {"cc.GridAction", register_grid_action_manual},
    {kMotionStreak, blendRoutine<kMotionStreak>},
    {kAtlasNode, blendRoutine<kAtlasNode>},
    {kParticleBatchNode, blendRoutine<kParticleBatchNode>},
    {"cc.Label", register_label_manual},
    {"cc.TMXTiledMap", register_tiled_map_manual},
    {"cc.Console", register_console_manual},
    {"cc.GLProgramState", register_gl_program_state_manual},
    {"cc.OrbitCamera", register_orbit_camera_manual},
    {"cc.TMXLayer", register_tmx_layer_manual},
    {"cc.Application", register_application_manual},
    {"cc.TextureCache", register_texture_cache_manual},
    {"cc.GLView", register_glview_manual},
    {"cc.Camera", register_camera_manual},
    {"cc.Properties", register_properties_manual},
    {"cc.AutoPolygon", register_auto_polygon_manual},
    {"cc.PolygonInfo", register_polygon_info_manual},
};
static_assert(std::size(kRoutines) == 53);

}  // namespace

int register_core_manual(lua_State* L) {
    if (!L) return 0;
    for (const Routine& routine : kRoutines) {
        if (routine.add) routine.add(L);
    }
    return 0;
}

std::span<const char* const> coreManualClasses() {
    static const auto names = [] {
        std::array<const char*, std::size(kRoutines)> all{};
        for (size_t i = 0; i < all.size(); ++i) all[i] = kRoutines[i].luaName;
        return all;
    }();
    return names;
}

}  // namespace bindings
