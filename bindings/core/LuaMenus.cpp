#include "bindings/core/LuaMenus.h"

#include <string>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/base/Log.h"
#include "engine/base/Value.h"
#include "engine/scene/LayerMultiplex.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemSprite.h"
#include "engine/scene/MenuItemToggle.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

using engine::Node;

// Whether the value at index is nil or absent (null) or a live node (that node).
bool nodeOrNil(lua_State* L, int index, Node** out) {
    *out = nullptr;
    if (lua_isnoneornil(L, index)) return true;
    *out = objectAt<Node>(L, index, "cc.Node");
    return *out != nullptr;
}

// A full userdata: an object, live or not, of whatever class.
bool isObject(lua_State* L, int index) { return lua_type(L, index) == LUA_TUSERDATA; }

int lua_menuItemImageCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0 && argc != 2 && argc != 3) return countError(L, "cc.MenuItemImage:create", argc, 0);
    engine::MenuItemImage* item = nullptr;
    if (argc == 0) {
        item = engine::MenuItemImage::create();
    } else {
        const std::string normal = luaconv_to_cstring(L, 2, "");
        const std::string selected = luaconv_to_cstring(L, 3, "");
        const std::string disabled = argc == 3 ? luaconv_to_cstring(L, 4, "") : "";
        item = engine::MenuItemImage::create(normal, selected, disabled);
    }
    luaconv_push_object(L, "cc.MenuItemImage", item);
    return 1;
}

int lua_menuItemLabelCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.MenuItemLabel:create", argc, 1);
    Node* label = objectAt<Node>(L, 2, "cc.Node");
    if (!label) return luaL_error(L, "invalid arguments in function 'lua_engine_MenuItemLabel_create'");
    luaconv_push_object(L, "cc.MenuItemLabel", engine::MenuItemLabel::create(label));
    return 1;
}

int lua_menuItemFontCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.MenuItemFont:create", argc, 1);
    const std::string text = luaconv_to_cstring(L, 2, "");
    luaconv_push_object(L, "cc.MenuItemFont", engine::MenuItemFont::create(text));
    return 1;
}

int lua_menuItemSpriteCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2 && argc != 3) return countError(L, "cc.MenuItemSprite:create", argc, 3);
    Node* normal = objectAt<Node>(L, 2, "cc.Node");
    Node* selected = nullptr;
    Node* disabled = nullptr;
    if (!normal || !nodeOrNil(L, 3, &selected) || !nodeOrNil(L, 4, &disabled)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_MenuItemSprite_create'");
    }
    luaconv_push_object(L, "cc.MenuItemSprite", engine::MenuItemSprite::create(normal, selected, disabled));
    return 1;
}

int lua_menuItemToggleCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 1) return countError(L, "cc.MenuItemToggle:create", argc, 1);
    engine::MenuItemToggle* toggle = engine::MenuItemToggle::create();
    for (int i = 2; i <= argc + 1; ++i) {
        if (auto* item = objectAt<engine::MenuItem>(L, i, "cc.MenuItem")) {
            toggle->addSubItem(item);
        } else if (isObject(L, i)) {
            engine::log("cc.MenuItemToggle:create: argument %d is not a live menu item, skipped", i - 1);
        }
    }
    if (!toggle->getSubItems().empty()) toggle->setSelectedIndex(0);
    luaconv_push_object(L, "cc.MenuItemToggle", toggle);
    return 1;
}

int lua_menuCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 0) return luaL_error(L, "create wrong number of arguments: %d, was expecting %d\n", argc, 0);
    engine::Menu* menu = nullptr;
    {
        engine::Vector<engine::MenuItem*> items;
        for (int i = 2; i <= argc + 1; ++i) {
            if (auto* item = objectAt<engine::MenuItem>(L, i, "cc.MenuItem")) {
                items.pushBack(item);
            } else if (isObject(L, i)) {
                engine::log("cc.Menu:create: argument %d is not a live menu item, skipped", i - 1);
            }
        }
        menu = engine::Menu::createWithArray(items);
    }
    luaconv_push_object(L, "cc.Menu", menu);
    return 1;
}

// The counts of an alignment call; false when they cannot be read.
bool readCounts(lua_State* L, int argc, std::vector<int>* counts) {
    engine::ValueVector values;
    if (!luaconv_read_varargs_value_vector(L, argc, &values)) return false;
    for (const engine::Value& value : values) counts->push_back(value.asInt());
    return true;
}

int lua_menuAlignItemsInColumns(lua_State* L) {
    engine::Menu* menu = checkSelf<engine::Menu>(L, "cc.Menu", "cc.Menu:alignItemsInColumns");
    const int argc = argumentCount(L);
    if (argc < 1) {
        return luaL_error(L,
                          "'alignItemsInColumns' has wrong number of arguments in "
                          "tolua_engine_Menu_alignItemsInColumns: %d, was expecting %d\n",
                          argc, 1);
    }
    std::vector<int> counts;
    if (readCounts(L, argc, &counts)) menu->alignItemsInColumnsWithArray(counts);
    return 0;
}

int lua_menuAlignItemsInRows(lua_State* L) {
    engine::Menu* menu = checkSelf<engine::Menu>(L, "cc.Menu", "cc.Menu:alignItemsInRows");
    const int argc = argumentCount(L);
    if (argc < 1) {
        return luaL_error(L,
                          "'alignItemsInRows' has wrong number of arguments in "
                          "tolua_engine_Menu_alignItemsInRows: %d, was expecting %d\n",
                          argc, 1);
    }
    std::vector<int> counts;
    if (readCounts(L, argc, &counts)) menu->alignItemsInRowsWithArray(counts);
    return 0;
}

int lua_layerMultiplexCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 1) return countError(L, "cc.LayerMultiplex:create", argc, 1);
    // Every object must be a live layer; checked before anything is built.
    for (int i = 2; i <= argc + 1; ++i) {
        if (lua_isuserdata(L, i) && !objectAt<engine::Layer>(L, i, "cc.Layer")) {
            return luaL_error(L, "error in tolua_engine_LayerMultiplex_create \n");
        }
    }
    engine::LayerMultiplex* multiplex = nullptr;
    {
        engine::Vector<engine::Layer*> layers;
        for (int i = 2; i <= argc + 1; ++i) {
            if (auto* layer = objectAt<engine::Layer>(L, i, "cc.Layer")) layers.pushBack(layer);
        }
        multiplex = engine::LayerMultiplex::createWithArray(layers);
    }
    luaconv_push_object(L, "cc.LayerMultiplex", multiplex);
    return 1;
}

void addCreate(lua_State* L, const char* luaClass, lua_CFunction create) {
    const ClassFunction functions[] = {{"create", create}};
    addClassFunctions(L, luaClass, functions);
}

}  // namespace

void register_menu_item_image_manual(lua_State* L) { addCreate(L, "cc.MenuItemImage", lua_menuItemImageCreate); }
void register_menu_item_label_manual(lua_State* L) { addCreate(L, "cc.MenuItemLabel", lua_menuItemLabelCreate); }
void register_menu_item_font_manual(lua_State* L) { addCreate(L, "cc.MenuItemFont", lua_menuItemFontCreate); }
void register_menu_item_sprite_manual(lua_State* L) { addCreate(L, "cc.MenuItemSprite", lua_menuItemSpriteCreate); }
void register_menu_item_toggle_manual(lua_State* L) { addCreate(L, "cc.MenuItemToggle", lua_menuItemToggleCreate); }

void register_menu_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_menuCreate},
                                       {"alignItemsInRows", lua_menuAlignItemsInRows},
                                       {"alignItemsInColumns", lua_menuAlignItemsInColumns}};
    addClassFunctions(L, "cc.Menu", functions);
}

void register_layer_multiplex_manual(lua_State* L) {
    addCreate(L, "cc.LayerMultiplex", lua_layerMultiplexCreate);
}

}  // namespace bindings
