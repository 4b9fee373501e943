// The builder module: the builder-file reader classes and the nodes a builder
// file makes beyond the core ones (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <string>
#include <vector>

#include "bindings/builder/CCBProxy.h"
#include "bindings/builder/LuaBuilderManual.h"
#include "engine/builder/CCBAnimationManager.h"
#include "engine/builder/CCBHooks.h"
#include "engine/builder/CCBReader.h"
#include "engine/builder/NodeLoaderLibrary.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/MenuItemLabel.h"

namespace bindings {

namespace {

using builder::CCBAnimationManager;
using builder::CCBReader;
using builder::CCBSequence;
using builder::CCBSequenceProperty;
using builder::NodeLoaderLibrary;

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
    {"getNodesWithAnimationManagers", {method<&CCBReader::getNodesWithAnimationManagers>()}},
    {"getAnimationManagersForNodes", {method<&CCBReader::getAnimationManagersForNodes>()}},
};

const Method kSequenceMethods[] = {
    {"create", {classFunction<&CCBSequence::create>()}},
    {"getName", {method<&CCBSequence::getName>()}},
    {"setName", {method<&CCBSequence::setName>()}},
    {"getDuration", {method<&CCBSequence::getDuration>()}},
    {"setDuration", {method<&CCBSequence::setDuration>()}},
    {"getSequenceId", {method<&CCBSequence::getSequenceId>()}},
    {"setSequenceId", {method<&CCBSequence::setSequenceId>()}},
};

const Method kSequencePropertyMethods[] = {
    {"create", {classFunction<&CCBSequenceProperty::create>()}},
    {"getName", {method<&CCBSequenceProperty::getName>()}},
    {"setName", {method<&CCBSequenceProperty::setName>()}},
    {"getType", {method<&CCBSequenceProperty::getType>()}},
    {"setType", {method<&CCBSequenceProperty::setType>()}},
};

const Method kNodeLoaderLibraryMethods[] = {
    {"getInstance", {classFunction<&NodeLoaderLibrary::getInstance>()}},
};

const Method kAnimationManagerMethods[] = {
    {"runAnimationsForSequenceNamed", {method<&CCBAnimationManager::runAnimationsForSequenceNamed>()}},
    {"getRootNode", {method<&CCBAnimationManager::getRootNode>()}},
    {"getSequences", {method<&CCBAnimationManager::getSequences>()}},
    {"setSequences", {method<&CCBAnimationManager::setSequences>()}},
    {"getDocumentOutletNames", {method<&CCBAnimationManager::getDocumentOutletNames>()}},
    {"getDocumentOutletNodes", {method<&CCBAnimationManager::getDocumentOutletNodes>()}},
    {"getDocumentCallbackNames", {method<&CCBAnimationManager::getDocumentCallbackNames>()}},
    {"getDocumentCallbackNodes", {method<&CCBAnimationManager::getDocumentCallbackNodes>()}},
};

const Method kAtlasFontItemMethods[] = {
    {"create", {classFunction<&createAtlasFontItem>()}},
};


// Rows in registration order, bases first.
const std::vector<ClassEntry> kBuilderClasses = {
    classEntry<CCBReader>("cc.CCBReader", "cc.Ref", kReaderMethods),
    classEntry<CCBAnimationManager>("cc.CCBAnimationManager", "cc.Ref", kAnimationManagerMethods),
    classEntry<CCBSequence>("cc.CCBSequence", "cc.Ref", kSequenceMethods),
    classEntry<CCBSequenceProperty>("cc.CCBSequenceProperty", "cc.Ref", kSequencePropertyMethods),
    classEntry<builder::CCBMemberVariableAssigner>("cc.CCBMemberVariableAssigner", nullptr),
    classEntry<builder::CCBSelectorResolver>("cc.CCBSelectorResolver", nullptr),
    classEntry<NodeLoaderLibrary>("cc.NodeLoaderLibrary", nullptr, kNodeLoaderLibraryMethods),
    classEntry<builder::NodeLoaderListener>("cc.NodeLoaderListener", nullptr),
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
