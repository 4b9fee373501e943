#pragma once
// A GL table for tests: while a GLRecorder lives, every GL call of the engine is
// logged in order with its arguments instead of reaching a context. Each draw
// also keeps a copy of what it read from client memory: the index array of
// glDrawElements and, for every enabled vertex attribute set by pointer, the bytes
// of every vertex the draw reads. Objects get names counting from 1, shaders
// compile and programs link, uniform locations count from 0 per program, and
// glReadPixels answers zero bytes. Every linked program reports the active
// uniforms and attributes a test puts in activeUniforms and activeAttributes (none
// by default); glGetAttribLocation answers an attribute's index from that list. Only one recorder at a time; its destructor
// installs the no-op table. Main thread only.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/renderer/GLFunctions.h"

namespace engine {

struct GLRecordedArray {
    GLuint index = 0;
    GLint size = 0;
    GLenum type = 0;
    bool normalized = false;
    GLsizei stride = 0;                 // effective stride in bytes
    std::vector<unsigned char> bytes;   // vertices 0 .. last read, stride apart

    size_t vertexCount() const { return stride ? bytes.size() / static_cast<size_t>(stride) : 0; }
    float floatAt(size_t vertex, int component) const;            // type GL_FLOAT
    unsigned ubyteAt(size_t vertex, int component) const;         // type GL_UNSIGNED_BYTE
};

struct GLRecordedCall {
    std::string name;                   // the GL name, e.g. "glDrawElements"
    std::vector<double> args;           // the numeric arguments in order (pointers left out)
    std::string text;                   // a string argument (shader source, uniform or attribute name)
    std::vector<float> floats;          // glUniformMatrix*fv and glUniform*iv values
    std::vector<uint32_t> indices;      // glDrawElements: the indices read
    std::vector<unsigned char> pixels;  // glTexImage2D, glTexSubImage2D: the pixels read (none for a null pointer)
    std::vector<GLRecordedArray> arrays;   // draws: the enabled client arrays, by attribute index

    const GLRecordedArray* array(GLuint index) const;
};

class GLRecorder {
public:
    GLRecorder();
    ~GLRecorder();
    GLRecorder(const GLRecorder&) = delete;
    GLRecorder& operator=(const GLRecorder&) = delete;

    const std::vector<GLRecordedCall>& calls() const { return _calls; }
    std::vector<const GLRecordedCall*> callsNamed(std::string_view name) const;
    size_t count(std::string_view name) const;
    // The draw calls (glDrawElements and glDrawArrays) in order.
    std::vector<const GLRecordedCall*> draws() const;
    // Forgets the calls so far (object names and bound state stay).
    void clear() { _calls.clear(); }

    // Used by the recording table.
    static GLRecorder* current();
    GLRecordedCall& add(std::string name, std::vector<double> args = {});

    struct AttribPointer {
        bool enabled = false;
        GLint size = 0;
        GLenum type = 0;
        bool normalized = false;
        GLsizei stride = 0;
        const void* pointer = nullptr;
        GLuint buffer = 0;   // the array buffer bound when the pointer was set
    };
    struct Active {
        std::string name;
        GLint size = 1;
        GLenum type = GL_FLOAT;
        GLint index = 0;   // attributes: the location glGetAttribLocation answers
    };
    std::vector<Active> activeUniforms;
    std::vector<Active> activeAttributes;

    AttribPointer _attribs[16];
    GLuint _arrayBuffer = 0;
    GLuint _elementBuffer = 0;
    GLuint _nextName = 1;
    std::vector<std::pair<GLuint, GLint>> _uniformCounters;   // program, next location

private:
    std::vector<GLRecordedCall> _calls;
};

}  // namespace engine
