// Building a navigation mesh from its files: an OBJ model of the walkable
// surfaces and, optionally, the off-mesh links, read at once; the build runs on
// a worker thread.
#include "engine/navmesh/NavMesh.h"

#include "engine/3d/ObjReader.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/navmesh/NavMeshBuildTask.h"

namespace engine {

bool navMeshGeometryFromObj(const std::vector<ObjMesh>& meshes, NavMeshGeometry* geometry) {
    for (const ObjMesh& mesh : meshes) {
        const size_t base = geometry->vertices.size() / 3;
        const size_t count = mesh.positions.size() / 3;
        geometry->vertices.insert(geometry->vertices.end(), mesh.positions.begin(), mesh.positions.begin() + count * 3);
        for (size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
            if (mesh.indices[i] >= count || mesh.indices[i + 1] >= count || mesh.indices[i + 2] >= count) return false;
            for (size_t k = 0; k < 3; ++k) geometry->triangles.push_back(static_cast<int>(base + mesh.indices[i + k]));
        }
    }
    return true;
}

NavMesh* NavMesh::create(const std::string& meshFile, const std::string& linksFile) {
    std::vector<ObjMesh> meshes;
    std::string error;
    NavMeshGeometry geometry;
    if (!readObjFile(meshFile, meshes, &error) || !navMeshGeometryFromObj(meshes, &geometry)) {
        log("NavMesh: cannot read %s: %s", meshFile.c_str(), error.c_str());
        return nullptr;
    }
    if (!linksFile.empty()) {
        FileUtils* files = FileUtils::getInstance();
        if (!files->isFileExist(linksFile)) {
            log("NavMesh: cannot read %s", linksFile.c_str());
            return nullptr;
        }
        if (!parseNavMeshLinks(files->getStringFromFile(linksFile), &geometry.links, &error)) {
            log("NavMesh: %s: %s", linksFile.c_str(), error.c_str());
            return nullptr;
        }
    }
    auto* mesh = new NavMesh;
    mesh->_build = NavMeshBuildTask::start(std::move(geometry), [mesh, meshFile](dtNavMesh* built, const std::string& error) {
        mesh->finishBuild(built, error, meshFile);
    });
    return autoreleased(mesh);
}

}  // namespace engine
