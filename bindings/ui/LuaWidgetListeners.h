#pragma once
// The listener methods of the widgets for scripts, the margin accessors of
// ccui.LayoutParameter and the script handler of ccui.EditBox.
//
//   widget:addTouchEventListener(fn)     fn(sender, eventType): 0 began, 1 moved,
//                                        2 ended, 3 canceled
//   widget:addClickEventListener(fn)     fn(sender)
//   checkBox/slider/textField/pageView/scrollView/listView:addEventListener(fn)
//                                        fn(sender, eventType)
//   listView:addScrollViewEventListener(fn)   fn(sender, scroll-view eventType)
//   radioButton:addEventListener(fn)     fn(radioButton, eventType)
//   radioButtonGroup:addEventListener(fn)     fn(selectedButton, index, eventType)
//   parameter:getMargin()                {left =, top =, right =, bottom =}
//   parameter:setMargin(t)               the four keys of t; nil is 0
//   editBox:registerScriptEditBoxHandler(fn) / unregisterScriptEditBoxHandler()
//                                        fn(eventName, editBox) with "began",
//                                        "changed", "ended", "return"
//
// Senders are pushed as "cc.Ref" (radio buttons as "ccui.RadioButton"); they
// arrive under their own registered type. Each listener call replaces the
// widget's listener of that sort and files the function's handler id with the
// widget in the script handler registry (a custom kind), so the function is
// released with the widget; the handler of the listener it replaces is released
// at once. A listener call puts the Lua stack back as it found it. Self is
// type-tested ("invalid 'self' in function 'ccui.Widget:addTouchEventListener'");
// a wrong count raises "'<method>' function of <Class> has wrong number of
// arguments: %d, was expecting %d\n" (the edit box's: "<Lua name> function of
// EditBox  has wrong number ..."). Main thread only.
#include <lua.hpp>

namespace bindings {

// Adds the methods to the widget classes (each skipped when not registered).
int register_ui_manual(lua_State* L);

}  // namespace bindings
