#pragma once
// Shader programs by name. The engine's own programs are there from the start
// (GLProgram::SHADER_NAME_*), written in GLSL 1.10. Main thread only.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/renderer/GLProgram.h"

namespace engine {

class GLProgramState;

class GLProgramCache {
public:
    static GLProgramCache* getInstance();
    static void destroyInstance();

    // nullptr for an unknown name.
    GLProgram* getGLProgram(const std::string& name) const;
    // Retains the program, replacing (and releasing) one of the same name.
    void addGLProgram(GLProgram* program, const std::string& name);
    // Grows whenever a cache is made or destroyed or a program is added: whoever
    // keeps a program or state found here looks it up again once it moved.
    static uint64_t generation() { return _generation; }

private:
    GLProgramCache();
    ~GLProgramCache();

    friend class GLProgramState;
    static inline uint64_t _generation = 0;
    std::map<std::string, GLProgram*> _programs;
    std::vector<GLProgramState*> _states;   // shared states, one per program
};

// The uniform state a node draws with: its program, the built-in uniforms and
// the vertex attributes given by pointer (set again at every apply, each at the
// location of the program's attribute of that name; a name the program lacks is
// skipped). One state per program, shared, kept by the program cache until it is
// destroyed. Main thread only.
class GLProgramState : public Ref {
public:
    // The program's shared state (made on first request); nullptr for a null program.
    static GLProgramState* getOrCreateWithGLProgram(GLProgram* program);
    // Same for a program of the cache; nullptr for an unknown name.
    static GLProgramState* getOrCreateWithGLProgramName(const std::string& name);

    GLProgram* getGLProgram() const { return _program; }
    // Uses the program and sets its built-in uniforms for the model-view matrix.
    void apply(const Mat4& modelView);
    // Keeps (replaces) the attribute's layout; pointer is client memory or a byte
    // offset into the array buffer bound when apply runs.
    void setVertexAttribPointer(const std::string& name, GLint size, GLenum type, GLboolean normalized,
                                GLsizei stride, const GLvoid* pointer);

    struct AttribPointer {
        std::string name;
        GLint size;
        GLenum type;
        GLboolean normalized;
        GLsizei stride;
        const GLvoid* pointer;
    };
    const std::vector<AttribPointer>& getAttribPointers() const { return _attribPointers; }

    ~GLProgramState() override;

private:
    explicit GLProgramState(GLProgram* program);
    GLProgram* _program;
    std::vector<AttribPointer> _attribPointers;
};

}  // namespace engine
