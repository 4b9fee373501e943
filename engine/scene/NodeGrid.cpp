#include "engine/scene/NodeGrid.h"

#include "engine/actions/Grid.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/renderer/FrameBuffer.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TexturedMeshProgram.h"

namespace engine {

namespace {

const char* const kGridFragment = R"(#version 110
uniform sampler2D u_texture;
varying vec2 v_texCoord;
void main() {
    gl_FragColor = texture2D(u_texture, v_texCoord);
}
)";

// Made on first draw, kept for the process.
GLProgram* gridProgram() {
    static GLProgram* program = retainedTexturedMeshProgram(kGridFragment);
    return program;
}

}  // namespace

NodeGrid* NodeGrid::create() { return create(Rect()); }

NodeGrid* NodeGrid::create(const Rect& rect) {
    auto* node = new NodeGrid;
    node->_gridRect = rect;
    node->autorelease();
    return node;
}

NodeGrid::~NodeGrid() {
    if (_grid) _grid->release();
    if (_target) _target->release();
    if (_capture) _capture->release();
}

void NodeGrid::setGrid(GridBase* grid) {
    if (grid) grid->retain();
    if (_grid) _grid->release();
    _grid = grid;
}

void NodeGrid::setTarget(Node* target) {
    if (target) target->retain();
    if (_target) _target->release();
    _target = target;
}

void NodeGrid::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    const bool capture = _grid && _grid->isActive() && GL::fn().hasContext;
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    if (capture) {
        _beginCommand.init(getGlobalZOrder());
        _beginCommand.func = [this] { beginCapture(); };
        renderer->addCommand(&_beginCommand);
    }
    if (_target) _target->visit(renderer, transform, parentFlags);
    Node::visit(renderer, parentTransform, parentFlags);
    if (capture) {
        _endCommand.init(getGlobalZOrder());
        _endCommand.func = [this, transform] {
            experimental::FrameBuffer::applyDefaultFBO();
            drawThroughGrid(transform);
        };
        renderer->addCommand(&_endCommand);
    }
}

void NodeGrid::beginCapture() {
    const GLView* view = Director::getInstance()->getOpenGLView();
    const Size frame = view ? view->getFrameSize() : Director::getInstance()->getWinSize();
    const auto width = static_cast<unsigned int>(frame.width), height = static_cast<unsigned int>(frame.height);
    if (!_capture || _capture->getWidth() != width || _capture->getHeight() != height) {
        if (_capture) _capture->release();
        _capture = experimental::FrameBuffer::create(1, width, height);
        if (!_capture) return;
        _capture->retain();
        _capture->setClearColor(Color4F{0, 0, 0, 0});
    }
    _capture->clearFBO();
    _capture->applyFBO();
}

void NodeGrid::drawThroughGrid(const Mat4& transform) {
    GLProgram* program = gridProgram();
    if (!_capture || !_grid || !program || !program->getProgram()) return;
    _grid->triangles(&_positions, &_texCoords, &_indices);
    // The grid's texture coordinates span its rectangle; the picture spans the
    // window: each point samples where its original place landed.
    const Rect& rect = _grid->getGridRect();
    const Size win = Director::getInstance()->getWinSize();
    for (size_t i = 0; i + 1 < _texCoords.size(); i += 2) {
        const float t = _grid->isTextureFlipped() ? 1.f - _texCoords[i + 1] : _texCoords[i + 1];
        Vec3 world(rect.origin.x + _texCoords[i] * rect.size.width, rect.origin.y + t * rect.size.height, 0.f);
        transform.transformPoint(&world);
        _texCoords[i] = win.width > 0 ? world.x / win.width : 0.f;
        _texCoords[i + 1] = win.height > 0 ? world.y / win.height : 0.f;
    }
    const GLFunctions& gl = GL::fn();
    program->use();
    program->setUniformsForBuiltins(transform);
    GL::blendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);   // the capture holds premultiplied colours
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    GL::bindTexture2D(_capture->getRenderTarget()->getName());
    const bool depth = dynamic_cast<Grid3D*>(_grid) && static_cast<Grid3D*>(_grid)->getNeedDepthTestForBlit();
    if (depth) gl.enable(GL_DEPTH_TEST);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 3, GL_FLOAT, GL_FALSE, 0, _positions.data());
    gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_TEX_COORD, 2, GL_FLOAT, GL_FALSE, 0, _texCoords.data());
    gl.drawElements(GL_TRIANGLES, static_cast<GLsizei>(_indices.size()), GL_UNSIGNED_SHORT, _indices.data());
    if (depth) gl.disable(GL_DEPTH_TEST);
    Renderer* renderer = Director::getInstance()->getRenderer();
    if (renderer) {
        renderer->addDrawnBatches(1);
        renderer->addDrawnVertices(_indices.size());
    }
}

}  // namespace engine
