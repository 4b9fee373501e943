// The builder module: the builder-file reader classes and the nodes a builder
// file makes beyond the core ones (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <string>
#include <vector>

#include "bindings/builder/CCBProxy.h"
#include "bindings/builder/LuaBuilderManual.h"
#include "engine/builder/CCBAnimationManager.h"
#include "engine/builder/CCBReader.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/MenuItemLabel.h"

namespace bindings {

namespace {

using builder::CCBAnimationManager;
using builder::CCBReader;

engine::MenuItemAtlasFont* createAtlasFontItem(const std::string& text, const std::string& charMapFile, int itemWidth,
                                               int itemHeight, int startChar) {
    return engine::MenuItemAtlasFont::create(text, charMapFile, itemWidth, itemHeight, static_cast<char>(startChar));
}

const Method kReaderMethods[] = {
    {"getOwner", {method<&CCBReader::getOwner>()}},
    {"getOwnerOutletNames", {method<&CCBReader::getOwnerOutletNames>()}},
    {"getOwnerOutletNodes", {method<&CCBReader::getOwnerOutletNodes>()}},
    {"getOwnerCallbackNames", {method<&CCBReader::getOwnerCallbackNames>()}},
    {"getOwnerCallbackNodes", {method<&CCBReader::getOwnerCallbackNodes>()}},
    {"getOwnerCallbackControlEvents", {method<&CCBReader::getOwnerCallbackControlEvents>()}},
    {"getDocumentOutletNames", {method<&CCBReader::getDocumentOutletNames>()}},
    {"getDocumentOutletNodes", {method<&CCBReader::getDocumentOutletNodes>()}},
    {"getDocumentCallbackNames", {method<&CCBReader::getDocumentCallbackNames>()}},
    {"getDocumentCallbackNodes", {method<&CCBReader::getDocumentCallbackNodes>()}},
    {"getDocumentCallbackControlEvents", {method<&CCBReader::getDocumentCallbackControlEvents>()}},
    {"getAnimationManager", {method<&CCBReader::getAnimationManager>()}},
};

const Method kAnimationManagerMethods[] = {
    {"runAnimationsForSequenceNamed", {method<&CCBAnimationManager::runAnimationsForSequenceNamed>()}},
    {"getRootNode", {method<&CCBAnimationManager::getRootNode>()}},
};

const Method kAtlasFontItemMethods[] = {
    {"create", {classFunction<&createAtlasFontItem>()}},
};


// Rows in registration order, bases first.
const std::vector<ClassEntry> kBuilderClasses = {
    classEntry<CCBReader>("cc.CCBReader", "cc.Ref", kReaderMethods),
    classEntry<CCBAnimationManager>("cc.CCBAnimationManager", "cc.Ref", kAnimationManagerMethods),
    // The proxy's row writes luaTypeMap only.
    ClassEntry{"cc.CCBProxy", "cc.Layer", &luaconv_type_key<CCBProxy>, &registerProxyClass, {}},
    classEntry<engine::MenuItemAtlasFont>("cc.MenuItemAtlasFont", "cc.MenuItemLabel", kAtlasFontItemMethods),
};

}  // namespace

std::span<const ClassEntry> builderClassTable() { return kBuilderClasses; }

int register_builder_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kBuilderClasses);
    register_builder_manual(L);
    return 1;
}

}  // namespace bindings
