#include "bindings/studio/CustomGUIReader.h"

#include "bindings/LuaChecks.h"
#include "engine/base/Log.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/studio/GUIReader.h"
#include "engine/studio/ObjectFactory.h"
#include "engine/ui/Widget.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"

namespace studio {

namespace {

engine::LuaStack* currentStack() {
    auto* lua = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
    return lua ? lua->getLuaStack() : nullptr;
}

}  // namespace

CustomGUIReader* CustomGUIReader::create(const std::string& className, int createFunc, int setPropsFunc) {
    auto* reader = new CustomGUIReader;
    reader->autorelease();
    reader->init(className, createFunc, setPropsFunc);
    return reader;
}

void CustomGUIReader::init(const std::string& className, int createFunc, int setPropsFunc) {
    _className = className;
    _createFunc = createFunc;
    _setPropsFunc = setPropsFunc;
    _engineGeneration = engine::ScriptEngineManager::engineGeneration();
    ObjectFactory::getInstance()->registerType({className, [this] { return createInstance(); }}, this);
    GUIReader::getInstance()->registerTypeAndCallBack(
        className, this, [this](const std::string& classType, engine::Ref* widget, const std::string& options) {
            setCustomProps(classType, widget, options);
        });
}

CustomGUIReader::~CustomGUIReader() {
    ObjectFactory::getInstance()->removeType(_className, this);
    if (engineIsCurrent()) {
        if (engine::ScriptEngineProtocol* script = engine::ScriptEngineManager::getInstance()->getScriptEngine()) {
            if (_createFunc) script->removeScriptHandler(_createFunc);
            if (_setPropsFunc) script->removeScriptHandler(_setPropsFunc);
        }
    }
    _createFunc = 0;
    _setPropsFunc = 0;
}

bool CustomGUIReader::engineIsCurrent() const {
    return _engineGeneration == engine::ScriptEngineManager::engineGeneration();
}

engine::Ref* CustomGUIReader::createInstance() {
    engine::LuaStack* stack = engineIsCurrent() ? currentStack() : nullptr;
    if (!stack || !_createFunc) return nullptr;
    engine::Ref* made = nullptr;
    stack->executeFunctionWithCallback(_createFunc, 0, 1, [&made](lua_State* L, int) {
        made = bindings::objectAt<engine::ui::Widget>(L, -1, "ccui.Widget");
    });
    if (!made) engine::log("CustomGUIReader: the create function of '%s' answered no widget", _className.c_str());
    return made;
}

void CustomGUIReader::setCustomProps(const std::string& classType, engine::Ref* widget, const std::string& options) {
    engine::LuaStack* stack = engineIsCurrent() ? currentStack() : nullptr;
    if (!stack || !_setPropsFunc) return;
    stack->pushStringWithLength(classType.data(), static_cast<int>(classType.size()));
    stack->pushObject(widget, "cc.Ref");
    stack->pushStringWithLength(options.data(), static_cast<int>(options.size()));
    stack->executeFunctionByHandler(_setPropsFunc, 3);
}

}  // namespace studio
