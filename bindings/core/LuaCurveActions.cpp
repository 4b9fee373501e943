#include "bindings/core/LuaCurveActions.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/actions/ActionBezier.h"
#include "engine/actions/ActionCamera.h"
#include "engine/actions/ActionCatmullRom.h"
#include "engine/actions/GridAction.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {

engine::PointArray* pointArrayAt(lua_State* L, int index) {
    engine::Vec2* points = nullptr;
    int count = 0;
    if (!luaconv_read_vec2_array(L, index, &points, &count)) return nullptr;
    engine::PointArray* array = engine::PointArray::create(count);
    for (int i = 0; i < count; ++i) array->addControlPoint(points[i]);
    delete[] points;
    return array;
}

namespace {

using namespace engine;

template <class T>
int lua_bezierCreate(lua_State* L, const char* luaName, const char* typeName) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, luaName, argc, 2);
    double duration = 0;
    if (!luaconv_read_number(L, 2, &duration)) return 0;
    PointArray* points = pointArrayAt(L, 3);
    if (!points || points->count() < 3) return 0;
    BezierConfig config;
    config.controlPoint_1 = points->getControlPointAtIndex(0);
    config.controlPoint_2 = points->getControlPointAtIndex(1);
    config.endPosition = points->getControlPointAtIndex(2);
    luaconv_push_object(L, typeName, T::create(static_cast<float>(duration), config));
    return 1;
}

int lua_bezierByCreate(lua_State* L) { return lua_bezierCreate<BezierBy>(L, "cc.BezierBy:create", "cc.BezierBy"); }
int lua_bezierToCreate(lua_State* L) { return lua_bezierCreate<BezierTo>(L, "cc.BezierTo:create", "cc.BezierTo"); }

template <class T>
int lua_catmullRomCreate(lua_State* L, const char* luaName, const char* typeName) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, luaName, argc, 2);
    double duration = 0;
    if (!luaconv_read_number(L, 2, &duration)) return 0;
    PointArray* points = pointArrayAt(L, 3);
    if (!points) return 0;
    if (points->count() == 0) return countError(L, luaName, argc, 2);
    luaconv_push_object(L, typeName, T::create(static_cast<float>(duration), points));
    return 1;
}

int lua_catmullRomByCreate(lua_State* L) {
    return lua_catmullRomCreate<CatmullRomBy>(L, "cc.CatmullRomBy:create", "cc.CatmullRomBy");
}
int lua_catmullRomToCreate(lua_State* L) {
    return lua_catmullRomCreate<CatmullRomTo>(L, "cc.CatmullRomTo:create", "cc.CatmullRomTo");
}

int lua_cardinalSplineByCreate(lua_State* L) {
    constexpr const char* kName = "cc.CardinalSplineBy:create";
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, kName, argc, 3);
    double duration = 0, tension = 0;
    if (!luaconv_read_number(L, 2, &duration)) return 0;
    PointArray* points = pointArrayAt(L, 3);
    if (!points || !luaconv_read_number(L, 4, &tension)) return 0;
    if (points->count() < 1) return countError(L, kName, argc, 3);
    auto* action = CardinalSplineBy::create(static_cast<float>(duration), points, static_cast<float>(tension));
    if (!action) return countError(L, kName, argc, 3);
    luaconv_push_object(L, "cc.CardinalSplineBy", action);
    return 1;
}

template <class T>
int lua_reverse(lua_State* L, const char* luaClass, const char* luaName) {
    T* self = checkSelf<T>(L, luaClass, luaName);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, luaName, argc, 0, " \n");
    luaconv_push_object(L, luaClass, self->reverse());
    // The result goes under the row's class, not the reversed action's own:
    // its metatable is the row's (the classes share one userdata cache, so the
    // object keeps its one userdata).
    if (lua_isuserdata(L, -1)) {
        luaL_getmetatable(L, luaClass);
        lua_setmetatable(L, -2);
    }
    return 1;
}

int lua_actionCameraReverse(lua_State* L) {
    return lua_reverse<ActionCamera>(L, "cc.ActionCamera", "cc.ActionCamera:reverse");
}
int lua_gridActionReverse(lua_State* L) { return lua_reverse<GridAction>(L, "cc.GridAction", "cc.GridAction:reverse"); }

void addOne(lua_State* L, const char* luaClass, const char* name, lua_CFunction function) {
    const ClassFunction functions[] = {{name, function}};
    addClassFunctions(L, luaClass, functions);
}

}  // namespace

void register_cardinal_spline_by_manual(lua_State* L) {
    addOne(L, "cc.CardinalSplineBy", "create", lua_cardinalSplineByCreate);
}
void register_catmull_rom_by_manual(lua_State* L) { addOne(L, "cc.CatmullRomBy", "create", lua_catmullRomByCreate); }
void register_catmull_rom_to_manual(lua_State* L) { addOne(L, "cc.CatmullRomTo", "create", lua_catmullRomToCreate); }
void register_bezier_by_manual(lua_State* L) { addOne(L, "cc.BezierBy", "create", lua_bezierByCreate); }
void register_bezier_to_manual(lua_State* L) { addOne(L, "cc.BezierTo", "create", lua_bezierToCreate); }
void register_action_camera_manual(lua_State* L) { addOne(L, "cc.ActionCamera", "reverse", lua_actionCameraReverse); }
void register_grid_action_manual(lua_State* L) { addOne(L, "cc.GridAction", "reverse", lua_gridActionReverse); }

}  // namespace bindings
