// The menu, its items and the layer multiplex of the core table. Their create
// functions and the menu's row and column alignment are hand-written
// (bindings/core/LuaMenus.h).
#include "bindings/core/CoreClassRows.h"

#include "engine/scene/LayerMultiplex.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemSprite.h"
#include "engine/scene/MenuItemToggle.h"

namespace bindings {

namespace {

using namespace engine;

const Method kMenuMethods[] = {
    {"alignItemsVertically", {method<&Menu::alignItemsVertically>()}},
    {"alignItemsHorizontally", {method<&Menu::alignItemsHorizontally>()}},
    {"alignItemsVerticallyWithPadding", {method<&Menu::alignItemsVerticallyWithPadding>()}},
    {"alignItemsHorizontallyWithPadding", {method<&Menu::alignItemsHorizontallyWithPadding>()}},
    {"setEnabled", {method<&Menu::setEnabled>()}},
    {"isEnabled", {method<&Menu::isEnabled>()}},
};

const Method kMenuItemLabelMethods[] = {
    {"setLabel", {method<&MenuItemLabel::setLabel>()}},
    {"getLabel", {method<&MenuItemLabel::getLabel>()}},
    {"setString", {method<&MenuItemLabel::setString>()}},
    {"getString", {method<&MenuItemLabel::getString>()}},
    {"setDisabledColor", {method<&MenuItemLabel::setDisabledColor>()}},
    {"getDisabledColor", {method<&MenuItemLabel::getDisabledColor>()}},
};

const Method kMenuItemFontMethods[] = {
    {"setFontSize", {classFunction<&MenuItemFont::setFontSize>()}},
    {"getFontSize", {classFunction<&MenuItemFont::getFontSize>()}},
    {"setFontName", {classFunction<&MenuItemFont::setFontName>()}},
    {"getFontName", {classFunction<&MenuItemFont::getFontName>()}},
    {"setFontSizeObj", {method<&MenuItemFont::setFontSizeObj>()}},
    {"getFontSizeObj", {method<&MenuItemFont::getFontSizeObj>()}},
    {"setFontNameObj", {method<&MenuItemFont::setFontNameObj>()}},
    {"getFontNameObj", {method<&MenuItemFont::getFontNameObj>()}},
};

const Method kMenuItemSpriteMethods[] = {
    {"setNormalImage", {method<&MenuItemSprite::setNormalImage>()}},
    {"getNormalImage", {method<&MenuItemSprite::getNormalImage>()}},
    {"setSelectedImage", {method<&MenuItemSprite::setSelectedImage>()}},
    {"getSelectedImage", {method<&MenuItemSprite::getSelectedImage>()}},
    {"setDisabledImage", {method<&MenuItemSprite::setDisabledImage>()}},
    {"getDisabledImage", {method<&MenuItemSprite::getDisabledImage>()}},
};

// No selection reads as -1.
int32_t selectedIndex(MenuItemToggle* self) {
    const unsigned index = self->getSelectedIndex();
    return index == MenuItemToggle::kNoSelection ? -1 : static_cast<int32_t>(index);
}
// A negative index is outside the sub-items like any other.
void setSelectedIndex(MenuItemToggle* self, int32_t index) {
    self->setSelectedIndex(index < 0 ? MenuItemToggle::kNoSelection : static_cast<unsigned>(index));
}

const Method kMenuItemToggleMethods[] = {
    {"addSubItem", {method<&MenuItemToggle::addSubItem>()}},
    {"getSelectedIndex", {method<&selectedIndex>()}},
    {"setSelectedIndex", {method<&setSelectedIndex>()}},
    {"getSelectedItem", {method<&MenuItemToggle::getSelectedItem>()}},
    {"getSubItems", {method<&MenuItemToggle::getSubItems>()}},
};

const Method kLayerMultiplexMethods[] = {
    {"addLayer", {method<&LayerMultiplex::addLayer>()}},
    {"switchTo", {method<&LayerMultiplex::switchTo>()}},
    {"switchToAndReleaseMe", {method<&LayerMultiplex::switchToAndReleaseMe>()}},
    {"getEnabledLayer", {method<&LayerMultiplex::getEnabledLayer>()}},
};

const ClassEntry kRows[] = {
    classEntry<Menu>("cc.Menu", "cc.Layer", kMenuMethods),
    classEntry<MenuItemLabel>("cc.MenuItemLabel", "cc.MenuItem", kMenuItemLabelMethods),
    classEntry<MenuItemFont>("cc.MenuItemFont", "cc.MenuItemLabel", kMenuItemFontMethods),
    classEntry<MenuItemSprite>("cc.MenuItemSprite", "cc.MenuItem", kMenuItemSpriteMethods),
    classEntry<MenuItemImage>("cc.MenuItemImage", "cc.MenuItemSprite"),
    classEntry<MenuItemToggle>("cc.MenuItemToggle", "cc.MenuItem", kMenuItemToggleMethods),
    classEntry<LayerMultiplex>("cc.LayerMultiplex", "cc.Layer", kLayerMultiplexMethods),
};

}  // namespace

std::span<const ClassEntry> coreMenuRows() { return kRows; }

}  // namespace bindings
