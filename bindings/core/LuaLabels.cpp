#include "bindings/core/LuaLabels.h"

#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/label/Label.h"
#include "engine/label/TTFConfig.h"

namespace bindings {
namespace {

constexpr const char* kCreateWithTTF = "cc.Label:createWithTTF";

bool isNilOr(lua_State* L, int index, int type) { return lua_isnoneornil(L, index) || lua_type(L, index) == type; }

// text, font file, font size [, dimensions [, h [, v]]] with exactly those types.
bool isFileForm(lua_State* L, int argc) {
    tolua_Error err;
    return tolua_isusertable(L, 1, "cc.Label", 0, &err) && argc >= 3 && argc <= 6 &&
           lua_type(L, 2) == LUA_TSTRING && lua_type(L, 3) == LUA_TSTRING && lua_type(L, 4) == LUA_TNUMBER &&
           isNilOr(L, 5, LUA_TTABLE) && isNilOr(L, 6, LUA_TNUMBER) && isNilOr(L, 7, LUA_TNUMBER);
}

int pushLabel(lua_State* L, engine::Label* label) {
    if (label) {
        luaconv_push_object(L, "cc.Label", label);
    } else {
        lua_pushnil(L);
    }
    return 1;
}

int lua_createWithTTF(lua_State* L) {
    const int argc = argumentCount(L);
    if (isFileForm(L, argc)) {
        engine::Size dimensions;
        if (lua_istable(L, 5) && !luaconv_read_size(L, 5, &dimensions, kCreateWithTTF)) dimensions = engine::Size();
        const double size = lua_tonumber(L, 4);
        const int32_t h = intAt(L, 6), v = intAt(L, 7);
        size_t textSize = 0, fileSize = 0;
        const char* text = lua_tolstring(L, 2, &textSize);
        const char* file = lua_tolstring(L, 3, &fileSize);
        engine::Label* label =
            engine::Label::createWithTTF(std::string(text, textSize), std::string(file, fileSize),
                                         static_cast<float>(size), dimensions, hAlignmentOf(h), vAlignmentOf(v));
        return pushLabel(L, label);
    }
    if (argc < 2 || argc > 4) return countError(L, kCreateWithTTF, argc, 2, "\n ");
    TextArgument text;
    if (!lua_istable(L, 2) || !readArgument(L, 3, &text)) return 0;
    const int32_t h = argc >= 3 ? intAt(L, 4) : 1;
    const int32_t maxLineWidth = argc >= 4 ? intAt(L, 5) : 0;
    lua_pushstring(L, "fontSize");
    lua_rawget(L, 2);
    const bool sized = !lua_isnil(L, -1);
    lua_pop(L, 1);
    engine::Label* label = nullptr;
    {
        engine::TTFConfig config;
        if (!luaconv_read_ttf_config(L, 2, &config, kCreateWithTTF)) return 0;
        if (!sized) config.fontSize = 12;   // the reader's own default is 0
        label = engine::Label::createWithTTF(config, text, hAlignmentOf(h), maxLineWidth);
    }
    return pushLabel(L, label);
}

// cc.Label:setTTFConfig(config): true when the label took the configuration.
int lua_setTTFConfig(lua_State* L) {
    const char* name = "cc.Label:setTTFConfig";
    engine::Label* label = checkSelf<engine::Label>(L, "cc.Label", name);
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, name, argc, 1, " \n");
    if (!lua_istable(L, 2)) return luaL_error(L, "invalid arguments in function '%s'", name);
    bool taken = false;
    {
        engine::TTFConfig config;
        taken = luaconv_read_ttf_config(L, 2, &config, name) && label->setTTFConfig(config);
    }
    lua_pushboolean(L, taken ? 1 : 0);
    return 1;
}

}  // namespace

void register_label_manual(lua_State* L) {
    const ClassFunction functions[] = {{"createWithTTF", lua_createWithTTF}, {"setTTFConfig", lua_setTTFConfig}};
    addClassFunctions(L, "cc.Label", functions);
}

}  // namespace bindings
