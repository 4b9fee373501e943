#pragma once
// Builds the Detour navigation mesh of a geometry with Recast: the triangles are
// voxelised, the surfaces an agent of the default size (radius 0.6, height 2,
// climb 0.9, slopes up to 45 degrees) can stand on become polygons, and the
// links join them as off-mesh connections. The voxel grid is at most 1024 cells
// a side: a larger map gets coarser cells. Refuses (null, with the reason in
// error) a geometry with no triangle, an index out of range, a coordinate that
// is not finite or beyond a million units, or no walkable surface.
#include <string>

#include "engine/navmesh/NavMeshGeometry.h"

class dtNavMesh;

namespace engine {

// The caller owns the result (dtFreeNavMesh).
dtNavMesh* buildDetourNavMesh(const NavMeshGeometry& geometry, std::string* error = nullptr);

}  // namespace engine
