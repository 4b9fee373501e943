#pragma once
// One drawing of a technique: a program state (the shader and its uniforms),
// the vertex attribute binding it reads with, and its own render state over its
// technique's and material's. Main thread only.
#include "engine/base/Mat4.h"
#include "engine/material/RenderState.h"

namespace engine {

class GLProgramState;
class Technique;
class VertexAttribBinding;

class Pass : public RenderState {
public:
    // Autoreleased; the technique is the pass's parent (not retained) and may be null.
    static Pass* create(Technique* technique);
    static Pass* createWithGLProgramState(Technique* technique, GLProgramState* state);
    ~Pass() override;

    void setGLProgramState(GLProgramState* state);   // retained
    GLProgramState* getGLProgramState() const { return _glProgramState; }
    void setVertexAttribBinding(VertexAttribBinding* binding);   // retained
    VertexAttribBinding* getVertexAttributeBinding() const { return _vertexAttribBinding; }
    Technique* getTechnique() const;

    // Binds the levels' render states, the texture (unit 0), the program with its
    // built-in uniforms for modelView and the attribute binding.
    void bind(const Mat4& modelView);
    void unbind();
    // A copy under no technique, sharing the program state and binding.
    Pass* clone() const;

private:
    friend class Technique;
    Pass() = default;
    GLProgramState* _glProgramState = nullptr;
    VertexAttribBinding* _vertexAttribBinding = nullptr;
};

}  // namespace engine
