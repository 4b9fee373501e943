#pragma once
// What a navigation mesh is built from: the walkable triangles (world units, y up)
// and the off-mesh links between points of the mesh that agents may cross (a jump,
// a ladder). The links file is text, one link a line:
//     startX startY startZ endX endY endZ [radius [bidirectional]]
// radius defaults to 0.6 (the agent's default), bidirectional to 1 (0 makes the
// link one way, start to end); blank lines and lines starting with '#' are skipped.
// Any other line is refused, with its number in the error.
#include <string>
#include <vector>

#include "engine/base/Types.h"

namespace engine {

struct NavMeshLink {
    Vec3 start;
    Vec3 end;
    float radius = 0.6f;
    bool bidirectional = true;
};

struct NavMeshGeometry {
    std::vector<float> vertices;  // x, y, z per vertex
    std::vector<int> triangles;   // three vertex indices per triangle
    std::vector<NavMeshLink> links;
};

bool parseNavMeshLinks(const std::string& text, std::vector<NavMeshLink>* links, std::string* error = nullptr);

struct ObjMesh;
// Appends the triangles of OBJ meshes (engine/3d/ObjReader.h); false, with the
// geometry partly filled, when an index points past its mesh's positions.
bool navMeshGeometryFromObj(const std::vector<ObjMesh>& meshes, NavMeshGeometry* geometry);

}  // namespace engine
