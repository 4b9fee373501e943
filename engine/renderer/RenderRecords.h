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

    static const BlendFunc DISABLE;                   // one, zero
    static const BlendFunc ALPHA_PREMULTIPLIED;       // one, one minus source alpha
    static const BlendFunc ALPHA_NON_PREMULTIPLIED;   // source alpha, one minus source alpha
    static const BlendFunc ADDITIVE;                  // source alpha, one
};

inline constexpr BlendFunc BlendFunc::DISABLE{1, 0};
inline constexpr BlendFunc BlendFunc::ALPHA_PREMULTIPLIED{1, 0x0303};
inline constexpr BlendFunc BlendFunc::ALPHA_NON_PREMULTIPLIED{0x0302, 0x0303};
inline constexpr BlendFunc BlendFunc::ADDITIVE{0x0302, 1};

// A node that draws with a blend function of its own.
class BlendProtocol {
public:
    virtual ~BlendProtocol() = default;
    virtual void setBlendFunc(const BlendFunc& blendFunc) = 0;
    virtual const BlendFunc& getBlendFunc() const = 0;
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
