#include "engine/3d/Bundle3D.h"

#include "engine/base/Log.h"

namespace engine {

Bundle3D* Bundle3D::createBundle() { return new Bundle3D; }

void Bundle3D::destroyBundle(Bundle3D* bundle) { delete bundle; }

bool Bundle3D::load(const std::string& path) {
    clear();
    std::string error;
    if (!readObjFile(path, _meshes, &error)) {
        log("Bundle3D: cannot read the model %s: %s", path.c_str(), error.c_str());
        _meshes.clear();
        return false;
    }
    _path = path;
    return true;
}

std::vector<Vec3> Bundle3D::getTrianglesList(const std::string& path) {
    std::vector<Vec3> corners;
    Bundle3D bundle;
    if (!bundle.load(path)) return corners;
    for (const ObjMesh& mesh : bundle._meshes) {
        for (unsigned index : mesh.indices) {
            const size_t p = static_cast<size_t>(index) * 3;
            corners.emplace_back(mesh.positions[p], mesh.positions[p + 1], mesh.positions[p + 2]);
        }
    }
    return corners;
}

}  // namespace engine
