#include "engine/scene/MenuItem.h"

#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine {

MenuItem* MenuItem::create() {
    auto* item = new MenuItem;
    return autoreleased(item, item->init());
}

bool MenuItem::init() {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    return true;
}

void MenuItem::activate() {
    if (!_enabled) return;
    if (ScriptEngineProtocol* script = ScriptEngineManager::getInstance()->getScriptEngine()) {
        BasicScriptData data(this);
        ScriptEvent event(MENU_CLICKED_EVENT, &data);
        script->sendEvent(&event);
    }
}

}  // namespace engine
