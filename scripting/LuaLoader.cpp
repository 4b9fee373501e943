#include "scripting/LuaLoader.h"

#include <cstdlib>
#include <string>

#include "engine/files/FileUtils.h"
#include "scripting/LuaStack.h"

namespace {

// What the walk found: the chunk name and the file's bytes.
struct FoundChunk {
    std::string chunkName;
    unsigned char* bytes = nullptr;
    ptrdiff_t size = 0;
    ~FoundChunk() { std::free(bytes); }
};

std::string moduleFileName(std::string name) {
    const size_t luac = name.rfind(".luac");
    if (luac != std::string::npos) {
        name.resize(luac);
    } else if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".lua") == 0) {
        name.resize(name.size() - 4);
    }
    for (char& c : name) {
        if (c == '.') c = '/';
    }
    return name;
}

bool findChunk(const std::string& name, const std::string& searchPath, FoundChunk& found) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    size_t begin = 0;
    while (begin <= searchPath.size()) {
        size_t end = searchPath.find(';', begin);
        if (end == std::string::npos) end = searchPath.size();
        std::string segment = searchPath.substr(begin, end - begin);
        begin = end + 1;
        if (segment.rfind("./", 0) == 0) segment.erase(0, 2);
        const size_t mark = segment.find("?.lua");
        const std::string prefix = mark == std::string::npos ? segment : segment.substr(0, mark);
        for (const char* ext : {".luac", ".lua"}) {
            std::string candidate = prefix + name + ext;
            if (files->isFileExist(candidate)) {
                found.bytes = files->getFileData(candidate, "rb", &found.size);
                found.chunkName = std::move(candidate);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

extern "C" int engine_lua_loader(lua_State* L) {
    // Lua errors first: nothing with a destructor exists yet in this frame.
    const char* module = luaL_checkstring(L, 1);
    lua_getglobal(L, "package");
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "path");
    } else {
        lua_pushnil(L);
    }
    const char* path = lua_tostring(L, -1);
    engine::LuaStack* stack = engine::LuaStack::fromState(L);
    if (!path || !stack) return 0;

    const int top = lua_gettop(L);
    {
        FoundChunk found;
        if (!findChunk(moduleFileName(module), path, found)) return 0;
        stack->loadScriptBuffer(L, reinterpret_cast<const char*>(found.bytes), static_cast<int>(found.size),
                                found.chunkName.c_str());
    }
    // On failure require goes on; Lua's message, when there is one, is what it
    // collects. Our own statuses (3, 4) share their numbers with Lua's syntax and
    // memory errors but push nothing: the stack height tells them apart.
    if (lua_gettop(L) == top) lua_pushnil(L);
    return 1;
}
