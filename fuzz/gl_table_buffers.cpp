// Any bytes as calls of the `gl` table members that build or answer buffers,
// against the recording GL table: each byte of the input picks a member or one
// of its numbers (sizes, counts, formats and n drawn from a list of edge values
// or taken raw) and the size of its table. Every call either reaches GL with a
// buffer holding all GL reads (the recorder copies it, so a short buffer is a
// read past its end) or returns without calling GL; never a crash, a leak or a
// call taking more than the table's per-call budget.
#include <lua.hpp>
#include <tolua++.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "bindings/opengl/LuaGLTable.h"
#include "engine/renderer/GLRecorder.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct Member {
    const char* name;
    int numbers;   // numeric arguments before the table (or all of them)
    bool table;    // a table follows the numbers
};

const Member kMembers[] = {
    {"bufferData", 2, true},       {"bufferSubData", 3, true},     {"compressedTexImage2D", 8, true},
    {"compressedTexSubImage2D", 9, true}, {"drawElements", 4, true}, {"_texImage2D", 9, true},
    {"_texSubImage2D", 9, false},  {"readPixels", 7, false},       {"uniform4fv", 3, true},
    {"uniform3iv", 3, true},       {"uniformMatrix3fv", 3, true},  {"vertexAttrib4fv", 2, true},
    {"pixelStorei", 2, false},
};

const double kEdges[] = {0,     1,     2,     3,     4,      -1,          8,          3553,      6408,
                         6407,  5121,  5123,  5125,  4,      3317,        3333,       16384,     4096,
                         65536, 1e9,   2e9,   4294967296.0,  268435456.0, 1099511627776.0, 0.5, 33776};

double numberFrom(uint8_t byte) {
    constexpr size_t kCount = sizeof kEdges / sizeof kEdges[0];
    return byte < kCount ? kEdges[byte] : static_cast<double>(byte) - 100;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static lua_State* L = [] {
        lua_State* state = luaL_newstate();
        luaL_openlibs(state);
        tolua_open(state);
        lua_pushvalue(state, LUA_GLOBALSINDEX);
        bindings::register_gl_module(state);
        lua_pop(state, 1);
        return state;
    }();
    std::optional<engine::GLRecorder> recorder;
    recorder.emplace();
    size_t at = 0;
    const auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
    // Each call may take the whole per-call budget: a few dozen a run.
    for (int call = 0; call < 32 && at < size; ++call) {
        const Member& member = kMembers[next() % (sizeof kMembers / sizeof kMembers[0])];
        lua_getglobal(L, "gl");
        lua_getfield(L, -1, member.name);
        lua_remove(L, -2);
        for (int i = 0; i < member.numbers; ++i) lua_pushnumber(L, numberFrom(next()));
        int arguments = member.numbers;
        if (member.table) {
            const int entries = next() % 17;
            lua_createtable(L, entries, 0);
            for (int i = 1; i <= entries; ++i) {
                lua_pushnumber(L, numberFrom(next()));
                lua_rawseti(L, -2, i);
            }
            ++arguments;
        }
        // Argument errors are the script's; nothing else may stop a call.
        if (lua_pcall(L, arguments, 0, 0) != 0) lua_pop(L, 1);
        fuzzsupport::check(lua_gettop(L) == 0, "the stack is left as it was");
        if (recorder->calls().size() > 64) recorder.emplace();
    }
    return 0;
}
