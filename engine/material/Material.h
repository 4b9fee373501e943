#pragma once
// How a 3D object is drawn: named techniques, one of them current (the first
// added until another is chosen), each with its passes. A material file holds
//     material name {
//         renderState {                  (optional, at any level)
//             cullFace = true
//         }
//         technique name {
//             pass name {
//                 shader {
//                     vertexShader = a.vert
//                     fragmentShader = a.frag
//                 }
//                 renderState {
//                     blend = true
//                     blendSrc = SRC_ALPHA
//                 }
//             }
//         }
//     }
// (one property a line) with the state names and values of
// RenderState::StateBlock::setState. A pass
// without a shader, or whose shader files do not read, has no program state.
// Main thread only.
#include <sys/types.h>

#include <string>

#include "engine/base/Vector.h"
#include "engine/material/Technique.h"

namespace engine {

class Properties;

class Material : public RenderState {
public:
    // Autoreleased; nullptr (logged) for a file that does not read or holds no material.
    static Material* createWithFilename(const std::string& path);
    // From a "material" namespace (not taken over); nullptr for another namespace or null.
    static Material* createWithProperties(Properties* properties);
    // One technique of one pass of the state; nullptr for a null state.
    static Material* createWithGLStateProgram(GLProgramState* state);
    // Techniques that outlive it no longer name it.
    ~Material() override;

    Technique* getTechnique() const { return _currentTechnique; }
    const Vector<Technique*>& getTechniques() const { return _techniques; }
    ssize_t getTechniqueCount() const { return static_cast<ssize_t>(_techniques.size()); }
    Technique* getTechniqueByName(const std::string& name) const;   // null when none
    Technique* getTechniqueByIndex(ssize_t index) const;            // null out of range
    // Appends the technique (retained); the first one added becomes current.
    void addTechnique(Technique* technique);
    // Makes the technique of that name current; unknown names change nothing.
    void setTechnique(const std::string& name);
    // A copy with copies of the techniques, the same one current.
    Material* clone() const;

private:
    Material() = default;
    bool parseProperties(const Properties* properties);

    Vector<Technique*> _techniques;
    Technique* _currentTechnique = nullptr;
};

}  // namespace engine
