#include "engine/material/VertexAttribBinding.h"

#include "engine/base/Log.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"

namespace engine {

VertexAttribBinding* VertexAttribBinding::create(GLProgramState* state) {
    auto* binding = new VertexAttribBinding;
    if (state) state->retain();
    binding->_state = state;
    binding->autorelease();
    return binding;
}

VertexAttribBinding::~VertexAttribBinding() {
    if (_state) _state->release();
}

int VertexAttribBinding::locationOf(const std::string& name) {
    if (name == "a_position") return GLProgram::VERTEX_ATTRIB_POSITION;
    if (name == "a_color") return GLProgram::VERTEX_ATTRIB_COLOR;
    if (name == "a_texCoord") return GLProgram::VERTEX_ATTRIB_TEX_COORD;
    return -1;
}

bool VertexAttribBinding::setVertexAttribPointer(const std::string& name, int size, uint32_t type, bool normalized,
                                                 int stride, uintptr_t offset) {
    const int location = locationOf(name);
    if (location < 0 || size < 1 || size > 4 || stride < 0) {
        log("VertexAttribBinding: no attribute %s of size %d", name.c_str(), size);
        return false;
    }
    _attributes[location] = Attribute{size, type, normalized, stride, offset};
    return true;
}

uint32_t VertexAttribBinding::getVertexAttribsFlags() const {
    uint32_t flags = 0;
    for (const auto& [location, attribute] : _attributes) flags |= 1u << location;
    return flags;
}

const VertexAttribBinding::Attribute* VertexAttribBinding::getAttribute(int location) const {
    auto it = _attributes.find(location);
    return it == _attributes.end() ? nullptr : &it->second;
}

void VertexAttribBinding::bind() const {
    const GLFunctions& gl = GL::fn();
    for (const auto& [location, a] : _attributes) {
        gl.enableVertexAttribArray(static_cast<GLuint>(location));
        gl.vertexAttribPointer(static_cast<GLuint>(location), a.size, a.type, a.normalized ? GL_TRUE : GL_FALSE,
                               a.stride, reinterpret_cast<const void*>(a.offset));
    }
}

void VertexAttribBinding::unbind() const {
    const GLFunctions& gl = GL::fn();
    for (const auto& entry : _attributes) gl.disableVertexAttribArray(static_cast<GLuint>(entry.first));
}

}  // namespace engine
