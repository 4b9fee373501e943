#include "engine/material/Technique.h"

#include "engine/material/Material.h"

namespace engine {

Technique* Technique::create(Material* material) {
    auto* technique = new Technique;
    technique->setParentState(material);
    return autoreleased(technique);
}

Technique* Technique::createWithGLProgramState(Material* material, GLProgramState* state) {
    Technique* technique = create(material);
    technique->addPass(Pass::createWithGLProgramState(technique, state));
    return technique;
}

Technique::~Technique() {
    for (Pass* pass : _passes) pass->setParentState(nullptr);
}

void Technique::addPass(Pass* pass) {
    if (!pass) return;
    pass->setParentState(this);
    _passes.pushBack(pass);
}

Pass* Technique::getPassByIndex(ssize_t index) const {
    return index >= 0 && static_cast<size_t>(index) < _passes.size() ? _passes.at(static_cast<size_t>(index))
                                                                      : nullptr;
}

Material* Technique::getMaterial() const { return static_cast<Material*>(getParent()); }

Technique* Technique::clone() const {
    Technique* copy = create(nullptr);
    cloneInto(copy);
    for (Pass* pass : _passes) copy->addPass(pass->clone());
    return copy;
}

}  // namespace engine
