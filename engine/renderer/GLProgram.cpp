#include "engine/renderer/GLProgram.h"

#include "engine/base/Director.h"
#include "engine/base/Log.h"

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

GLProgram::~GLProgram() {
    if (_program && _generation == GL::contextGeneration()) GL::fn().deleteProgram(_program);
}

GLuint GLProgram::compile(GLenum type, const std::string& source) {
    const GLFunctions& gl = GL::fn();
    GLuint shader = gl.createShader(type);
    if (!shader) return 0;
    const GLchar* text = source.c_str();
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
    return program != 0;
}

GLuint GLProgram::getProgram() {
    if (!GL::fn().hasContext) return 0;
    if (_generation != GL::contextGeneration()) {
        _generation = GL::contextGeneration();
        _uniforms.clear();
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
