#pragma once
// A GL shader program kept as its two GLSL sources. It is compiled and linked
// under the current GL context on first use (and again after the context
// changed); without a context it has no GL name and using it does nothing.
// Attribute locations are fixed before linking: a_position 0, a_color 1,
// a_texCoord 2. Built-in uniforms: u_MVPMatrix (the director's projection times
// the model-view matrix) and u_texture (texture unit 0).
//
// Sources may be written for OpenGL ES: precision statements and the precision
// words (lowp, mediump, highp) are dropped before compiling. After linking the
// program knows its active uniforms and vertex attributes (an array uniform under
// its name without "[0]"). The uniform setters make the program current first;
// without a program they do nothing.
#include <string>
#include <utility>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/RenderRecords.h"

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

    // Takes the sources from two files (found through FileUtils). False, with
    // the sources unchanged, when either file cannot be read or is empty.
    bool initWithFilenames(const std::string& vertexFile, const std::string& fragmentFile);

    // The program of the current context, compiled and linked on first use; 0
    // without a context or when compiling or linking failed (logged once per context).
    GLuint getProgram();
    // Makes it the current program (nothing when getProgram() is 0).
    void use();
    void setUniformsForBuiltins(const Mat4& modelView);
    // -1 when unknown or without a program.
    GLint getUniformLocation(const std::string& name);
    // The active uniform / vertex attribute of that name; null when the program
    // has none (or no program).
    const Uniform* getUniform(const std::string& name);
    const VertexAttrib* getVertexAttrib(const std::string& name);

    void setUniformLocationWith1f(GLint location, GLfloat v0);
    void setUniformLocationWith2f(GLint location, GLfloat v0, GLfloat v1);
    void setUniformLocationWith3f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2);
    void setUniformLocationWith4f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3);
    // count elements of 2, 3 or 4 ints / 2x2, 3x3 or 4x4 floats, one after the other.
    void setUniformLocationWith2iv(GLint location, const GLint* values, unsigned int count);
    void setUniformLocationWith3iv(GLint location, const GLint* values, unsigned int count);
    void setUniformLocationWith4iv(GLint location, const GLint* values, unsigned int count);
    void setUniformLocationWithMatrix2fv(GLint location, const GLfloat* values, unsigned int count);
    void setUniformLocationWithMatrix3fv(GLint location, const GLfloat* values, unsigned int count);
    void setUniformLocationWithMatrix4fv(GLint location, const GLfloat* values, unsigned int count);

    const std::string& getVertexSource() const { return _vertexSource; }
    const std::string& getFragmentSource() const { return _fragmentSource; }

    ~GLProgram() override;

private:
    GLProgram() = default;
    GLuint compile(GLenum type, const std::string& source);
    bool link();
    void reflect();
    // use() and true when there is a program to set uniforms of.
    bool makeCurrent();

    std::string _vertexSource;
    std::string _fragmentSource;
    GLuint _program = 0;
    uint32_t _generation = 0;   // the context generation _program belongs to
    std::vector<std::pair<std::string, GLint>> _uniforms;   // locations asked for
    std::vector<Uniform> _activeUniforms;
    std::vector<VertexAttrib> _activeAttributes;
};

}  // namespace engine
