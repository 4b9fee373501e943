#include "engine/renderer/GLProgramCache.h"

#include <vector>

namespace engine {
namespace {

const char* const kPositionTextureColorVertex = R"(#version 110
attribute vec4 a_position;
attribute vec4 a_color;
attribute vec2 a_texCoord;
uniform mat4 u_MVPMatrix;
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
    gl_Position = u_MVPMatrix * a_position;
    v_fragmentColor = a_color;
    v_texCoord = a_texCoord;
}
)";

const char* const kPositionTextureColorFragment = R"(#version 110
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D u_texture;
void main() {
    gl_FragColor = v_fragmentColor * texture2D(u_texture, v_texCoord);
}
)";

const char* const kPositionUColorVertex = R"(#version 110
attribute vec4 a_position;
uniform mat4 u_MVPMatrix;
uniform float u_pointSize;
void main() {
    gl_Position = u_MVPMatrix * a_position;
    gl_PointSize = u_pointSize;
}
)";

const char* const kPositionUColorFragment = R"(#version 110
uniform vec4 u_color;
void main() {
    gl_FragColor = u_color;
}
)";

GLProgramCache* g_cache = nullptr;

}  // namespace

GLProgramCache* GLProgramCache::getInstance() {
    if (!g_cache) g_cache = new GLProgramCache;
    return g_cache;
}

void GLProgramCache::destroyInstance() {
    delete g_cache;
    g_cache = nullptr;
}

GLProgramCache::GLProgramCache() {
    addGLProgram(GLProgram::createWithByteArrays(kPositionTextureColorVertex, kPositionTextureColorFragment),
                 GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR);
    addGLProgram(GLProgram::createWithByteArrays(kPositionUColorVertex, kPositionUColorFragment),
                 GLProgram::SHADER_NAME_POSITION_U_COLOR);
}

GLProgramCache::~GLProgramCache() {
    ++_generation;
    for (GLProgramState* state : _states) state->release();
    for (auto& [name, program] : _programs) program->release();
}

GLProgram* GLProgramCache::getGLProgram(const std::string& name) const {
    auto it = _programs.find(name);
    return it == _programs.end() ? nullptr : it->second;
}

void GLProgramCache::addGLProgram(GLProgram* program, const std::string& name) {
    if (!program) return;
    ++_generation;
    program->retain();
    auto [it, inserted] = _programs.emplace(name, program);
    if (!inserted) {
        it->second->release();
        it->second = program;
    }
}

GLProgramState::GLProgramState(GLProgram* program) : _program(program) { _program->retain(); }

GLProgramState::~GLProgramState() { _program->release(); }

GLProgramState* GLProgramState::getOrCreateWithGLProgram(GLProgram* program) {
    if (!program) return nullptr;
    auto& all = GLProgramCache::getInstance()->_states;
    for (GLProgramState* state : all) {
        if (state->_program == program) return state;
    }
    // Kept by the cache (nodes retain what they use).
    auto* state = new GLProgramState(program);
    all.push_back(state);
    return state;
}

GLProgramState* GLProgramState::getOrCreateWithGLProgramName(const std::string& name) {
    return getOrCreateWithGLProgram(GLProgramCache::getInstance()->getGLProgram(name));
}

void GLProgramState::apply(const Mat4& modelView) {
    _program->use();
    _program->setUniformsForBuiltins(modelView);
    for (const AttribPointer& a : _attribPointers) {
        const VertexAttrib* attrib = _program->getVertexAttrib(a.name);
        if (!attrib) continue;
        GL::fn().enableVertexAttribArray(attrib->index);
        GL::fn().vertexAttribPointer(attrib->index, a.size, a.type, a.normalized, a.stride, a.pointer);
    }
}

void GLProgramState::setVertexAttribPointer(const std::string& name, GLint size, GLenum type, GLboolean normalized,
                                            GLsizei stride, const GLvoid* pointer) {
    for (AttribPointer& a : _attribPointers) {
        if (a.name == name) {
            a = AttribPointer{name, size, type, normalized, stride, pointer};
            return;
        }
    }
    _attribPointers.push_back(AttribPointer{name, size, type, normalized, stride, pointer});
}

}  // namespace engine
