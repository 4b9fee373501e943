#pragma once
// A model file read into memory: its meshes (engine/3d/ObjReader.h) until
// cleared or read again. Not reference counted: made with createBundle and
// destroyed with destroyBundle. getTrianglesList gives the corners of every
// triangle of a model, three per triangle in file order, in the model's space
// (for collision shapes and navigation meshes). Main thread only.
#include <string>
#include <vector>

#include "engine/3d/ObjReader.h"
#include "engine/base/Types.h"

namespace engine {

class Bundle3D {
public:
    static Bundle3D* createBundle();
    static void destroyBundle(Bundle3D* bundle);
    // Empty (logged) when the model cannot be read.
    static std::vector<Vec3> getTrianglesList(const std::string& path);

    virtual ~Bundle3D() = default;
    // Reads the model at path (through FileUtils); false (logged) when it
    // cannot be read, leaving the bundle empty.
    virtual bool load(const std::string& path);
    void clear() { _meshes.clear(); _path.clear(); }
    const std::vector<ObjMesh>& getMeshes() const { return _meshes; }
    const std::string& getPath() const { return _path; }

protected:
    Bundle3D() = default;

private:
    std::vector<ObjMesh> _meshes;
    std::string _path;
};

}  // namespace engine
