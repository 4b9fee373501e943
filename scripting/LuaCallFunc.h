#pragma once
// The call-function action that cc.CallFunc:create makes for scripts. Its Lua
// function is filed in the script handler registry under CALLFUNC; the native
// function given by initWithFunction (the binding's bridge to Lua) receives the
// action and its target.
#include <functional>

#include "engine/actions/Action.h"

namespace engine {

class LuaCallFunc : public CallFuncN {
public:
    using Function = std::function<void(void* action, Node* target)>;

    // A new action without a function, autoreleased.
    static LuaCallFunc* create();

    // Keeps a copy of fn; always true.
    bool initWithFunction(const Function& fn);
    // With a function: calls it with (this, target); else CallFuncN::execute.
    void execute() override;
    // A copy with the same function and a new handler id for the same Lua
    // function; null when this action has no CALLFUNC handler or no script engine
    // can issue the new id.
    LuaCallFunc* clone() const override;

protected:
    LuaCallFunc() = default;

private:
    Function _functionLua;
};

}  // namespace engine
