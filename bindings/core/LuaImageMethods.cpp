#include "bindings/core/LuaImageMethods.h"

#include <memory>
#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaBlendFunc.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/image/AutoPolygon.h"
#include "engine/renderer/PolygonInfo.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "scripting/LuaEngine.h"

namespace bindings {
namespace {

using engine::PolygonInfo;
using engine::Sprite;

bool isText(lua_State* L, int index) {
    const int type = lua_type(L, index);
    return type == LUA_TSTRING || type == LUA_TNUMBER;
}

std::string textAt(lua_State* L, int index) {
    size_t size = 0;
    const char* text = lua_tolstring(L, index, &size);
    return std::string(text, size);
}

int lua_Sprite_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc == 0 || (argc == 1 && lua_isnil(L, 2))) return pushResult(L, Sprite::create());
    Sprite* sprite = nullptr;
    if (argc == 1 && isText(L, 2)) {
        sprite = Sprite::create(textAt(L, 2));
    } else if (argc == 1) {
        auto* info = objectAt<PolygonInfo>(L, 2, "cc.PolygonInfo");
        if (!info) return countError(L, "cc.Sprite:create", argc, 2, "");
        sprite = Sprite::create(*info);
    } else if (argc == 2) {
        engine::Rect rect;
        if (!isText(L, 2) || !luaconv_read_rect(L, 3, &rect)) return countError(L, "cc.Sprite:create", argc, 2, "");
        sprite = Sprite::create(textAt(L, 2), rect);
    } else {
        return countError(L, "cc.Sprite:create", argc, 2, "");
    }
    return pushResult(L, sprite);
}

// The polygon info of a one-argument sprite method, raising its errors.
PolygonInfo* polygonArgument(lua_State* L, const char* luaName, const char* cName) {
    const int argc = argumentCount(L);
    if (argc != 1) countError(L, luaName, argc, 1, " \n");
    auto* info = objectAt<PolygonInfo>(L, 2, "cc.PolygonInfo");
    if (!info) luaL_error(L, "invalid arguments in function '%s'", cName);
    return info;
}

int lua_Sprite_initWithPolygon(lua_State* L) {
    Sprite* self = checkSelf<Sprite>(L, "cc.Sprite", "cc.Sprite:initWithPolygon");
    PolygonInfo* info = polygonArgument(L, "cc.Sprite:initWithPolygon", "lua_engine_Sprite_initWithPolygon");
    lua_pushboolean(L, self->initWithPolygon(*info) ? 1 : 0);
    return 1;
}

int lua_Sprite_setPolygonInfo(lua_State* L) {
    Sprite* self = checkSelf<Sprite>(L, "cc.Sprite", "cc.Sprite:setPolygonInfo");
    PolygonInfo* info = polygonArgument(L, "cc.Sprite:setPolygonInfo", "lua_engine_Sprite_setPolygonInfo");
    self->setPolygonInfo(*info);
    lua_settop(L, 1);
    return 1;
}

int lua_Texture2D_setTexParameters(lua_State* L) {
    auto* self = checkSelf<engine::Texture2D>(L, "cc.Texture2D", "cc.Texture2D:setTexParameters");
    const int argc = argumentCount(L);
    if (argc != 4) {
        return luaL_error(L, "'setTexParameters' function of Texture2D wrong number of arguments: %d, was expecting %d\n",
                          argc, 4);
    }
    uint32_t values[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (!luaconv_read_uint32(L, 2 + i, &values[i])) return 0;   // a failed read ends the call
    }
    engine::Texture2D::_TexParams params;
    params.minFilter = values[0];
    params.magFilter = values[1];
    params.wrapS = values[2];
    params.wrapT = values[3];
    self->setTexParameters(params);
    return 0;
}

// A completion's script function: released once, when the cache drops the
// completion (after calling it, or uncalled when the cache goes first).
class AsyncHandler {
public:
    explicit AsyncHandler(int handler) : _handler(handler) {}
    ~AsyncHandler() {
        if (engine::LuaEngine* luaEngine = scriptLuaEngine()) luaEngine->removeScriptHandler(_handler);
    }
    AsyncHandler(const AsyncHandler&) = delete;
    AsyncHandler& operator=(const AsyncHandler&) = delete;

    // The function with the texture (nil for none); the stack is left as found.
    void run(engine::Texture2D* texture) const {
        engine::LuaEngine* luaEngine = scriptLuaEngine();
        if (!luaEngine || !luaEngine->getLuaStack()) return;
        engine::LuaStack* stack = luaEngine->getLuaStack();
        lua_State* L = stack->getLuaState();
        const int top = lua_gettop(L);
        stack->pushObject(texture, "cc.Texture2D");
        stack->executeFunctionByHandler(_handler, 1);
        lua_settop(L, top);
    }

private:
    int _handler;
};

int lua_TextureCache_addImageAsync(lua_State* L) {
    auto* self = checkSelf<engine::TextureCache>(L, "cc.TextureCache", "cc.TextureCache:addImageAsync");
    const int argc = argumentCount(L);
    if (argc != 2) {
        return luaL_error(L, "%s function of TextureCache has wrong number of arguments: %d, was expecting %d\n",
                          "cc.TextureCache:addImageAsync", argc, 1);
    }
    // A path or callback that does not read ends the call without a value.
    if (!isText(L, 2) || lua_type(L, 3) != LUA_TFUNCTION) return 0;
    const int handler = handlerAt(L, 3);
    auto holder = std::make_shared<AsyncHandler>(handler);
    self->addImageAsync(textAt(L, 2), [holder](engine::Texture2D* texture) { holder->run(texture); });
    return 0;
}

int lua_AutoPolygon_generatePolygon(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 1 || argc > 4) return countError(L, "cc.AutoPolygon:generatePolygon", argc, 1, "\n ");
    engine::Rect rect;
    double epsilon = engine::AutoPolygon::kDefaultEpsilon;
    double threshold = engine::AutoPolygon::kDefaultThreshold;
    const bool read = (isText(L, 2) || lua_isnil(L, 2)) && (argc < 2 || luaconv_read_rect(L, 3, &rect)) &&
                      (argc < 3 || luaconv_read_number(L, 4, &epsilon)) &&
                      (argc < 4 || luaconv_read_number(L, 5, &threshold));
    if (!read) return luaL_error(L, "invalid arguments in function 'lua_engine_AutoPolygon_generatePolygon'");
    const std::string file = lua_isnil(L, 2) ? std::string() : textAt(L, 2);
    auto* info = new PolygonInfo(engine::AutoPolygon::generatePolygon(file, rect, static_cast<float>(epsilon),
                                                                      static_cast<float>(threshold)));
    return pushResult(L, ScriptOwned<PolygonInfo>{info});
}

}  // namespace

void register_auto_polygon_manual(lua_State* L) {
    const ClassFunction functions[] = {{"generatePolygon", lua_AutoPolygon_generatePolygon}};
    addClassFunctions(L, "cc.AutoPolygon", functions);
}

void register_sprite_polygon_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"initWithPolygon", lua_Sprite_initWithPolygon},
        {"setPolygonInfo", lua_Sprite_setPolygonInfo},
        {"create", lua_Sprite_create},
    };
    addClassFunctions(L, "cc.Sprite", functions);
}

void register_texture_manual(lua_State* L) {
    const ClassFunction functions[] = {{"setTexParameters", lua_Texture2D_setTexParameters}};
    addClassFunctions(L, "cc.Texture2D", functions);
}

void register_texture_cache_manual(lua_State* L) {
    const ClassFunction functions[] = {{"addImageAsync", lua_TextureCache_addImageAsync}};
    addClassFunctions(L, "cc.TextureCache", functions);
}

}  // namespace bindings
