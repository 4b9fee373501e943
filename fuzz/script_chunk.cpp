// Script chunks as shipped in resource files: protected (sign + XXTEA body),
// "VEXZ" compressed, or plain. The first input byte chooses the layers around the
// rest: with 2 set the rest is compressed into a valid "VEXZ" chunk; with 4 set it
// is then protected with the key and sign, so the fuzzer's bytes reach the Lua
// loader through both layers; with 1 set and not 4 the sign goes in front of the
// bytes as they are (a body that seldom decrypts). Chunks are loaded, never run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "scripting/LuaStack.h"
#include "tests/scripting/ChunkMaker.h"

namespace {

const char kKey[] = "fuzz-key-0123456";
const char kSign[] = "FZSIGN";

engine::LuaStack* fuzzStack() {
    static engine::LuaStack* stack = [] {
        engine::LuaStack* s = engine::LuaStack::create();
        s->retain();
        engine::AutoreleasePool::getInstance()->clear();
        s->setScriptKey(reinterpret_cast<const unsigned char*>(kKey), 16,
                        reinterpret_cast<const unsigned char*>(kSign), 6);
        return s;
    }();
    return stack;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1u << 20)) return 0;
    std::string chunk(reinterpret_cast<const char*>(data + 1), size - 1);
    if ((data[0] & 2) && !chunk.empty()) chunk = scripttest::compressChunk(chunk);
    if (data[0] & 4) {
        chunk = kSign + scripttest::protectBody(chunk, kKey);
    } else if (data[0] & 1) {
        chunk = kSign + chunk;
    }
    engine::LuaStack* stack = fuzzStack();
    lua_State* L = stack->getLuaState();
    stack->loadScriptBuffer(L, chunk.data(), static_cast<int>(chunk.size()), "fuzz");
    lua_settop(L, 0);
    return 0;
}
