#pragma once
// Plain records of the renderer that cross to scripts: blend functions, shader
// uniforms and attributes, mesh vertex attributes. GL enums are unsigned 32-bit.
#include <cstdint>
#include <string>

namespace engine {

using GLenumValue = uint32_t;

// Source and destination factors of glBlendFunc (GL_ONE = 1, GL_ONE_MINUS_SRC_ALPHA = 0x0303).
struct BlendFunc {
    GLenumValue src = 1;
    GLenumValue dst = 0x0303;
    constexpr bool operator==(const BlendFunc& o) const { return src == o.src && dst == o.dst; }
};

// An active uniform of a linked shader program.
struct Uniform {
    int32_t location = -1;
    int32_t size = 0;
    GLenumValue type = 0;
    std::string name;
};

// An active vertex attribute of a linked shader program.
struct VertexAttrib {
    uint32_t index = 0;
    int32_t size = 0;
    GLenumValue type = 0;
    std::string name;
};

// One attribute of a 3D mesh's vertex layout.
struct MeshVertexAttrib {
    int32_t size = 0;
    GLenumValue type = 0;
    int32_t vertexAttrib = 0;
    int32_t attribSizeBytes = 0;
};

}  // namespace engine
