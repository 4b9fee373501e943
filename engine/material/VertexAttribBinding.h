#pragma once
// Which vertex attributes a pass reads and where from: per attribute of the
// program (by name: a_position, a_color, a_texCoord, at their fixed locations),
// its component count, GL type, normalisation, stride and byte offset into the
// bound vertex buffer. bind() enables and points them, unbind() disables them
// again. Main thread only.
#include <cstdint>
#include <map>
#include <string>

#include "engine/base/Ref.h"

namespace engine {

class GLProgramState;

class VertexAttribBinding : public Ref {
public:
    struct Attribute {
        int size = 0;
        uint32_t type = 0;
        bool normalized = false;
        int stride = 0;
        uintptr_t offset = 0;
    };

    // Autoreleased; the state is retained (null allowed).
    static VertexAttribBinding* create(GLProgramState* state);
    ~VertexAttribBinding() override;

    // False (logged) for a name the program does not give a location.
    bool setVertexAttribPointer(const std::string& name, int size, uint32_t type, bool normalized, int stride,
                                uintptr_t offset);
    // Bit i set: the attribute at location i is enabled.
    uint32_t getVertexAttribsFlags() const;
    int getVertexAttribCount() const { return static_cast<int>(_attributes.size()); }
    const Attribute* getAttribute(int location) const;
    GLProgramState* getGLProgramState() const { return _state; }
    void bind() const;
    void unbind() const;
    // The fixed location of an attribute name; -1 when it has none.
    static int locationOf(const std::string& name);

private:
    VertexAttribBinding() = default;
    GLProgramState* _state = nullptr;
    std::map<int, Attribute> _attributes;
};

}  // namespace engine
