#include "engine/material/Material.h"

#include <memory>

#include "engine/base/Log.h"
#include "engine/base/Properties.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"

namespace engine {

namespace {

// Every property of a renderState namespace goes into the block.
void readRenderState(const Properties* properties, RenderState* level) {
    const Properties* state = properties->getNamespace("renderState", true, false);
    if (!state) return;
    for (const std::string& name : {"blend", "blendSrc", "blendDst", "cullFace", "cullFaceSide", "frontFace",
                                    "depthTest", "depthWrite", "depthFunc"}) {
        if (state->exists(name)) level->getStateBlock()->setState(name, state->getString(name));
    }
}

GLProgramState* readShader(const Properties* pass) {
    const Properties* shader = pass->getNamespace("shader", true, false);
    if (!shader) return nullptr;
    FileUtils* files = FileUtils::getInstance();
    const std::string vertex = files->getStringFromFile(files->fullPathForFilename(shader->getString("vertexShader")));
    const std::string fragment =
        files->getStringFromFile(files->fullPathForFilename(shader->getString("fragmentShader")));
    if (vertex.empty() || fragment.empty()) {
        log("Material: the shader files of pass '%s' do not read", pass->getId().c_str());
        return nullptr;
    }
    return GLProgramState::getOrCreateWithGLProgram(GLProgram::createWithByteArrays(vertex.c_str(), fragment.c_str()));
}

// The direct nested namespaces of a kind, in order.
template <class F>
void forEachOfKind(const Properties* parent, const std::string& kind, F visit) {
    for (const Properties* child : parent->getNamespaces()) {
        if (child->getNamespace() == kind) visit(child);
    }
}

}  // namespace

Material* Material::createWithFilename(const std::string& path) {
    std::unique_ptr<Properties> properties(Properties::createNonRefCounted(path));
    Material* material = properties ? createWithProperties(properties.get()) : nullptr;
    if (!material) log("Material: no material in %s", path.c_str());
    return material;
}

Material* Material::createWithProperties(Properties* properties) {
    if (!properties) return nullptr;
    const Properties* root = properties;
    if (root->getNamespace() != "material") root = properties->getNamespace("material", true, false);
    if (!root) return nullptr;
    auto* material = new Material;
    material->autorelease();
    if (!material->parseProperties(root)) return nullptr;
    return material;
}

Material* Material::createWithGLStateProgram(GLProgramState* state) {
    if (!state) return nullptr;
    auto* material = new Material;
    material->autorelease();
    material->addTechnique(Technique::createWithGLProgramState(material, state));
    return material;
}

Material::~Material() {
    for (Technique* technique : _techniques) technique->setParentState(nullptr);
}

bool Material::parseProperties(const Properties* properties) {
    _name = properties->getId();
    readRenderState(properties, this);
    forEachOfKind(properties, "technique", [this](const Properties* techniqueProperties) {
        Technique* technique = Technique::create(this);
        technique->setName(techniqueProperties->getId());
        readRenderState(techniqueProperties, technique);
        forEachOfKind(techniqueProperties, "pass", [technique](const Properties* passProperties) {
            Pass* pass = Pass::createWithGLProgramState(technique, readShader(passProperties));
            pass->setName(passProperties->getId());
            readRenderState(passProperties, pass);
            technique->addPass(pass);
        });
        addTechnique(technique);
    });
    return true;
}

Technique* Material::getTechniqueByName(const std::string& name) const {
    for (Technique* technique : _techniques) {
        if (technique->getName() == name) return technique;
    }
    return nullptr;
}

Technique* Material::getTechniqueByIndex(ssize_t index) const {
    return index >= 0 && static_cast<size_t>(index) < _techniques.size()
               ? _techniques.at(static_cast<size_t>(index))
               : nullptr;
}

void Material::addTechnique(Technique* technique) {
    if (!technique) return;
    technique->setParentState(this);
    _techniques.pushBack(technique);
    if (!_currentTechnique) _currentTechnique = technique;
}

void Material::setTechnique(const std::string& name) {
    if (Technique* technique = getTechniqueByName(name)) _currentTechnique = technique;
}

Material* Material::clone() const {
    auto* copy = new Material;
    copy->autorelease();
    cloneInto(copy);
    for (Technique* technique : _techniques) {
        Technique* techniqueCopy = technique->clone();
        copy->addTechnique(techniqueCopy);
        if (technique == _currentTechnique) copy->_currentTechnique = techniqueCopy;
    }
    return copy;
}

}  // namespace engine
