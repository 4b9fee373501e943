#include "bindings/core/LuaConsole.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/console/Console.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {
namespace {

constexpr const char* kLuaName = "cc.Console";

// Runs on the main thread: the command's function with (fd, args), while the
// console and the handler are both still there.
void runCommand(const std::weak_ptr<const void>& console, int handler, int fd, const std::string& args) {
    if (console.expired() || handler == 0) return;
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine || !luaEngine->getLuaStack()) return;
    engine::LuaStack* stack = luaEngine->getLuaStack();
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    lua_pushnumber(L, static_cast<lua_Number>(fd));
    lua_pushlstring(L, args.data(), args.size());
    stack->executeFunctionByHandler(handler, 2);
    lua_settop(L, top);
}

int lua_addCommand(lua_State* L) {
    auto* console = checkSelf<engine::Console>(L, kLuaName, "cc.Console:addCommand");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.Console:addCommand", argc, 2, "");
    lua_settop(L, 3);
    {
        engine::ValueMap description;
        if (luaconv_read_value_map(L, 2, &description)) {
            auto text = [&description](const char* key) {
                auto found = description.find(key);
                return found == description.end() ? std::string() : found->second.asString();
            };
            const int handler = handlerAt(L, 3);
            engine::ScriptHandlerMgr::getInstance()->addCustomHandler(console, handler);
            console->setDestroyCallback(
                [console] { engine::ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(console); });
            // The console's thread hands each line to the main thread; the scheduler
            // outlives the console (the director deletes the console first).
            engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
            std::weak_ptr<const void> lifetime = console->lifetime();
            console->addCommand({text("name"), text("help"), [scheduler, lifetime, handler](int fd, const std::string& args) {
                                     scheduler->performFunctionInEngineThread(
                                         [lifetime, handler, fd, args] { runCommand(lifetime, handler, fd, args); });
                                 }});
        }
    }
    lua_settop(L, 1);
    return 1;
}

int lua_send(lua_State* L) {
    auto* console = checkSelf<engine::Console>(L, kLuaName, "cc.Console:send");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.Console:send", argc, 2, "");
    int32_t fd = 0;
    TextArgument text;
    if (!luaconv_read_int32(L, 2, &fd, "cc.Console:send") || !readArgument(L, 3, &text)) return 0;
    const std::string bytes = text;
    const uint64_t serial = console->clientSerial(fd);
    if (serial == 0) {
        engine::log("Console: send to %d refused: not a client of this console", fd);
        return 0;
    }
    if (!console->sendToClient(fd, serial, bytes.data(), bytes.size())) engine::log("Console: send to client %d failed", fd);
    return 0;
}

int lua_wait(lua_State* L) {
    checkSelf<engine::Console>(L, kLuaName, "cc.Console:wait");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Console:wait", argc, 1, "");
    int32_t seconds = 0;
    if (!luaconv_read_int32(L, 2, &seconds, "cc.Console:wait") || seconds <= 0) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int64_t>(seconds) * 1000));
    return 0;
}

}  // namespace

void register_console_manual(lua_State* L) {
    const ClassFunction functions[] = {{"addCommand", lua_addCommand}, {"send", lua_send}, {"wait", lua_wait}};
    addClassFunctions(L, kLuaName, functions);
}

}  // namespace bindings
