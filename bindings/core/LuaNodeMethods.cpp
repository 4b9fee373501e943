#include "bindings/core/LuaNodeMethods.h"

#include <functional>
#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/actions/ActionCamera.h"
#include "engine/base/UserDefault.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/Node.h"
#include "scripting/LuaEngine.h"

namespace bindings {
namespace {

constexpr const char* kBlankEnd = " \n";

engine::Node* node(lua_State* L, const char* luaName) { return checkSelf<engine::Node>(L, "cc.Node", luaName); }

// Calls the handler with the node; true when it answers true or a non-zero number.
bool visitWithHandler(int handler, engine::Node* visited) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine || !luaEngine->getLuaStack() || handler == 0) return false;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    stack->pushObject(visited, "cc.Node");
    return stack->executeFunctionByHandler(handler, 1) != 0;
}

int lua_enumerateChildren(lua_State* L) {
    engine::Node* self = node(L, "cc.Node:enumerateChildren");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "enumerateChildren", argc, 2, kBlankEnd);
    TextArgument path;
    if (!readArgument(L, 2, &path)) return 0;
    const int handler = handlerAt(L, 3);
    lua_settop(L, 1);
    {
        const std::string name = path;
        self->enumerateChildren(name, [handler](engine::Node* visited) { return visitWithHandler(handler, visited); });
    }
    if (handler != 0) {
        if (engine::LuaEngine* luaEngine = scriptLuaEngine()) {
            luaEngine->removeScriptHandler(handler);
        } else {
            toluafix_removeFunctionByRefid(L, handler);
        }
    }
    return 1;
}

int lua_setAdditionalTransform(lua_State* L) {
    engine::Node* self = node(L, "cc.Node:setAdditionalTransform");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Node:setAdditionalTransform", argc, 1, kBlankEnd);
    engine::AffineTransform affine;
    engine::Mat4 matrix;
    if (luaconv_read_mat4(L, 2, &matrix, "cc.Node:setAdditionalTransform")) {
        self->setAdditionalTransform(&matrix);
    } else if (luaconv_read_affine_transform(L, 2, &affine, "cc.Node:setAdditionalTransform")) {
        self->setAdditionalTransform(affine);
    } else {
        return countError(L, "cc.Node:setAdditionalTransform", argc, 1, kBlankEnd);
    }
    lua_settop(L, 1);
    return 1;
}

int lua_setRotationQuat(lua_State* L) {
    engine::Node* self = node(L, "cc.Node:setRotationQuat");
    const int argc = argumentCount(L);
    engine::Quaternion rotation;
    if (argc != 1 || !luaconv_read_quaternion(L, 2, &rotation, "cc.Node:setRotationQuat"))
        return countError(L, "cc.Node:setRotationQuat", argc, 1, kBlankEnd);
    self->setRotationQuat(rotation);
    lua_settop(L, 1);
    return 1;
}

int lua_getPosition(lua_State* L) {
    engine::Node* self = node(L, "cc.Node:getPosition");
    const int argc = argumentCount(L);
    if (argc > 2)
        return luaL_error(L, "%s function in Node has wrong number of arguments: %d, was expecting %d\n",
                          "cc.Node:getPosition", argc, 0);
    lua_pushnumber(L, static_cast<lua_Number>(self->getPositionX()));
    lua_pushnumber(L, static_cast<lua_Number>(self->getPositionY()));
    return 2;
}

// setAnchorPoint and setContentSize: a table, or two numbers.
template <class Value, bool (*Read)(lua_State*, int, Value*, const char*), void (engine::Node::*Set)(const Value&),
          const char* LuaName>
int lua_setPair(lua_State* L) {
    engine::Node* self = node(L, LuaName);
    const int argc = argumentCount(L);
    Value value;
    if (argc == 1) {
        if (!Read(L, 2, &value, LuaName)) return 0;
    } else if (argc == 2) {
        double first = 0, second = 0;
        if (!luaconv_read_number(L, 2, &first, LuaName) || !luaconv_read_number(L, 3, &second, LuaName)) return 0;
        value = Value(static_cast<float>(first), static_cast<float>(second));
    } else {
        return countError(L, LuaName, argc, 1, kBlankEnd);
    }
    (self->*Set)(value);
    lua_settop(L, 1);
    return 1;
}
constexpr char kSetAnchorPoint[] = "cc.Node:setAnchorPoint";
constexpr char kSetContentSize[] = "cc.Node:setContentSize";

int lua_sphericalRadius(lua_State* L) {
    auto* camera = checkSelf<engine::OrbitCamera>(L, "cc.OrbitCamera", "cc.OrbitCamera:sphericalRadius");
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, "cc.OrbitCamera:sphericalRadius", argc, 3, kBlankEnd);
    double values[3] = {};
    for (int i = 0; i < 3; ++i)
        if (!luaconv_read_number(L, 2 + i, &values[i], "cc.OrbitCamera:sphericalRadius")) return 0;
    float radius = static_cast<float>(values[0]), zenith = static_cast<float>(values[1]),
          azimuth = static_cast<float>(values[2]);
    camera->sphericalRadius(&radius, &zenith, &azimuth);
    lua_pushnumber(L, radius);
    lua_pushnumber(L, zenith);
    lua_pushnumber(L, azimuth);
    return 3;
}

int lua_getStringFromFile(lua_State* L) {
    auto* files = checkSelf<engine::FileUtils>(L, "cc.FileUtils", "cc.FileUtils:getStringFromFile");
    const int argc = argumentCount(L);
    TextArgument name;
    if (argc != 1 || !readArgument(L, 2, &name)) return countError(L, "cc.FileUtils:getStringFromFile", argc, 1);
    const std::string text = files->getStringFromFile(files->fullPathForFilename(name));
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}

int lua_userDefaultGetInstance(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.UserDefault:getInstance", argc, 0);
    luaconv_push_usertype(L, "cc.UserDefault", engine::UserDefault::getInstance());
    return 1;
}

}  // namespace

void register_node_geometry_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"enumerateChildren", lua_enumerateChildren},
        {"setAdditionalTransform", lua_setAdditionalTransform},
        {"setRotationQuat", lua_setRotationQuat},
        {"getPosition", lua_getPosition},
        {"setAnchorPoint",
         lua_setPair<engine::Vec2, luaconv_read_vec2, &engine::Node::setAnchorPoint, kSetAnchorPoint>},
        {"setContentSize",
         lua_setPair<engine::Size, luaconv_read_size, &engine::Node::setContentSize, kSetContentSize>},
    };
    addClassFunctions(L, "cc.Node", functions);
}

void register_orbit_camera_manual(lua_State* L) {
    const ClassFunction functions[] = {{"sphericalRadius", lua_sphericalRadius}};
    addClassFunctions(L, "cc.OrbitCamera", functions);
}

void register_file_utils_manual(lua_State* L) {
    const ClassFunction functions[] = {{"getStringFromFile", lua_getStringFromFile}};
    addClassFunctions(L, "cc.FileUtils", functions);
}

void register_user_default_manual(lua_State* L) {
    const ClassFunction functions[] = {{"getInstance", lua_userDefaultGetInstance}};
    addClassFunctions(L, "cc.UserDefault", functions);
}

}  // namespace bindings
