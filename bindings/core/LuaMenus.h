#pragma once
// The hand-written functions of menus, menu items and the layer multiplex.
// Counts exclude the class table or self; a wrong count raises
// "<Lua name> has wrong number of arguments: <given>, was expecting <n>\n".
//
//   cc.MenuItemImage:create()                     an item without images; with
//     (normal, selected[, disabled])              image file names (n 0)
//   cc.MenuItemSprite:create(normal, selected[, disabled])
//       nodes; selected and disabled may be nil; a normal image that is not a
//       live node, or another value that is neither nil nor one, raises
//       "invalid arguments in function 'lua_engine_MenuItemSprite_create'" (n 3)
//   cc.MenuItemLabel:create(label)                a live node, else the
//       invalid-arguments error of lua_engine_MenuItemLabel_create (n 1)
//   cc.MenuItemFont:create(text)                  (n 1)
//   cc.MenuItemToggle:create(item, ...)           the menu items in order as
//       sub-items, the first selected; values that are not menu items are
//       skipped, objects among them logged (n 1)
//   cc.Menu:create(item, ...)                     the menu items in order; values
//       that are not objects are skipped (nil between items among them), objects
//       of other classes logged and skipped. Without even the class table:
//       "create wrong number of arguments: -1, was expecting 0\n".
//   menu:alignItemsInColumns(n, ...), menu:alignItemsInRows(n, ...)
//       counts per row / column; none raises "'alignItemsInColumns' has wrong
//       number of arguments in tolua_engine_Menu_alignItemsInColumns: 0, was
//       expecting 1\n" (rows alike)
//   cc.LayerMultiplex:create(layer, ...)          the layers in order, values
//       that are not objects skipped; an object that is not a live layer raises
//       "error in tolua_engine_LayerMultiplex_create \n" (n 1)
// Instance functions raise "invalid 'self' in function '<Lua name>'" for a self
// that is not a live menu. Main thread only.
#include <lua.hpp>

namespace bindings {

// Each adds its class's functions (nothing when the class is not registered).
void register_menu_item_image_manual(lua_State* L);
void register_menu_item_label_manual(lua_State* L);
void register_menu_item_font_manual(lua_State* L);
void register_menu_item_sprite_manual(lua_State* L);
void register_menu_item_toggle_manual(lua_State* L);
void register_menu_manual(lua_State* L);
void register_layer_multiplex_manual(lua_State* L);

}  // namespace bindings
