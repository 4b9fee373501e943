#include "bindings/core/LuaMathGlobals.h"

#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/base/Mat4.h"
#include "engine/base/Utils.h"
#include "engine/scene/Node.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaRecordConversions.h"

namespace bindings {
namespace {

using engine::Mat4;
using engine::Quaternion;
using engine::Vec3;
using engine::Vec4;

bool readNumber(lua_State* L, int index, float* out) {
    double value = 0;
    if (!luaconv_read_number(L, index, &value)) return false;
    *out = static_cast<float>(value);
    return true;
}

int pushMat4(lua_State* L, const Mat4& m) {
    luaconv_push_mat4(L, m);
    return 1;
}

int mat4_getInversed(lua_State* L) {
    Mat4 m;
    if (!luaconv_read_mat4(L, 1, &m)) return 0;
    return pushMat4(L, m.getInversed());
}

int mat4_multiply(lua_State* L) {
    Mat4 a, b;
    if (!luaconv_read_mat4(L, 1, &a) || !luaconv_read_mat4(L, 2, &b)) return 0;
    return pushMat4(L, a * b);
}

int mat4_setIdentity(lua_State* L) {
    Mat4 m;
    if (lua_gettop(L) != 1 || !luaconv_read_mat4(L, 1, &m)) return 0;
    return pushMat4(L, Mat4::IDENTITY);
}

int mat4_translate(lua_State* L) {
    Mat4 m;
    Vec3 t;
    if (lua_gettop(L) != 2 || !luaconv_read_mat4(L, 1, &m) || !luaconv_read_vec3(L, 2, &t)) return 0;
    m.translate(t);
    return pushMat4(L, m);
}

int mat4_createRotationZ(lua_State* L) {
    Mat4 m;
    float angle = 0;
    if (lua_gettop(L) != 2 || !luaconv_read_mat4(L, 1, &m) || !readNumber(L, 2, &angle)) return 0;
    Mat4::createRotationZ(angle, &m);
    return pushMat4(L, m);
}

int mat4_createTranslation(lua_State* L) {
    Mat4 m;
    Vec3 t;
    const int argc = lua_gettop(L);
    if (argc == 2) {
        if (!luaconv_read_vec3(L, 1, &t) || !luaconv_read_mat4(L, 2, &m)) return 0;
    } else if (argc == 4) {
        if (!readNumber(L, 1, &t.x) || !readNumber(L, 2, &t.y) || !readNumber(L, 3, &t.z) ||
            !luaconv_read_mat4(L, 4, &m)) {
            return 0;
        }
    } else {
        return 0;
    }
    Mat4::createTranslation(t, &m);
    return pushMat4(L, m);
}

int mat4_createRotation(lua_State* L) {
    Mat4 m;
    const int argc = lua_gettop(L);
    if (argc == 2) {
        Quaternion q;
        if (!luaconv_read_quaternion(L, 1, &q) || !luaconv_read_mat4(L, 2, &m)) return 0;
        Mat4::createRotation(q, &m);
    } else if (argc == 3) {
        Vec3 axis;
        float angle = 0;
        if (!luaconv_read_vec3(L, 1, &axis) || !readNumber(L, 2, &angle) || !luaconv_read_mat4(L, 3, &m)) return 0;
        Mat4::createRotation(axis, angle, &m);
    } else {
        return 0;
    }
    return pushMat4(L, m);
}

int mat4_transformVector(lua_State* L) {
    Mat4 m;
    const int argc = lua_gettop(L);
    if (!luaconv_read_mat4(L, 1, &m)) return 0;
    if (argc == 3) {
        Vec4 v, dst;
        if (!luaconv_read_vec4(L, 2, &v) || !luaconv_read_vec4(L, 3, &dst)) return 0;
        m.transformVector(v, &dst);
        luaconv_push_vec4(L, dst);
        return 1;
    }
    if (argc == 6) {
        float x = 0, y = 0, z = 0, w = 0;
        Vec3 dst;
        if (!readNumber(L, 2, &x) || !readNumber(L, 3, &y) || !readNumber(L, 4, &z) || !readNumber(L, 5, &w) ||
            !luaconv_read_vec3(L, 6, &dst)) {
            return 0;
        }
        m.transformVector(x, y, z, w, &dst);
        luaconv_push_vec3(L, dst);
        return 1;
    }
    return 0;
}

int mat4_decompose(lua_State* L) {
    Mat4 m;
    if (!luaconv_read_mat4(L, 1, &m)) return 0;
    const bool wantScale = !lua_isnil(L, 2), wantRotation = !lua_isnil(L, 3), wantTranslation = !lua_isnil(L, 4);
    Vec3 scale, translation;
    Quaternion rotation;
    if ((wantScale && !luaconv_read_vec3(L, 2, &scale)) || (wantRotation && !luaconv_read_quaternion(L, 3, &rotation)) ||
        (wantTranslation && !luaconv_read_vec3(L, 4, &translation))) {
        return 0;
    }
    if (!wantScale && !wantRotation && !wantTranslation) return 0;
    m.decompose(wantScale ? &scale : nullptr, wantRotation ? &rotation : nullptr,
                wantTranslation ? &translation : nullptr);
    lua_newtable(L);
    lua_pushstring(L, "scale");
    if (wantScale) luaconv_push_vec3(L, scale); else lua_pushnil(L);
    lua_rawset(L, -3);
    lua_pushstring(L, "rotation");
    if (wantRotation) luaconv_push_quaternion(L, rotation); else lua_pushnil(L);
    lua_rawset(L, -3);
    lua_pushstring(L, "translation");
    if (wantTranslation) luaconv_push_vec3(L, translation); else lua_pushnil(L);
    lua_rawset(L, -3);
    return 1;
}

int vec3_cross(lua_State* L) {
    const int argc = lua_gettop(L);
    Vec3 a, b;
    if ((argc != 2 && argc != 3) || !luaconv_read_vec3(L, 1, &a) || !luaconv_read_vec3(L, 2, &b)) return 0;
    luaconv_push_vec3(L, a.cross(b));
    return 1;
}

// The completion of a capture: (succeeded, path) to the handler, which is
// released after this one call; the stack is left as it was found.
void afterCapture(int handler, bool succeeded, const std::string& path) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine || !luaEngine->getLuaStack()) return;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    lua_pushboolean(L, succeeded ? 1 : 0);
    lua_pushlstring(L, path.data(), path.size());
    stack->executeFunctionByHandler(handler, 2);
    lua_settop(L, top);
    luaEngine->removeScriptHandler(handler);
}

int utils_captureScreen(lua_State* L) {
    const char* file = luaconv_to_cstring(L, 3, "");
    const int handler = handlerAt(L, 2);
    engine::utils::captureScreen([handler](bool ok, const std::string& path) { afterCapture(handler, ok, path); },
                                 file ? file : "");
    return 0;
}

int utils_findChildren(lua_State* L) {
    engine::Node* node = objectAt<engine::Node>(L, 2, "cc.Node");
    const char* name = luaconv_to_cstring(L, 3, "");
    lua_newtable(L);
    if (!node) return 1;
    int index = 1;
    for (engine::Node* child : engine::utils::findChildren(*node, name ? name : "")) {
        luaconv_push_object(L, "cc.Node", child);
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

}  // namespace

int register_utils_module(lua_State* L) {
    if (!L) return 0;
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    tolua_module(L, "utils", 0);
    tolua_beginmodule(L, "utils");
    tolua_function(L, "captureScreen", utils_captureScreen);
    tolua_function(L, "findChildren", utils_findChildren);
    tolua_endmodule(L);
    tolua_endmodule(L);
    tolua_endmodule(L);
    return 0;
}

int register_math_globals(lua_State* L) {
    if (!L) return 0;
    const luaL_Reg functions[] = {
        {"mat4_getInversed", mat4_getInversed},         {"mat4_transformVector", mat4_transformVector},
        {"mat4_decompose", mat4_decompose},             {"mat4_multiply", mat4_multiply},
        {"mat4_translate", mat4_translate},             {"mat4_createRotationZ", mat4_createRotationZ},
        {"mat4_setIdentity", mat4_setIdentity},         {"mat4_createTranslation", mat4_createTranslation},
        {"mat4_createRotation", mat4_createRotation},   {"vec3_cross", vec3_cross},
    };
    for (const luaL_Reg& entry : functions) {
        lua_pushcfunction(L, entry.func);
        lua_setfield(L, LUA_GLOBALSINDEX, entry.name);
    }
    return 0;
}

}  // namespace bindings
