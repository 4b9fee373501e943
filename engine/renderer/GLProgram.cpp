#include "engine/renderer/GLProgram.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/ShaderSource.h"

namespace engine {

const char* const GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR = "ShaderPositionTextureColor";
const char* const GLProgram::SHADER_NAME_POSITION_U_COLOR = "ShaderPosition_uColor";

GLProgram* GLProgram::createWithByteArrays(const char* vertexSource, const char* fragmentSource) {
    auto* program = new GLProgram;
    program->_vertexSource = vertexSource ? vertexSource : "";
    program->_fragmentSource = fragmentSource ? fragmentSource : "";
    program->autorelease();
    return program;
}

namespace {

std::string withoutArraySuffix(std::string name) {
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "[0]") == 0) name.resize(name.size() - 3);
    return name;
}

}  // namespace

bool GLProgram::initWithFilenames(const std::string& vertexFile, const std::string& fragmentFile) {
    FileUtils* files = FileUtils::getInstance();
    std::string vertex = files->getStringFromFile(files->fullPathForFilename(vertexFile));
    std::string fragment = files->getStringFromFile(files->fullPathForFilename(fragmentFile));
    if (vertex.empty() || fragment.empty()) {
        log("GLProgram: cannot read the shader file %s", (vertex.empty() ? vertexFile : fragmentFile).c_str());
        return false;
    }
    if (_program && _generation == GL::contextGeneration()) GL::fn().deleteProgram(_program);
    _program = 0;
    _generation = 0;
    _vertexSource = std::move(vertex);
    _fragmentSource = std::move(fragment);
    return true;
}

GLProgram::~GLProgram() {
    if (_program && _generation == GL::contextGeneration()) GL::fn().deleteProgram(_program);
}

GLuint GLProgram::compile(GLenum type, const std::string& source) {
    const GLFunctions& gl = GL::fn();
    GLuint shader = gl.createShader(type);
    if (!shader) return 0;
    const std::string prepared = withoutPrecisionQualifiers(source);
    const GLchar* text = prepared.c_str();
    gl.shaderSource(shader, 1, &text, nullptr);
    gl.compileShader(shader);
    GLint status = 0;
    gl.getShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (!status) {
        char message[1024] = {};
        gl.getShaderInfoLog(shader, sizeof message, nullptr, message);
        log("GLProgram: %s shader does not compile: %s", type == GL_VERTEX_SHADER ? "vertex" : "fragment", message);
        gl.deleteShader(shader);
        return 0;
    }
    return shader;
}

bool GLProgram::link() {
    const GLFunctions& gl = GL::fn();
    GLuint vertex = compile(GL_VERTEX_SHADER, _vertexSource);
    GLuint fragment = vertex ? compile(GL_FRAGMENT_SHADER, _fragmentSource) : 0;
    GLuint program = fragment ? gl.createProgram() : 0;
    if (program) {
        gl.attachShader(program, vertex);
        gl.attachShader(program, fragment);
        gl.bindAttribLocation(program, VERTEX_ATTRIB_POSITION, "a_position");
        gl.bindAttribLocation(program, VERTEX_ATTRIB_COLOR, "a_color");
        gl.bindAttribLocation(program, VERTEX_ATTRIB_TEX_COORD, "a_texCoord");
        gl.linkProgram(program);
        GLint status = 0;
        gl.getProgramiv(program, GL_LINK_STATUS, &status);
        if (!status) {
            char message[1024] = {};
            gl.getProgramInfoLog(program, sizeof message, nullptr, message);
            log("GLProgram: program does not link: %s", message);
            gl.deleteProgram(program);
            program = 0;
        }
    }
    if (vertex) gl.deleteShader(vertex);
    if (fragment) gl.deleteShader(fragment);
    _program = program;
    if (program) reflect();
    return program != 0;
}

namespace {

// Calls fn(name, size, type) for each active attribute or uniform of program;
// countName and maxLengthName are the program queries of their number and of
// their longest name, query the entry point that describes one.
template <class Query, class F>
void forEachActive(GLuint program, GLenum countName, GLenum maxLengthName, Query query, F&& fn) {
    const GLFunctions& gl = GL::fn();
    GLint count = 0, longest = 0;
    gl.getProgramiv(program, countName, &count);
    gl.getProgramiv(program, maxLengthName, &longest);
    std::vector<GLchar> name(static_cast<size_t>(std::max(longest, 1)) + 1);
    const auto bufSize = static_cast<GLsizei>(name.size());
    for (GLint i = 0; i < count; ++i) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        name[0] = 0;
        query(program, static_cast<GLuint>(i), bufSize, &length, &size, &type, name.data());
        fn(std::string(name.data(), static_cast<size_t>(std::clamp<GLsizei>(length, 0, bufSize - 1))), size, type);
    }
}

}  // namespace

void GLProgram::reflect() {
    const GLFunctions& gl = GL::fn();
    forEachActive(_program, GL_ACTIVE_ATTRIBUTES, GL_ACTIVE_ATTRIBUTE_MAX_LENGTH, gl.getActiveAttrib,
                  [&](std::string name, GLint size, GLenum type) {
                      VertexAttrib attrib;
                      attrib.name = std::move(name);
                      attrib.size = size;
                      attrib.type = type;
                      const GLint location = gl.getAttribLocation(_program, attrib.name.c_str());
                      if (location < 0) return;
                      attrib.index = static_cast<uint32_t>(location);
                      _activeAttributes.push_back(std::move(attrib));
                  });
    forEachActive(_program, GL_ACTIVE_UNIFORMS, GL_ACTIVE_UNIFORM_MAX_LENGTH, gl.getActiveUniform,
                  [&](std::string name, GLint size, GLenum type) {
                      Uniform uniform;
                      uniform.name = withoutArraySuffix(std::move(name));
                      if (uniform.name.compare(0, 3, "gl_") == 0) return;
                      uniform.size = size;
                      uniform.type = type;
                      uniform.location = getUniformLocation(uniform.name);
                      _activeUniforms.push_back(std::move(uniform));
                  });
}

GLuint GLProgram::getProgram() {
    if (!GL::fn().hasContext) return 0;
    if (_generation != GL::contextGeneration()) {
        _generation = GL::contextGeneration();
        _uniforms.clear();
        _activeUniforms.clear();
        _activeAttributes.clear();
        link();
    }
    return _program;
}

void GLProgram::use() {
    if (GLuint program = getProgram()) GL::useProgram(program);
}

GLint GLProgram::getUniformLocation(const std::string& name) {
    GLuint program = getProgram();
    if (!program) return -1;
    for (const auto& [known, location] : _uniforms) {
        if (known == name) return location;
    }
    GLint location = GL::fn().getUniformLocation(program, name.c_str());
    _uniforms.emplace_back(name, location);
    return location;
}

const Uniform* GLProgram::getUniform(const std::string& name) {
    if (!getProgram()) return nullptr;
    for (const Uniform& uniform : _activeUniforms) {
        if (uniform.name == name) return &uniform;
    }
    return nullptr;
}

const VertexAttrib* GLProgram::getVertexAttrib(const std::string& name) {
    if (!getProgram()) return nullptr;
    for (const VertexAttrib& attrib : _activeAttributes) {
        if (attrib.name == name) return &attrib;
    }
    return nullptr;
}

bool GLProgram::makeCurrent() {
    GLuint program = getProgram();
    if (program) GL::useProgram(program);
    return program != 0;
}

void GLProgram::setUniformLocationWith1f(GLint location, GLfloat v0) {
    if (makeCurrent()) GL::fn().uniform1f(location, v0);
}

void GLProgram::setUniformLocationWith2f(GLint location, GLfloat v0, GLfloat v1) {
    if (makeCurrent()) GL::fn().uniform2f(location, v0, v1);
}

void GLProgram::setUniformLocationWith3f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2) {
    if (makeCurrent()) GL::fn().uniform3f(location, v0, v1, v2);
}

void GLProgram::setUniformLocationWith4f(GLint location, GLfloat v0, GLfloat v1, GLfloat v2, GLfloat v3) {
    if (makeCurrent()) GL::fn().uniform4f(location, v0, v1, v2, v3);
}

void GLProgram::setUniformLocationWith2iv(GLint location, const GLint* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniform2iv(location, static_cast<GLsizei>(count), values);
}

void GLProgram::setUniformLocationWith3iv(GLint location, const GLint* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniform3iv(location, static_cast<GLsizei>(count), values);
}

void GLProgram::setUniformLocationWith4iv(GLint location, const GLint* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniform4iv(location, static_cast<GLsizei>(count), values);
}

void GLProgram::setUniformLocationWithMatrix2fv(GLint location, const GLfloat* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniformMatrix2fv(location, static_cast<GLsizei>(count), GL_FALSE, values);
}

void GLProgram::setUniformLocationWithMatrix3fv(GLint location, const GLfloat* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniformMatrix3fv(location, static_cast<GLsizei>(count), GL_FALSE, values);
}

void GLProgram::setUniformLocationWithMatrix4fv(GLint location, const GLfloat* values, unsigned int count) {
    if (makeCurrent()) GL::fn().uniformMatrix4fv(location, static_cast<GLsizei>(count), GL_FALSE, values);
}

void GLProgram::setUniformsForBuiltins(const Mat4& modelView) {
    if (!getProgram()) return;
    Director* director = Director::getInstance();
    Mat4 mvp = director->getMatrix(MATRIX_STACK_TYPE::MATRIX_STACK_PROJECTION) * modelView;
    GLint mvpLocation = getUniformLocation("u_MVPMatrix");
    if (mvpLocation >= 0) GL::fn().uniformMatrix4fv(mvpLocation, 1, GL_FALSE, mvp.m);
    GLint textureLocation = getUniformLocation("u_texture");
    if (textureLocation >= 0) GL::fn().uniform1i(textureLocation, 0);
}

}  // namespace engine
