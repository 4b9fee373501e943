#include "engine/3d/Sprite3D.h"

#include <memory>

#include "engine/3d/Sprite3DCache.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TexturedMeshProgram.h"
#include "engine/renderer/TextureCache.h"

namespace engine {

namespace {

const char* const kMeshFragment = R"(#version 110
uniform sampler2D u_texture;
uniform vec4 u_color;
varying vec2 v_texCoord;
void main() {
    gl_FragColor = texture2D(u_texture, v_texCoord) * u_color;
}
)";

// Made on first draw, kept for the process.
GLProgram* meshProgram() {
    static GLProgram* program = retainedTexturedMeshProgram(kMeshFragment);
    return program;
}

}  // namespace

Sprite3D* Sprite3D::create() { return autoreleased(new Sprite3D, true); }

Sprite3D* Sprite3D::create(const std::string& modelPath) {
    auto* sprite = new Sprite3D;
    return autoreleased(sprite, sprite->initWithFile(modelPath));
}

Sprite3D* Sprite3D::create(const std::string& modelPath, const std::string& texturePath) {
    Sprite3D* sprite = create(modelPath);
    if (sprite) sprite->setTexture(texturePath);
    return sprite;
}

void Sprite3D::createAsync(const std::string& modelPath, const AsyncCallback& callback, void* param) {
    createAsync(modelPath, "", callback, param);
}

void Sprite3D::createAsync(const std::string& modelPath, const std::string& texturePath,
                           const AsyncCallback& callback, void* param) {
    const std::string fullPath = FileUtils::getInstance()->fullPathForFilename(modelPath);
    if (fullPath.empty()) log("Sprite3D: no model file %s", modelPath.c_str());
    Sprite3DCache::getInstance()->loadAsync(fullPath, [texturePath, callback, param](Sprite3DCache::ModelData model) {
        Sprite3D* sprite = nullptr;
        if (model) {
            auto* made = new Sprite3D;
            sprite = autoreleased(made, made->initWithModel(*model));
            if (sprite && !texturePath.empty()) sprite->setTexture(texturePath);
        }
        if (callback) callback(sprite, param);
    });
}

Sprite3D::~Sprite3D() = default;

bool Sprite3D::initWithFile(const std::string& modelPath) {
    const std::string fullPath = FileUtils::getInstance()->fullPathForFilename(modelPath);
    if (fullPath.empty()) {
        log("Sprite3D: no model file %s", modelPath.c_str());
        return false;
    }
    Sprite3DCache::ModelData model = Sprite3DCache::getInstance()->getModel(fullPath);
    return model && initWithModel(*model);
}

bool Sprite3D::initWithModel(const std::vector<ObjMesh>& model) {
    _meshes.clear();
    for (const ObjMesh& source : model) {
        Mesh* mesh = Mesh::create(source);
        if (!source.diffuseTexture.empty()) mesh->setTexture(source.diffuseTexture);
        _meshes.pushBack(mesh);
    }
    return true;
}

void Sprite3D::setTexture(const std::string& texturePath) {
    if (Texture2D* texture = TextureCache::getInstance()->addImage(texturePath)) setTexture(texture);
}

void Sprite3D::setTexture(Texture2D* texture) {
    if (!texture) return;
    for (Mesh* mesh : _meshes) mesh->setTexture(texture);
}

Mesh* Sprite3D::getMeshByIndex(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= _meshes.size()) return nullptr;
    return _meshes.at(static_cast<size_t>(index));
}

Mesh* Sprite3D::getMeshByName(const std::string& name) const {
    for (Mesh* mesh : _meshes) {
        if (mesh->getName() == name) return mesh;
    }
    return nullptr;
}

std::vector<Mesh*> Sprite3D::getMeshArrayByName(const std::string& name) const {
    std::vector<Mesh*> found;
    for (Mesh* mesh : _meshes) {
        if (mesh->getName() == name) found.push_back(mesh);
    }
    return found;
}

const AABB& Sprite3D::getAABB() const {
    AABB box;
    for (Mesh* mesh : _meshes) box.merge(mesh->getAABB());
    box.transform(getNodeToWorldTransform());
    _aabb = box;
    return _aabb;
}

const BlendFunc& Sprite3D::getBlendFunc() const {
    if (_blendFuncSet) return _blendFunc;
    Mesh* first = getMesh();
    return first && first->getTexture() && first->getTexture()->hasPremultipliedAlpha() ? BlendFunc::ALPHA_PREMULTIPLIED
                                                                                         : BlendFunc::ALPHA_NON_PREMULTIPLIED;
}

AttachNode* Sprite3D::getAttachNode(const std::string&) const { return nullptr; }
void Sprite3D::removeAttachNode(const std::string&) {}
void Sprite3D::removeAllAttachNode() {}

void Sprite3D::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (_meshes.empty() || !GL::fn().hasContext) return;
    _command.init(getGlobalZOrder());
    _command.func = [this, transform] { drawMeshes(transform); };
    renderer->addCommand(&_command);
}

void Sprite3D::drawMeshes(const Mat4& transform) {
    GLProgram* program = meshProgram();
    if (!program || !program->getProgram()) return;
    const GLFunctions& gl = GL::fn();
    Renderer* renderer = Director::getInstance()->getRenderer();
    program->use();
    program->setUniformsForBuiltins(transform);
    const BlendFunc& blend = getBlendFunc();
    const Color3B color = getDisplayedColor();
    const float opacity = getDisplayedOpacity() / 255.f;
    // A blend that takes the source as is wants the colour premultiplied too.
    const float scale = blend.src == BlendFunc::ALPHA_PREMULTIPLIED.src ? opacity : 1.f;
    const GLint colorLocation = program->getUniformLocation("u_color");
    if (colorLocation >= 0) {
        gl.uniform4f(colorLocation, color.r / 255.f * scale, color.g / 255.f * scale, color.b / 255.f * scale, opacity);
    }
    GL::blendFunc(blend.src, blend.dst);
    GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.bindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl.enable(GL_DEPTH_TEST);
    if (_cullFaceEnabled) gl.enable(GL_CULL_FACE);
    gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    for (Mesh* mesh : _meshes) {
        if (!mesh->isVisible() || mesh->getIndexCount() == 0) continue;
        Texture2D* texture = mesh->getTexture() ? mesh->getTexture() : renderer->getWhiteTexture();
        GL::bindTexture2D(texture->getName());
        gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 3, GL_FLOAT, GL_FALSE, 0, mesh->getPositions().data());
        if (mesh->getTexCoords().empty()) {
            gl.disableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
        } else {
            gl.enableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
            gl.vertexAttribPointer(GLProgram::VERTEX_ATTRIB_TEX_COORD, 2, GL_FLOAT, GL_FALSE, 0,
                                   mesh->getTexCoords().data());
        }
        const std::vector<unsigned>& indices = mesh->getMeshIndexData()->getIndices();
        gl.drawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
        renderer->addDrawnBatches(1);
        renderer->addDrawnVertices(indices.size());
    }
    if (_cullFaceEnabled) gl.disable(GL_CULL_FACE);
    gl.disable(GL_DEPTH_TEST);
}

}  // namespace engine
