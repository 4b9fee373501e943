#include "bindings/core/LuaGeometryDevice.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "engine/input/Touch.h"
#include "engine/scene/Camera.h"

namespace bindings {
namespace {

int lua_cameraUnproject(lua_State* L) {
    auto* camera = checkSelf<engine::Camera>(L, "cc.Camera", "cc.Camera:unproject");
    const int argc = argumentCount(L);
    if (argc == 1) {
        engine::Vec3 point;
        if (!luaconv_read_vec3(L, 2, &point, "cc.Camera:unproject"))
            return luaL_error(L, "invalid arguments in function 'lua_engine_Camera_project'");
        luaconv_push_vec3(L, camera->unproject(point));
        return 1;
    }
    if (argc == 3) {
        engine::Size viewport;
        engine::Vec3 src, dst;
        if (!luaconv_read_size(L, 2, &viewport, "cc.Camera:unproject") ||
            !luaconv_read_vec3(L, 3, &src, "cc.Camera:unproject") ||
            !luaconv_read_vec3(L, 4, &dst, "cc.Camera:unproject")) {
            return 0;
        }
        camera->unproject(viewport, &src, &dst);
        luaconv_push_vec3(L, dst);
        return 1;
    }
    return countError(L, "cc.Camera:unproject", argc, 3, " \n");
}

int lua_getAllTouches(lua_State* L) {
    auto* view = checkSelf<engine::GLView>(L, "cc.GLView", "cc.GLView:getAllTouches");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.GLView:getAllTouches", argc, 0, " \n");
    lua_newtable(L);
    int index = 1;
    for (engine::Touch* touch : view->getAllTouches()) {
        if (!touch) continue;
        luaconv_push_object(L, "cc.Touch", touch);
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

// Neither 64-bit device query applies on this platform.
template <const char* LuaName>
int lua_iosQuery(lua_State* L) {
    checkSelf<engine::Application>(L, "cc.Application", LuaName);
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, LuaName, argc, 0, " \n");
    lua_pushboolean(L, 0);
    return 1;
}
constexpr char kIsIOS64bit[] = "cc.Application:isIOS64bit";
constexpr char kIs64BitIOSDevice[] = "cc.Application:is64BitIOSDevice";

}  // namespace

void register_camera_manual(lua_State* L) {
    const ClassFunction functions[] = {{"unproject", lua_cameraUnproject}};
    addClassFunctions(L, "cc.Camera", functions);
}

void register_glview_manual(lua_State* L) {
    const ClassFunction functions[] = {{"getAllTouches", lua_getAllTouches}};
    addClassFunctions(L, "cc.GLView", functions);
}

void register_application_manual(lua_State* L) {
    const ClassFunction functions[] = {{"isIOS64bit", lua_iosQuery<kIsIOS64bit>},
                                       {"is64BitIOSDevice", lua_iosQuery<kIs64BitIOSDevice>}};
    addClassFunctions(L, "cc.Application", functions);
}

}  // namespace bindings
