#include "scripting/ScriptKey.h"

#include <cstring>

namespace engine {
namespace {

template <size_t N>
struct Scrambled {
    unsigned char bytes[N] = {};
};

// Evaluated by the compiler: only the scrambled form reaches the program.
template <size_t N>
consteval Scrambled<N> scramble(const char (&plain)[N]) {
    Scrambled<N> out;
    for (size_t i = 0; i < N; ++i) out.bytes[i] = scrambleScriptByte(static_cast<unsigned char>(plain[i]), i);
    return out;
}

constexpr auto kKey = scramble(VEXO_SCRIPT_KEY);
constexpr auto kSign = scramble(VEXO_SCRIPT_SIGN);

template <size_t N>
void unscramble(const Scrambled<N>& scrambled, ScriptSecret& out) {
    static_assert(N <= sizeof out.bytes);
    std::memset(out.bytes, 0, sizeof out.bytes);
    out.length = 0;
    for (size_t i = 0; i < N; ++i) {
        const unsigned char c = scrambleScriptByte(scrambled.bytes[i], i);
        if (c == 0) break;
        out.bytes[i] = c;
        ++out.length;
    }
}

}  // namespace

ScriptSecret::~ScriptSecret() {
    volatile unsigned char* p = bytes;
    for (size_t i = 0; i < sizeof bytes; ++i) p[i] = 0;
}

void buildScriptKey(ScriptSecret& out) { unscramble(kKey, out); }
void buildScriptSign(ScriptSecret& out) { unscramble(kSign, out); }

}  // namespace engine
