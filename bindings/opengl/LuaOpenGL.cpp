#include "bindings/opengl/LuaOpenGL.h"

#include <tolua++.h>

#include <cstdint>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/opengl/GLNode.h"
#include "bindings/opengl/LuaGLTable.h"
#include "engine/actions/PointArray.h"
#include "engine/renderer/DrawPrimitives.h"
#include "engine/renderer/GLProgram.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {
namespace {

namespace DP = engine::DrawPrimitives;
using engine::ScriptHandlerMgr;

constexpr const char* kGLNode = "cc.GLNode";

// ---- cc.GLNode

int lua_GLNode_create(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertable(L, 1, kGLNode, 0, &err) || !tolua_isnoobj(L, 2, &err)) {
        tolua_error(L, "#ferror in function 'create'.", &err);
        return 0;
    }
    GLNode* node = GLNode::create();
    if (!node) return 0;
    luaconv_push_object(L, kGLNode, node);
    return 1;
}

int lua_GLNode_setShaderProgram(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kGLNode, 0, &err) || !tolua_isusertype(L, 2, "cc.GLProgram", 0, &err) ||
        !tolua_isnoobj(L, 3, &err)) {
        tolua_error(L, "#ferror in function 'setShaderProgram'.", &err);
        return 0;
    }
    auto* node = objectAt<GLNode>(L, 1, kGLNode);
    if (!node) return luaL_error(L, "invalid 'self' in function 'setShaderProgram'");
    node->setGLProgram(objectAt<engine::GLProgram>(L, 2, "cc.GLProgram"));
    return 0;
}

int lua_GLNode_registerScriptDrawHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kGLNode, 0, &err) || !toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err) ||
        !tolua_isnoobj(L, 3, &err)) {
        tolua_error(L, "#ferror in function 'registerScriptDrawHandler'.", &err);
        return 0;
    }
    auto* node = objectAt<GLNode>(L, 1, kGLNode);
    if (!node) return luaL_error(L, "invalid 'self' in function 'registerScriptDrawHandler'");
    const int handler = toluafix_refFunction(L, 2, 0);
    ScriptHandlerMgr::getInstance()->addObjectHandler(node, handler, ScriptHandlerMgr::HandlerType::GL_NODE_DRAW);
    return 0;
}

int lua_GLNode_unregisterScriptDrawHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kGLNode, 0, &err) || !tolua_isnoobj(L, 2, &err)) {
        tolua_error(L, "#ferror in function 'unregisterScriptDrawHandler'.", &err);
        return 0;
    }
    auto* node = objectAt<GLNode>(L, 1, kGLNode);
    if (!node) return luaL_error(L, "invalid 'self' in function 'unregisterScriptDrawHandler'");
    ScriptHandlerMgr::getInstance()->removeObjectHandler(node, ScriptHandlerMgr::HandlerType::GL_NODE_DRAW);
    return 0;
}

// ---- cc.DrawPrimitives

// The argument kinds of the checks: P point, L point list, C colour, N number,
// B boolean or nil, O an optional number (only checked when present).
bool argumentsAre(lua_State* L, const char* kinds, tolua_Error* err) {
    int index = 1;
    for (const char* k = kinds; *k; ++k, ++index) {
        bool ok = true;
        switch (*k) {
            case 'P':
            case 'L':
            case 'C': ok = tolua_istable(L, index, 0, err); break;
            case 'N': ok = tolua_isnumber(L, index, 0, err); break;
            case 'B': ok = tolua_isboolean(L, index, 1, err) || lua_isnil(L, index); break;
            case 'O': ok = lua_gettop(L) < index || tolua_isnumber(L, index, 0, err); break;
        }
        if (!ok) return false;
    }
    return tolua_isnoobj(L, index, err);
}

// Raises the member's argument error unless the arguments are of those kinds.
void checkArguments(lua_State* L, const char* kinds, const char* error) {
    tolua_Error err;
    if (!argumentsAre(L, kinds, &err)) tolua_error(L, error, &err);
}

unsigned wholeAt(lua_State* L, int index) {
    uint32_t value = 0;
    return luaconv_read_uint32(L, index, &value) ? value : 0;
}
float floatAt(lua_State* L, int index) { return static_cast<float>(numberAt(L, index)); }

// The points of a polygon member: entries 1..count of the list in argument 1.
// Every entry is checked to be a table before anything is allocated (a failed
// check raises the member's error naming the entry); false when an entry does
// not read as a point.
bool polygonPoints(lua_State* L, unsigned count, const char* error, std::vector<engine::Vec2>* points) {
    for (unsigned i = 1; i <= count; ++i) {
        lua_rawgeti(L, 1, static_cast<int>(i));
        tolua_Error err;
        if (!tolua_istable(L, -1, 0, &err)) tolua_error(L, error, &err);
        lua_pop(L, 1);
    }
    points->resize(count);
    for (unsigned i = 1; i <= count; ++i) {
        lua_rawgeti(L, 1, static_cast<int>(i));
        const bool read = luaconv_read_vec2(L, lua_gettop(L), &(*points)[i - 1]);
        lua_pop(L, 1);
        if (!read) return false;
    }
    return true;
}

// The whole list in argument 1 as an engine point array; null when an entry is
// not a table.
engine::PointArray* splinePoints(lua_State* L) {
    engine::Vec2* read = nullptr;
    int count = 0;
    if (!luaconv_read_vec2_array(L, 1, &read, &count)) return nullptr;
    engine::PointArray* points = engine::PointArray::create(count);
    for (int i = 0; i < count; ++i) points->addControlPoint(read[i]);
    delete[] read;
    return points;
}

int lua_drawPoint(lua_State* L) {
    checkArguments(L, "P", "#ferror in function 'drawPoint'.");
    engine::Vec2 p;
    if (luaconv_read_vec2(L, 1, &p)) DP::drawPoint(p);
    return 0;
}

int lua_drawPoints(lua_State* L) {
    const char* error = "#ferror in function 'drawPoints'.";
    checkArguments(L, "LN", error);
    const unsigned count = wholeAt(L, 2);
    if (count == 0) return 0;
    std::vector<engine::Vec2> points;
    if (polygonPoints(L, count, error, &points)) DP::drawPoints(points.data(), count);
    return 0;
}

int lua_drawLine(lua_State* L) {
    checkArguments(L, "PP", "#ferror in function 'drawLine'.");
    engine::Vec2 p, q;
    if (luaconv_read_vec2(L, 1, &p) && luaconv_read_vec2(L, 2, &q)) DP::drawLine(p, q);
    return 0;
}

int lua_drawRect(lua_State* L) {
    checkArguments(L, "PP", "#ferror in function 'drawRect'.");
    engine::Vec2 p, q;
    if (luaconv_read_vec2(L, 1, &p) && luaconv_read_vec2(L, 2, &q)) DP::drawRect(p, q);
    return 0;
}

int lua_drawSolidRect(lua_State* L) {
    checkArguments(L, "PPC", "#ferror in function 'drawSolidRect'.");
    engine::Vec2 p, q;
    engine::Color4F color;
    if (luaconv_read_vec2(L, 1, &p) && luaconv_read_vec2(L, 2, &q) && luaconv_read_color4f(L, 3, &color))
        DP::drawSolidRect(p, q, color);
    return 0;
}

int lua_drawPoly(lua_State* L) {
    const char* error = "#ferror in function 'ccDrawPoly'.";
    checkArguments(L, "LNB", error);
    const unsigned count = wholeAt(L, 2);
    if (count == 0) return 0;
    const bool closed = truthAt(L, 3);
    std::vector<engine::Vec2> points;
    if (polygonPoints(L, count, error, &points)) DP::drawPoly(points.data(), count, closed);
    return 0;
}

int lua_drawSolidPoly(lua_State* L) {
    const char* error = "#ferror in function 'drawSolidPoly'.";
    checkArguments(L, "LNC", error);
    const unsigned count = wholeAt(L, 2);
    if (count == 0) return 0;
    std::vector<engine::Vec2> points;
    engine::Color4F color;
    if (polygonPoints(L, count, error, &points) && luaconv_read_color4f(L, 3, &color))
        DP::drawSolidPoly(points.data(), count, color);
    return 0;
}

int lua_drawCircle(lua_State* L) {
    checkArguments(L, "PNNNBOO", "#ferror in function 'drawCircle'.");
    engine::Vec2 center;
    if (!luaconv_read_vec2(L, 1, &center)) return 0;
    const float scaleX = lua_gettop(L) >= 6 ? floatAt(L, 6) : 1.f;
    const float scaleY = lua_gettop(L) >= 7 ? floatAt(L, 7) : 1.f;
    DP::drawCircle(center, floatAt(L, 2), floatAt(L, 3), wholeAt(L, 4), truthAt(L, 5), scaleX, scaleY);
    return 0;
}

int lua_drawSolidCircle(lua_State* L) {
    checkArguments(L, "PNNNOO", "#ferror in function 'drawSolidCircle'.");
    engine::Vec2 center;
    if (!luaconv_read_vec2(L, 1, &center)) return 0;
    const float scaleX = lua_gettop(L) >= 5 ? floatAt(L, 5) : 1.f;
    const float scaleY = lua_gettop(L) >= 6 ? floatAt(L, 6) : 1.f;
    DP::drawSolidCircle(center, floatAt(L, 2), floatAt(L, 3), wholeAt(L, 4), scaleX, scaleY);
    return 0;
}

int lua_drawQuadBezier(lua_State* L) {
    checkArguments(L, "PPPN", "#ferror in function 'drawQuadBezier'.");
    engine::Vec2 p, control, q;
    if (luaconv_read_vec2(L, 1, &p) && luaconv_read_vec2(L, 2, &control) && luaconv_read_vec2(L, 3, &q))
        DP::drawQuadBezier(p, control, q, wholeAt(L, 4));
    return 0;
}

int lua_drawCubicBezier(lua_State* L) {
    checkArguments(L, "PPPPN", "#ferror in function 'drawCubicBezier'.");
    engine::Vec2 p, c1, c2, q;
    if (luaconv_read_vec2(L, 1, &p) && luaconv_read_vec2(L, 2, &c1) && luaconv_read_vec2(L, 3, &c2) &&
        luaconv_read_vec2(L, 4, &q))
        DP::drawCubicBezier(p, c1, c2, q, wholeAt(L, 5));
    return 0;
}

int lua_drawCatmullRom(lua_State* L) {
    checkArguments(L, "LN", "#ferror in function 'drawCatmullRom'.");
    if (engine::PointArray* points = splinePoints(L)) DP::drawCatmullRom(points, wholeAt(L, 2));
    return 0;
}

int lua_drawCardinalSpline(lua_State* L) {
    checkArguments(L, "LNN", "#ferror in function 'drawCardinalSpline'.");
    if (engine::PointArray* points = splinePoints(L)) DP::drawCardinalSpline(points, floatAt(L, 2), wholeAt(L, 3));
    return 0;
}

int lua_drawColor4B(lua_State* L) {
    checkArguments(L, "NNNN", "#ferror in function 'drawColor4B'.");
    DP::setDrawColor4B(static_cast<uint8_t>(wholeAt(L, 1)), static_cast<uint8_t>(wholeAt(L, 2)),
                       static_cast<uint8_t>(wholeAt(L, 3)), static_cast<uint8_t>(wholeAt(L, 4)));
    return 0;
}

int lua_drawColor4F(lua_State* L) {
    checkArguments(L, "NNNN", "#ferror in function 'drawColor4F'.");
    DP::setDrawColor4F(floatAt(L, 1), floatAt(L, 2), floatAt(L, 3), floatAt(L, 4));
    return 0;
}

int lua_setPointSize(lua_State* L) {
    checkArguments(L, "N", "#ferror in function 'setPointSize'.");
    DP::setPointSize(floatAt(L, 1));
    return 0;
}

}  // namespace

int register_opengl_bindings(lua_State* L) {
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    luaconv_register_class<GLNode>(L, "GLNode", kGLNode, "cc.Node");
    tolua_beginmodule(L, "GLNode");
    tolua_function(L, "create", lua_GLNode_create);
    tolua_function(L, "setShaderProgram", lua_GLNode_setShaderProgram);
    tolua_endmodule(L);
    tolua_module(L, "DrawPrimitives", 0);
    tolua_beginmodule(L, "DrawPrimitives");
    tolua_function(L, "drawPoint", lua_drawPoint);
    tolua_function(L, "drawPoints", lua_drawPoints);
    tolua_function(L, "drawLine", lua_drawLine);
    tolua_function(L, "drawRect", lua_drawRect);
    tolua_function(L, "drawSolidRect", lua_drawSolidRect);
    tolua_function(L, "drawPoly", lua_drawPoly);
    tolua_function(L, "drawSolidPoly", lua_drawSolidPoly);
    tolua_function(L, "drawCircle", lua_drawCircle);
    tolua_function(L, "drawSolidCircle", lua_drawSolidCircle);
    tolua_function(L, "drawQuadBezier", lua_drawQuadBezier);
    tolua_function(L, "drawCubicBezier", lua_drawCubicBezier);
    tolua_function(L, "drawCatmullRom", lua_drawCatmullRom);
    tolua_function(L, "drawCardinalSpline", lua_drawCardinalSpline);
    tolua_function(L, "drawColor4B", lua_drawColor4B);
    tolua_function(L, "drawColor4F", lua_drawColor4F);
    tolua_function(L, "setPointSize", lua_setPointSize);
    tolua_endmodule(L);
    tolua_endmodule(L);
    register_gl_module(L);
    tolua_endmodule(L);
    return 1;
}

int register_glnode_draw_handler_methods(lua_State* L) {
    if (!L) return 0;
    lua_pushstring(L, kGLNode);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        lua_pushstring(L, "registerScriptDrawHandler");
        lua_pushcfunction(L, lua_GLNode_registerScriptDrawHandler);
        lua_rawset(L, -3);
        lua_pushstring(L, "unregisterScriptDrawHandler");
        lua_pushcfunction(L, lua_GLNode_unregisterScriptDrawHandler);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
    return 1;
}

}  // namespace bindings
