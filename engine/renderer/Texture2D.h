#pragma once
// A texture of the renderer. For now only its sampling parameters record exists;
// the texture itself arrives with the renderer.
#include <cstdint>

#include "engine/base/Ref.h"

namespace engine {

class Texture2D : public Ref {
public:
    // Filters and wrap modes as GL enums (GL_LINEAR = 0x2601, GL_CLAMP_TO_EDGE = 0x812F).
    struct _TexParams {
        uint32_t minFilter = 0x2601;
        uint32_t magFilter = 0x2601;
        uint32_t wrapS = 0x812F;
        uint32_t wrapT = 0x812F;
    };

protected:
    Texture2D() = default;
};

}  // namespace engine
