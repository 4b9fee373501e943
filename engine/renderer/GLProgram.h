#pragma once
// A GL shader program kept as its two GLSL sources. It is compiled and linked
// under the current GL context on first use (and again after the context
// changed); without a context it has no GL name and using it does nothing.
// Attribute locations are fixed before linking: a_position 0, a_color 1,
// a_texCoord 2. Built-in uniforms: u_MVPMatrix (the director's projection times
// the model-view matrix) and u_texture (texture unit 0).
#include <string>
#include <utility>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/renderer/GLFunctions.h"

namespace engine {

class GLProgram : public Ref {
public:
    // Textured, per-vertex colour: gl_FragColor = colour * texel.
    static const char* const SHADER_NAME_POSITION_TEXTURE_COLOR;
    // Untextured, one colour and point size from uniforms (u_color, u_pointSize).
    static const char* const SHADER_NAME_POSITION_U_COLOR;

    enum { VERTEX_ATTRIB_POSITION = 0, VERTEX_ATTRIB_COLOR = 1, VERTEX_ATTRIB_TEX_COORD = 2 };

    // Autoreleased.
    static GLProgram* createWithByteArrays(const char* vertexSource, const char* fragmentSource);

    // The program of the current context, compiled and linked on first use; 0
    // without a context or when compiling or linking failed (logged once per context).
    GLuint getProgram();
    // Makes it the current program (nothing when getProgram() is 0).
    void use();
    void setUniformsForBuiltins(const Mat4& modelView);
    // -1 when unknown or without a program.
    GLint getUniformLocation(const std::string& name);

    const std::string& getVertexSource() const { return _vertexSource; }
    const std::string& getFragmentSource() const { return _fragmentSource; }

    ~GLProgram() override;

private:
    GLProgram() = default;
    GLuint compile(GLenum type, const std::string& source);
    bool link();

    std::string _vertexSource;
    std::string _fragmentSource;
    GLuint _program = 0;
    uint32_t _generation = 0;   // the context generation _program belongs to
    std::vector<std::pair<std::string, GLint>> _uniforms;
};

}  // namespace engine
