#include "bindings/opengl/GLNode.h"

#include <lua.hpp>

#include "engine/base/Director.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

using engine::ScriptHandlerMgr;

GLNode* GLNode::create() {
    auto* node = new GLNode;
    node->autorelease();
    return node;
}

void GLNode::draw(engine::Renderer* renderer, const engine::Mat4& transform, uint32_t flags) {
    _drawCommand.init(getGlobalZOrder());
    _drawCommand.func = [this, transform, flags] { onDraw(transform, flags); };
    renderer->addCommand(&_drawCommand);
}

void GLNode::onDraw(const engine::Mat4& transform, uint32_t flags) {
    const int handler = ScriptHandlerMgr::getInstance()->getObjectHandler(this, ScriptHandlerMgr::HandlerType::GL_NODE_DRAW);
    if (handler == 0) return;
    engine::LuaEngine* luaEngine = engine::LuaEngine::getInstance();
    engine::LuaStack* stack = luaEngine ? luaEngine->getLuaStack() : nullptr;
    if (!stack) return;
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    lua_newtable(L);
    for (int i = 0; i < 16; ++i) {
        stack->pushFloat(transform.m[i]);
        lua_rawseti(L, -2, i + 1);
    }
    stack->pushInt(static_cast<int>(flags));
    engine::Director* director = engine::Director::getInstance();
    director->pushMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    director->loadMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW, transform);
    stack->executeFunctionByHandler(handler, 2);
    director->popMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    lua_settop(L, top);
}

}  // namespace bindings
