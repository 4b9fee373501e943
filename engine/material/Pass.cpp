#include "engine/material/Pass.h"

#include "engine/material/Technique.h"
#include "engine/material/VertexAttribBinding.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

Pass* Pass::create(Technique* technique) {
    auto* pass = new Pass;
    pass->setParentState(technique);
    return autoreleased(pass);
}

Pass* Pass::createWithGLProgramState(Technique* technique, GLProgramState* state) {
    Pass* pass = create(technique);
    pass->setGLProgramState(state);
    return pass;
}

Pass::~Pass() {
    if (_glProgramState) _glProgramState->release();
    if (_vertexAttribBinding) _vertexAttribBinding->release();
}

void Pass::setGLProgramState(GLProgramState* state) { assignRetained(_glProgramState, state); }

void Pass::setVertexAttribBinding(VertexAttribBinding* binding) { assignRetained(_vertexAttribBinding, binding); }

Technique* Pass::getTechnique() const { return static_cast<Technique*>(getParent()); }

void Pass::bind(const Mat4& modelView) {
    RenderState* technique = getParent();
    RenderState* material = technique ? technique->getParent() : nullptr;
    const RenderState::StateBlock* levels[] = {
        getStateBlock(),
        technique ? technique->getStateBlock() : nullptr,
        material ? material->getStateBlock() : nullptr,
    };
    StateBlock::bind(levels, 3);
    for (const RenderState* level : {static_cast<RenderState*>(this), technique, material}) {
        if (level && level->getTexture()) {
            GL::bindTexture2D(level->getTexture()->getName());
            break;
        }
    }
    if (_glProgramState) _glProgramState->apply(modelView);
    if (_vertexAttribBinding) _vertexAttribBinding->bind();
}

void Pass::unbind() {
    if (_vertexAttribBinding) _vertexAttribBinding->unbind();
    // Back to the GL defaults the 2D drawing expects.
    StateBlock().bind();
}

Pass* Pass::clone() const {
    Pass* copy = create(nullptr);
    cloneInto(copy);
    copy->setGLProgramState(_glProgramState);
    copy->setVertexAttribBinding(_vertexAttribBinding);
    return copy;
}

}  // namespace engine
