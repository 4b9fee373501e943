#include "bindings/core/LuaDrawNodeDraws.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaCurveActions.h"
#include "engine/scene/DrawNode.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

using engine::Color4F;
using engine::DrawNode;
using engine::PointArray;
using engine::Vec2;

// The first count entries of the array at index 2, in a buffer that Lua owns
// (left on the stack, so a Lua error raised later frees it too); null when the
// array is shorter than count or an entry is not a point. The length is checked
// before anything is allocated.
const Vec2* pointsAt(lua_State* L, long count) {
    if (!lua_istable(L, 2) || count < 1 || static_cast<size_t>(count) > lua_objlen(L, 2)) return nullptr;
    auto* points = static_cast<Vec2*>(lua_newuserdata(L, static_cast<size_t>(count) * sizeof(Vec2)));
    for (long i = 0; i < count; ++i) {
        lua_rawgeti(L, 2, static_cast<int>(i + 1));
        Vec2 point;
        const bool read = lua_istable(L, -1) && luaconv_read_vec2(L, -1, &point);
        lua_pop(L, 1);
        if (!read) return nullptr;
        points[i] = point;
    }
    return points;
}

struct DrawCall {
    DrawNode* self;
    long count;
};

// Self, the argument count (minArgc to maxArgc) and the point count at index 3
// (0 and below raise the count error with `expected`).
DrawCall checkDrawCall(lua_State* L, const char* luaName, int minArgc, int maxArgc, int expected, const char* ending) {
    auto* self = checkSelf<DrawNode>(L, "cc.DrawNode", luaName);
    const int argc = argumentCount(L);
    if (argc < minArgc || argc > maxArgc) countError(L, luaName, argc, expected, ending);
    long count = 0;
    if (!luaconv_read_long(L, 3, &count)) count = 0;
    if (count < 1) countError(L, luaName, argc, expected, ending);
    return {self, count};
}

int lua_drawPoints(lua_State* L) {
    const DrawCall call = checkDrawCall(L, "cc.DrawNode:drawPoints", 3, 4, 3, " \n");
    const int argc = argumentCount(L);
    const Vec2* points = pointsAt(L, call.count);
    if (!points) return 0;
    double size = 1;
    Color4F color;
    if (argc == 4 && !luaconv_read_number(L, 4, &size)) return 0;
    if (!luaconv_read_color4f(L, argc + 1, &color)) return 0;
    call.self->drawPoints(points, static_cast<unsigned int>(call.count), static_cast<float>(size), color);
    return 0;
}

int lua_drawPoly(lua_State* L) {
    const DrawCall call = checkDrawCall(L, "cc.DrawNode:drawPoly", 4, 4, 4, " \n");
    const Vec2* points = pointsAt(L, call.count);
    if (!points) return 0;
    bool closed = false;
    Color4F color;
    if (!luaconv_read_bool(L, 4, &closed) || !luaconv_read_color4f(L, 5, &color)) return 0;
    call.self->drawPoly(points, static_cast<unsigned int>(call.count), closed, color);
    return 0;
}

int lua_drawSolidPoly(lua_State* L) {
    const DrawCall call = checkDrawCall(L, "cc.DrawNode:drawSolidPoly", 3, 3, 3, " \n");
    const Vec2* points = pointsAt(L, call.count);
    if (!points) return 0;
    Color4F color;
    if (!luaconv_read_color4f(L, 4, &color)) return 0;
    call.self->drawSolidPoly(points, static_cast<unsigned int>(call.count), color);
    return 0;
}

int lua_drawPolygon(lua_State* L) {
    constexpr const char* kName = "cc.DrawNode:drawPolygon";
    auto* self = checkSelf<DrawNode>(L, "cc.DrawNode", kName);
    const int argc = argumentCount(L);
    if (argc != 5) return countError(L, kName, argc, 5);
    // The count is a plain number here, truncated.
    const long count = luaconv::wrapToInt32(lua_tonumber(L, 3));
    if (count < 1) return countError(L, kName, argc, 5);
    const Vec2* points = pointsAt(L, count);
    if (!points) return 0;
    Color4F fill, border;
    double width = 0;
    if (!luaconv_read_color4f(L, 4, &fill) || !luaconv_read_number(L, 5, &width) ||
        !luaconv_read_color4f(L, 6, &border)) {
        return 0;
    }
    self->drawPolygon(points, static_cast<int>(count), fill, static_cast<float>(width), border);
    return 0;
}

int lua_drawCardinalSpline(lua_State* L) {
    constexpr const char* kName = "cc.DrawNode:drawCardinalSpline";
    auto* self = checkSelf<DrawNode>(L, "cc.DrawNode", kName);
    const int argc = argumentCount(L);
    if (argc != 4) return countError(L, kName, argc, 4, " \n");
    PointArray* points = pointArrayAt(L, 2);
    double tension = 0;
    uint32_t segments = 0;
    Color4F color;
    if (!points || !luaconv_read_number(L, 3, &tension) || !luaconv_read_uint32(L, 4, &segments) ||
        !luaconv_read_color4f(L, 5, &color)) {
        return 0;
    }
    self->drawCardinalSpline(points, static_cast<float>(tension), segments, color);
    return 0;
}

int lua_drawCatmullRom(lua_State* L) {
    constexpr const char* kName = "cc.DrawNode:drawCatmullRom";
    auto* self = checkSelf<DrawNode>(L, "cc.DrawNode", kName);
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, kName, argc, 3, " \n");
    PointArray* points = pointArrayAt(L, 2);
    uint32_t segments = 0;
    Color4F color;
    if (!points || !luaconv_read_uint32(L, 3, &segments) || !luaconv_read_color4f(L, 4, &color)) return 0;
    self->drawCatmullRom(points, segments, color);
    return 0;
}

}  // namespace

void register_draw_node_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"drawPolygon", lua_drawPolygon},
        {"drawSolidPoly", lua_drawSolidPoly},
        {"drawPoly", lua_drawPoly},
        {"drawCardinalSpline", lua_drawCardinalSpline},
        {"drawCatmullRom", lua_drawCatmullRom},
        {"drawPoints", lua_drawPoints},
    };
    addClassFunctions(L, "cc.DrawNode", functions);
}

}  // namespace bindings
