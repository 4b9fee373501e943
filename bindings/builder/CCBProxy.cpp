#include "bindings/builder/CCBProxy.h"

#include <typeinfo>

#include "engine/builder/CCBReader.h"
#include "engine/builder/NodeLoaderLibrary.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/extension/ControlButton.h"
#include "engine/label/Label.h"
#include "engine/scene/BlendNodes.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/MenuItemSprite.h"
#include "engine/scene/MenuItemToggle.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Scale9Sprite.h"
#include "bindings/extension/LuaControlEvents.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

namespace {

template <class T>
bool is(engine::Ref* object) {
    return dynamic_cast<T*>(object) != nullptr;
}

struct TypeName {
    bool (*test)(engine::Ref*);
    const char* name;
};

// Tried in order: subclasses before their bases.
const TypeName kTypeNames[] = {
    {is<engine::Label>, "cc.Label"},
    {is<engine::Sprite>, "cc.Sprite"},
    {is<engine::extension::ControlButton>, "cc.ControlButton"},
    {is<engine::LayerGradient>, "cc.LayerGradient"},
    {is<engine::LayerColor>, "cc.LayerColor"},
    {is<engine::ui::Scale9Sprite>, "ccui.Scale9Sprite"},
    {is<engine::Menu>, "cc.Menu"},
    {is<engine::MenuItemAtlasFont>, "cc.MenuItemAtlasFont"},
    {is<engine::MenuItemFont>, "cc.MenuItemFont"},
    {is<engine::MenuItemLabel>, "cc.MenuItemLabel"},
    {is<engine::MenuItemImage>, "cc.MenuItemImage"},
    {is<engine::MenuItemToggle>, "cc.MenuItemToggle"},
    {is<engine::MenuItemSprite>, "cc.MenuItemSprite"},
    {is<engine::MenuItem>, "cc.MenuItem"},
    {is<engine::Layer>, "cc.Layer"},
    {is<engine::__String>, "cc.String"},
    {is<engine::ParticleSystemQuad>, "cc.ParticleSystemQuad"},
};

}  // namespace

CCBProxy* CCBProxy::create() {
    auto* proxy = new CCBProxy;
    return engine::autoreleased(proxy, proxy->init());
}

builder::CCBReader* CCBProxy::createCCBReader() {
    return builder::CCBReader::create(builder::NodeLoaderLibrary::getInstance());
}

engine::Node* CCBProxy::readCCBFromFile(const std::string& fileName, builder::CCBReader* reader, bool setOwner) {
    if (!reader || fileName.empty()) return nullptr;
    return reader->readNodeGraphFromFile(fileName, setOwner ? this : nullptr);
}

const char* CCBProxy::getNodeTypeName(engine::Ref* node) {
    if (!node) return "";
    for (const TypeName& entry : kTypeNames) {
        if (entry.test(node)) return entry.name;
    }
    return "No Support";
}

bool CCBProxy::setCallback(lua_State* L, engine::Node* node, int handler, int controlEvents) {
    if (!node || handler == 0) return false;
    if (dynamic_cast<engine::MenuItem*>(node)) {
        engine::ScriptHandlerMgr::getInstance()->addObjectHandler(node, handler,
                                                                  engine::ScriptHandlerMgr::HandlerType::MENU_CLICKED);
        return true;
    }
    if (auto* control = dynamic_cast<engine::extension::Control*>(node)) {
        // Keeps one id per event bit, or releases the handler when the mask has none.
        registerControlEventHandler(L, control, handler, controlEvents);
        return true;
    }
    return false;
}

}  // namespace bindings
