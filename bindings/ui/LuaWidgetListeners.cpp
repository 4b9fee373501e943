#include "bindings/ui/LuaWidgetListeners.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include "engine/ui/CheckBox.h"
#include "engine/ui/EditBox.h"
#include "engine/ui/LayoutParameter.h"
#include "engine/ui/ListView.h"
#include "engine/ui/PageView.h"
#include "engine/ui/RadioButton.h"
#include "engine/ui/ScrollView.h"
#include "engine/ui/Slider.h"
#include "engine/ui/TextField.h"
#include "engine/ui/Widget.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {
namespace {

using namespace engine::ui;
using engine::ScriptHandlerMgr;

// Calls the handler with what push put on the stack (count values), on the
// installed Lua engine's stack, and puts the stack back to its height before.
template <class Push>
void callHandler(int handler, int count, const Push& push) {
    auto* luaEngine = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
    if (!luaEngine || !luaEngine->getLuaStack()) return;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    push(stack);
    stack->executeFunctionByHandler(handler, count);
    lua_settop(L, top);
}

// The listeners a script installs: each knows its handler and the custom kind it
// is filed under, so that the listener replacing it can release that handler.
struct ScriptListener {
    int handler = 0;
    ScriptHandlerMgr::HandlerType kind{};
};

// (sender as "cc.Ref", event type)
template <class EventType>
struct EventRelay : ScriptListener {
    void operator()(engine::Ref* sender, EventType type) const {
        callHandler(handler, 2, [&](engine::LuaStack* stack) {
            stack->pushObject(sender, "cc.Ref");
            stack->pushInt(static_cast<int>(type));
        });
    }
};

struct ClickRelay : ScriptListener {
    void operator()(engine::Ref* sender) const {
        callHandler(handler, 1, [&](engine::LuaStack* stack) { stack->pushObject(sender, "cc.Ref"); });
    }
};

struct RadioButtonRelay : ScriptListener {
    void operator()(RadioButton* button, RadioButton::EventType type) const {
        callHandler(handler, 2, [&](engine::LuaStack* stack) {
            stack->pushObject(button, "ccui.RadioButton");
            stack->pushInt(static_cast<int>(type));
        });
    }
};

struct RadioGroupRelay : ScriptListener {
    void operator()(RadioButton* button, int index, RadioButtonGroup::EventType type) const {
        callHandler(handler, 3, [&](engine::LuaStack* stack) {
            stack->pushObject(button, "ccui.RadioButton");
            stack->pushInt(index);
            stack->pushInt(static_cast<int>(type));
        });
    }
};

// Installs the listener and files its handler. The script listener it replaces
// gives up its handler first, when the registry still holds it under its kind (a
// script may have filed its own handler there). A listener replacing itself runs
// on: the widget keeps it alive until the call returns, and the running function
// stays on the Lua stack.
template <class Row>
void install(typename Row::Widget* widget, int handler) {
    ScriptHandlerMgr* registry = ScriptHandlerMgr::getInstance();
    using Relay = typename Row::Relay;
    if (const Relay* replaced = Row::current(widget).template target<Relay>()) {
        if (registry->getObjectHandler(widget, replaced->kind) == replaced->handler) {
            registry->removeObjectHandler(widget, replaced->kind);
        }
    }
    Relay relay;
    relay.handler = handler;
    relay.kind = registry->addCustomHandler(widget, handler);
    Row::add(widget, relay);
}

// A listener method. Row gives the widget class, the relay, the names (Lua
// class, class and method in the count error, Lua name in the self error) and
// the widget's getter and adder of that listener.
template <class Row>
int addListener(lua_State* L) {
    auto* widget = checkSelf<typename Row::Widget>(L, Row::kLuaClass, Row::kLuaName);
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L, "'%s' function of %s has wrong number of arguments: %d, was expecting %d\n",
                          Row::kMethod, Row::kClass, argc, 1);
    }
    install<Row>(widget, handlerAt(L, 2));
    return 0;
}

struct TouchRow {
    using Widget = engine::ui::Widget;
    using Relay = EventRelay<Widget::TouchEventType>;
    static constexpr const char* kLuaClass = "ccui.Widget";
    static constexpr const char* kClass = "Widget";
    static constexpr const char* kMethod = "addTouchEventListener";
    static constexpr const char* kLuaName = "ccui.Widget:addTouchEventListener";
    static const auto& current(Widget* w) { return w->getTouchEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addTouchEventListener(r); }
};

struct ClickRow {
    using Widget = engine::ui::Widget;
    using Relay = ClickRelay;
    static constexpr const char* kLuaClass = "ccui.Widget";
    static constexpr const char* kClass = "Widget";
    static constexpr const char* kMethod = "addClickEventListener";
    static constexpr const char* kLuaName = "ccui.Widget:addClickEventListener";
    static const auto& current(Widget* w) { return w->getClickEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addClickEventListener(r); }
};

struct CheckBoxRow {
    using Widget = CheckBox;
    using Relay = EventRelay<CheckBox::EventType>;
    static constexpr const char* kLuaClass = "ccui.CheckBox";
    static constexpr const char* kClass = "CheckBox";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.CheckBox:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

struct RadioButtonRow {
    using Widget = RadioButton;
    using Relay = RadioButtonRelay;
    static constexpr const char* kLuaClass = "ccui.RadioButton";
    static constexpr const char* kClass = "RadioButton";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.RadioButton:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

struct RadioGroupRow {
    using Widget = RadioButtonGroup;
    using Relay = RadioGroupRelay;
    static constexpr const char* kLuaClass = "ccui.RadioButtonGroup";
    static constexpr const char* kClass = "RadioButtonGroup";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.RadioButtonGroup:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

struct SliderRow {
    using Widget = Slider;
    using Relay = EventRelay<Slider::EventType>;
    static constexpr const char* kLuaClass = "ccui.Slider";
    static constexpr const char* kClass = "Slider";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.Slider:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

struct TextFieldRow {
    using Widget = TextField;
    using Relay = EventRelay<TextField::EventType>;
    static constexpr const char* kLuaClass = "ccui.TextField";
    static constexpr const char* kClass = "TextField";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.TextField:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

struct PageViewRow {
    using Widget = PageView;
    using Relay = EventRelay<PageView::EventType>;
    static constexpr const char* kLuaClass = "ccui.PageView";
    static constexpr const char* kClass = "PageView";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.PageView:addEventListener";
    static const auto& current(Widget* w) { return w->getEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(r); }
};

// The scroll view's listener through its virtual adder: a list view's too.
struct ScrollViewRow {
    using Widget = ScrollView;
    using Relay = EventRelay<ScrollView::EventType>;
    static constexpr const char* kLuaClass = "ccui.ScrollView";
    static constexpr const char* kClass = "ScrollView";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.ScrollView:addEventListener";
    static const auto& current(Widget* w) { return w->getScrollEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(ScrollView::ccScrollViewCallback(r)); }
};

struct ListViewRow {
    using Widget = ListView;
    using Relay = EventRelay<ListView::EventType>;
    static constexpr const char* kLuaClass = "ccui.ListView";
    static constexpr const char* kClass = "ListView";
    static constexpr const char* kMethod = "addEventListener";
    static constexpr const char* kLuaName = "ccui.ListView:addEventListener";
    static const auto& current(Widget* w) { return w->getListEventListener(); }
    static void add(Widget* w, const Relay& r) { w->addEventListener(ListView::ccListViewCallback(r)); }
};

struct ListScrollRow : ScrollViewRow {
    using Widget = ListView;
    static constexpr const char* kLuaClass = "ccui.ListView";
    static constexpr const char* kClass = "ListView";
    static constexpr const char* kMethod = "addScrollViewEventListener";
    static constexpr const char* kLuaName = "ccui.ListView:addScrollViewEventListener";
};

// ---- Margins

int lua_getMargin(lua_State* L) {
    auto* parameter = checkSelf<LayoutParameter>(L, "ccui.LayoutParameter", "ccui.LayoutParameter:getMargin");
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "'%s' function of %s has wrong number of arguments: %d, was expecting %d\n", "getMargin",
                          "LayoutParameter", argc, 0);
    }
    const Margin margin = parameter->getMargin();
    lua_createtable(L, 0, 4);
    const std::pair<const char*, float> fields[] = {
        {"left", margin.left}, {"top", margin.top}, {"right", margin.right}, {"bottom", margin.bottom}};
    for (const auto& [key, value] : fields) {
        lua_pushnumber(L, static_cast<lua_Number>(value));
        lua_setfield(L, -2, key);
    }
    return 1;
}

int lua_setMargin(lua_State* L) {
    auto* parameter = checkSelf<LayoutParameter>(L, "ccui.LayoutParameter", "ccui.LayoutParameter:setMargin");
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L, "'%s' function of %s has wrong number of arguments: %d, was expecting %d\n", "setMargin",
                          "LayoutParameter", argc, 1);
    }
    // In this order; a value that is not a number (nor a numeric string) reads as 0.
    float values[4] = {};
    const char* const keys[] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        lua_getfield(L, 2, keys[i]);
        values[i] = static_cast<float>(lua_tonumber(L, -1));
        lua_pop(L, 1);
    }
    parameter->setMargin(Margin{values[0], values[1], values[2], values[3]});
    return 0;
}

// ---- Edit box

int lua_registerScriptEditBoxHandler(lua_State* L) {
    const char* name = "ccui.EditBox:registerScriptEditBoxHandler";
    auto* box = checkSelf<EditBox>(L, "ccui.EditBox", name);
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L, "%s function of EditBox  has wrong number of arguments: %d, was expecting %d\n", name, argc,
                          1);
    }
    box->registerScriptEditBoxHandler(handlerAt(L, 2));
    return 0;
}

int lua_unregisterScriptEditBoxHandler(lua_State* L) {
    const char* name = "ccui.EditBox:unregisterScriptEditBoxHandler";
    auto* box = checkSelf<EditBox>(L, "ccui.EditBox", name);
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "%s function of EditBox  has wrong number of arguments: %d, was expecting %d\n", name, argc,
                          0);
    }
    box->unregisterScriptEditBoxHandler();
    return 0;
}

}  // namespace

int register_ui_manual(lua_State* L) {
    const ClassFunction widget[] = {{"addTouchEventListener", addListener<TouchRow>},
                                    {"addClickEventListener", addListener<ClickRow>}};
    const ClassFunction checkBox[] = {{"addEventListener", addListener<CheckBoxRow>}};
    const ClassFunction radioButton[] = {{"addEventListener", addListener<RadioButtonRow>}};
    const ClassFunction radioGroup[] = {{"addEventListener", addListener<RadioGroupRow>}};
    const ClassFunction slider[] = {{"addEventListener", addListener<SliderRow>}};
    const ClassFunction textField[] = {{"addEventListener", addListener<TextFieldRow>}};
    const ClassFunction pageView[] = {{"addEventListener", addListener<PageViewRow>}};
    const ClassFunction scrollView[] = {{"addEventListener", addListener<ScrollViewRow>}};
    const ClassFunction listView[] = {{"addEventListener", addListener<ListViewRow>},
                                      {"addScrollViewEventListener", addListener<ListScrollRow>}};
    const ClassFunction layoutParameter[] = {{"getMargin", lua_getMargin}, {"setMargin", lua_setMargin}};
    const ClassFunction editBox[] = {{"registerScriptEditBoxHandler", lua_registerScriptEditBoxHandler},
                                     {"unregisterScriptEditBoxHandler", lua_unregisterScriptEditBoxHandler}};
    addClassFunctions(L, "ccui.Widget", widget);
    addClassFunctions(L, "ccui.CheckBox", checkBox);
    addClassFunctions(L, "ccui.RadioButton", radioButton);
    addClassFunctions(L, "ccui.RadioButtonGroup", radioGroup);
    addClassFunctions(L, "ccui.Slider", slider);
    addClassFunctions(L, "ccui.TextField", textField);
    addClassFunctions(L, "ccui.PageView", pageView);
    addClassFunctions(L, "ccui.ScrollView", scrollView);
    addClassFunctions(L, "ccui.ListView", listView);
    addClassFunctions(L, "ccui.LayoutParameter", layoutParameter);
    addClassFunctions(L, "ccui.EditBox", editBox);
    return 0;
}

}  // namespace bindings
