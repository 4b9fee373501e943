#pragma once
// Builds the Detour navigation mesh of a geometry with Recast: the triangles are
// voxelised, the surfaces an agent of the default size (radius 0.6, height 2,
// climb 0.9, slopes up to 45 degrees) can stand on become polygons, and the
// links join them as off-mesh connections. The voxel grid is at most 1024 cells
// a side: a larger map gets coarser cells, and outline edges are split no finer
// than every 12 cells. Refuses (null, with the reason in error) a geometry with
// no triangle, an index out of range, a coordinate that is not finite or beyond
// a million units, or no walkable surface.
// The build's budget, checked as it goes so a small hostile file cannot take
// gigabytes or minutes: at most 200,000 triangles, 4 Mi voxel spans (about
// 64 MiB), 32 spans stacked over one cell, and 10 s of the building thread's
// processor time; past any of them the build stops and is refused. A build
// whose stop flag is raised stops too, at the same checks (between batches of
// triangles and between stages). Any thread: the build touches nothing shared
// but the flag.
#include <atomic>
#include <string>

#include "engine/navmesh/NavMeshGeometry.h"

class dtNavMesh;

namespace engine {

// The caller owns the result (dtFreeNavMesh).
dtNavMesh* buildDetourNavMesh(const NavMeshGeometry& geometry, std::string* error = nullptr,
                              const std::atomic<bool>* stop = nullptr);

}  // namespace engine
