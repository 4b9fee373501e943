#pragma once
// The script key (16 bytes) and sign (6 bytes) that protected chunks are made
// with. Both come from the build configuration (VEXO_SCRIPT_KEY, VEXO_SCRIPT_SIGN)
// and are stored in the program only scrambled: each byte at position i is the
// bitwise complement of the plain byte XOR entry i % 5 of a small table. They
// are unscrambled into the caller's buffer, used and wiped.
#include <array>
#include <cstddef>

namespace engine {

struct ScriptSecret {
    unsigned char bytes[32] = {};
    int length = 0;   // up to the terminating zero
    ~ScriptSecret();  // wipes the bytes
};

// Unscrambles the configured key / sign into out.
void buildScriptKey(ScriptSecret& out);
void buildScriptSign(ScriptSecret& out);

// The scrambling (its own inverse).
inline constexpr std::array<unsigned char, 5> kScriptKeyMask = {0x5a, 0xc3, 0x17, 0x9e, 0x64};
constexpr unsigned char scrambleScriptByte(unsigned char c, size_t i) {
    return static_cast<unsigned char>(~(c ^ kScriptKeyMask[i % 5]));
}

}  // namespace engine
