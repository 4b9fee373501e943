#include "engine/scene/MenuItem.h"

#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine {

MenuItem* MenuItem::create() {
    auto* item = new MenuItem;
    item->init();
    item->autorelease();
    return item;
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
