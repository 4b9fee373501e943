#pragma once
// A way to draw a material: its passes, in order, each binding its own state.
// Main thread only.
#include <sys/types.h>

#include <string>

#include "engine/base/Vector.h"
#include "engine/material/Pass.h"

namespace engine {

class Material;

class Technique : public RenderState {
public:
    // Autoreleased; the material is the parent (not retained) and may be null.
    static Technique* create(Material* material);
    // With one pass of the program state.
    static Technique* createWithGLProgramState(Material* material, GLProgramState* state);
    // Passes that outlive it no longer name it.
    ~Technique() override;

    // Appends the pass (retained) and makes this its technique.
    void addPass(Pass* pass);
    Pass* getPassByIndex(ssize_t index) const;   // null out of range
    ssize_t getPassCount() const { return static_cast<ssize_t>(_passes.size()); }
    const Vector<Pass*>& getPasses() const { return _passes; }
    Material* getMaterial() const;
    // A copy with copies of the passes, under no material.
    Technique* clone() const;

private:
    friend class Material;
    Technique() = default;
    Vector<Pass*> _passes;
};

}  // namespace engine
