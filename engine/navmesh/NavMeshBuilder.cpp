#include "engine/navmesh/NavMeshBuilder.h"

#include <recastnavigation/DetourAlloc.h>
#include <recastnavigation/DetourNavMesh.h>
#include <recastnavigation/DetourNavMeshBuilder.h>
#include <recastnavigation/Recast.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace engine {

namespace {

constexpr float kAgentRadius = 0.6f;
constexpr float kAgentHeight = 2.0f;
constexpr float kAgentClimb = 0.9f;
constexpr float kMaxSlope = 45.f;
constexpr int kMaxGridSide = 1024;
constexpr float kMaxCoordinate = 1.0e6f;
// The build's budget (see the header).
constexpr int kMaxTriangles = 200000;
constexpr size_t kMaxSpans = size_t{4} << 20;
constexpr int kMaxLayersPerCell = 32;
constexpr double kMaxBuildSeconds = 10.0;
// Triangles are voxelised in batches covering at most so many cells, so the
// span count is checked before a batch can push it far past the budget.
constexpr size_t kCellsPerBatch = size_t{1} << 20;
// Outline edges are split no finer than this many cells: finer splits only
// multiply the outline and polygon work of a coarse grid.
constexpr int kMinEdgeCells = 12;

struct RecastFree {
    void operator()(rcHeightfield* p) const { rcFreeHeightField(p); }
    void operator()(rcCompactHeightfield* p) const { rcFreeCompactHeightfield(p); }
    void operator()(rcContourSet* p) const { rcFreeContourSet(p); }
    void operator()(rcPolyMesh* p) const { rcFreePolyMesh(p); }
    void operator()(rcPolyMeshDetail* p) const { rcFreePolyMeshDetail(p); }
};
template <class T>
using RecastPtr = std::unique_ptr<T, RecastFree>;

dtNavMesh* fail(std::string* error, const char* reason) {
    if (error) *error = reason;
    return nullptr;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The spans the heightfield has allocated: whole pools, used or free.
size_t allocatedSpans(const rcHeightfield& solid) {
    size_t count = 0;
    for (const rcSpanPool* pool = solid.pools; pool; pool = pool->next) count += RC_SPANS_PER_POOL;
    return count;
}

// The most spans stacked in one cell of the heightfield.
int deepestCell(const rcHeightfield& solid) {
    int deepest = 0;
    for (int i = 0; i < solid.width * solid.height; ++i) {
        int depth = 0;
        for (const rcSpan* span = solid.spans[i]; span; span = span->next) ++depth;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

// The cells of the grid a triangle's bounds cover: an upper bound of the spans
// voxelising it adds.
size_t cellsCovered(const float* verts, const int* tri, const rcConfig& cfg) {
    float lo[2] = {verts[tri[0] * 3], verts[tri[0] * 3 + 2]}, hi[2] = {lo[0], lo[1]};
    for (int k = 1; k < 3; ++k) {
        const float x = verts[tri[k] * 3], z = verts[tri[k] * 3 + 2];
        lo[0] = std::min(lo[0], x), hi[0] = std::max(hi[0], x);
        lo[1] = std::min(lo[1], z), hi[1] = std::max(hi[1], z);
    }
    const auto span = [&](float a, float b, int cells) {
        const double n = std::floor((b - a) / cfg.cs) + 2;
        return static_cast<size_t>(std::min<double>(n, cells));
    };
    return span(lo[0], hi[0], cfg.width) * span(lo[1], hi[1], cfg.height);
}

}  // namespace

dtNavMesh* buildDetourNavMesh(const NavMeshGeometry& geometry, std::string* error, const std::atomic<bool>* stop) {
    const int vertexCount = static_cast<int>(geometry.vertices.size() / 3);
    const int triangleCount = static_cast<int>(geometry.triangles.size() / 3);
    if (triangleCount == 0) return fail(error, "the mesh has no triangle");
    if (geometry.triangles.size() / 3 > static_cast<size_t>(kMaxTriangles))
        return fail(error, "the mesh has more than 200000 triangles");
    const double started = threadSeconds();
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    constexpr const char* kStopped = "the build was stopped";
    const auto overTime = [&] { return threadSeconds() - started > kMaxBuildSeconds; };
    constexpr const char* kTooLong = "the mesh takes more than 10 s to build";
    for (float v : geometry.vertices) {
        if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate) return fail(error, "a vertex is out of range");
    }
    for (int i = 0; i < triangleCount * 3; ++i) {
        if (geometry.triangles[i] < 0 || geometry.triangles[i] >= vertexCount) {
            return fail(error, "a triangle index is out of range");
        }
    }
    const float* verts = geometry.vertices.data();

    rcConfig cfg{};
    rcCalcBounds(verts, vertexCount, cfg.bmin, cfg.bmax);
    const float extentXZ = std::max(cfg.bmax[0] - cfg.bmin[0], cfg.bmax[2] - cfg.bmin[2]);
    cfg.cs = std::max(0.3f, extentXZ / (kMaxGridSide - 1));
    cfg.ch = std::max(0.2f, (cfg.bmax[1] - cfg.bmin[1]) / 4096.f);
    cfg.walkableSlopeAngle = kMaxSlope;
    cfg.walkableHeight = static_cast<int>(std::ceil(kAgentHeight / cfg.ch));
    cfg.walkableClimb = static_cast<int>(std::floor(kAgentClimb / cfg.ch));
    cfg.walkableRadius = static_cast<int>(std::ceil(kAgentRadius / cfg.cs));
    cfg.maxEdgeLen = std::max(static_cast<int>(12.f / cfg.cs), kMinEdgeCells);
    cfg.maxSimplificationError = 1.3f;
    cfg.minRegionArea = 8 * 8;
    cfg.mergeRegionArea = 20 * 20;
    cfg.maxVertsPerPoly = DT_VERTS_PER_POLYGON;
    cfg.detailSampleDist = 6.f * cfg.cs;
    cfg.detailSampleMaxError = cfg.ch;
    rcCalcGridSize(cfg.bmin, cfg.bmax, cfg.cs, &cfg.width, &cfg.height);
    cfg.width = std::max(cfg.width, 1);
    cfg.height = std::max(cfg.height, 1);

    rcContext ctx(false);
    RecastPtr<rcHeightfield> solid(rcAllocHeightfield());
    if (!solid || !rcCreateHeightfield(&ctx, *solid, cfg.width, cfg.height, cfg.bmin, cfg.bmax, cfg.cs, cfg.ch)) {
        return fail(error, "out of memory");
    }
    std::vector<unsigned char> areas(triangleCount, 0);
    rcMarkWalkableTriangles(&ctx, cfg.walkableSlopeAngle, verts, vertexCount, geometry.triangles.data(),
                            triangleCount, areas.data());
    // Voxelised batch by batch; each batch adds at most kCellsPerBatch spans
    // (one triangle at most the whole grid) before the budget is checked.
    for (int first = 0; first < triangleCount;) {
        int end = first;
        size_t cells = 0;
        while (end < triangleCount && (end == first || cells < kCellsPerBatch)) {
            cells += cellsCovered(verts, &geometry.triangles[static_cast<size_t>(end) * 3], cfg);
            ++end;
        }
        if (!rcRasterizeTriangles(&ctx, verts, vertexCount, &geometry.triangles[static_cast<size_t>(first) * 3],
                                  &areas[static_cast<size_t>(first)], end - first, *solid, cfg.walkableClimb)) {
            return fail(error, "the mesh cannot be voxelised");
        }
        if (allocatedSpans(*solid) > kMaxSpans) return fail(error, "the mesh makes more than 4 Mi voxel spans");
        if (overTime()) return fail(error, kTooLong);
        if (stopped()) return fail(error, kStopped);
        first = end;
    }
    if (deepestCell(*solid) > kMaxLayersPerCell) return fail(error, "the mesh stacks more than 32 layers over one spot");
    rcFilterLowHangingWalkableObstacles(&ctx, cfg.walkableClimb, *solid);
    rcFilterLedgeSpans(&ctx, cfg.walkableHeight, cfg.walkableClimb, *solid);
    rcFilterWalkableLowHeightSpans(&ctx, cfg.walkableHeight, *solid);

    RecastPtr<rcCompactHeightfield> chf(rcAllocCompactHeightfield());
    if (!chf || !rcBuildCompactHeightfield(&ctx, cfg.walkableHeight, cfg.walkableClimb, *solid, *chf)) {
        return fail(error, "out of memory");
    }
    solid.reset();
    if (overTime()) return fail(error, kTooLong);
    if (stopped()) return fail(error, kStopped);
    if (!rcErodeWalkableArea(&ctx, cfg.walkableRadius, *chf) || !rcBuildDistanceField(&ctx, *chf) ||
        !rcBuildRegions(&ctx, *chf, 0, cfg.minRegionArea, cfg.mergeRegionArea)) {
        return fail(error, "the walkable regions cannot be built");
    }
    if (overTime()) return fail(error, kTooLong);
    if (stopped()) return fail(error, kStopped);
    RecastPtr<rcContourSet> contours(rcAllocContourSet());
    if (!contours || !rcBuildContours(&ctx, *chf, cfg.maxSimplificationError, cfg.maxEdgeLen, *contours)) {
        return fail(error, "the walkable outlines cannot be built");
    }
    if (overTime()) return fail(error, kTooLong);
    if (stopped()) return fail(error, kStopped);
    RecastPtr<rcPolyMesh> polys(rcAllocPolyMesh());
    if (!polys || !rcBuildPolyMesh(&ctx, *contours, cfg.maxVertsPerPoly, *polys)) {
        return fail(error, "the walkable polygons cannot be built");
    }
    if (overTime()) return fail(error, kTooLong);
    if (stopped()) return fail(error, kStopped);
    RecastPtr<rcPolyMeshDetail> detail(rcAllocPolyMeshDetail());
    if (!detail || !rcBuildPolyMeshDetail(&ctx, *polys, *chf, cfg.detailSampleDist, cfg.detailSampleMaxError,
                                          *detail)) {
        return fail(error, "the walkable surface details cannot be built");
    }
    if (polys->npolys == 0) return fail(error, "the mesh has no walkable surface");
    if (polys->nverts >= 0xffff) return fail(error, "the mesh has too many walkable polygons");
    for (int i = 0; i < polys->npolys; ++i) polys->flags[i] = polys->areas[i] == RC_WALKABLE_AREA ? 1 : 0;

    const size_t linkCount = geometry.links.size();
    std::vector<float> linkVerts, linkRadii;
    std::vector<unsigned short> linkFlags(linkCount, 1);
    std::vector<unsigned char> linkAreas(linkCount, RC_WALKABLE_AREA), linkDirs;
    std::vector<unsigned int> linkIds;
    for (size_t i = 0; i < linkCount; ++i) {
        const NavMeshLink& link = geometry.links[i];
        linkVerts.insert(linkVerts.end(), {link.start.x, link.start.y, link.start.z, link.end.x, link.end.y, link.end.z});
        linkRadii.push_back(link.radius);
        linkDirs.push_back(link.bidirectional ? DT_OFFMESH_CON_BIDIR : 0);
        linkIds.push_back(static_cast<unsigned int>(i));
    }

    dtNavMeshCreateParams params{};
    params.verts = polys->verts;
    params.vertCount = polys->nverts;
    params.polys = polys->polys;
    params.polyAreas = polys->areas;
    params.polyFlags = polys->flags;
    params.polyCount = polys->npolys;
    params.nvp = polys->nvp;
    params.detailMeshes = detail->meshes;
    params.detailVerts = detail->verts;
    params.detailVertsCount = detail->nverts;
    params.detailTris = detail->tris;
    params.detailTriCount = detail->ntris;
    params.offMeshConVerts = linkVerts.data();
    params.offMeshConRad = linkRadii.data();
    params.offMeshConFlags = linkFlags.data();
    params.offMeshConAreas = linkAreas.data();
    params.offMeshConDir = linkDirs.data();
    params.offMeshConUserID = linkIds.data();
    params.offMeshConCount = static_cast<int>(linkCount);
    params.walkableHeight = kAgentHeight;
    params.walkableRadius = kAgentRadius;
    params.walkableClimb = kAgentClimb;
    rcVcopy(params.bmin, polys->bmin);
    rcVcopy(params.bmax, polys->bmax);
    params.cs = cfg.cs;
    params.ch = cfg.ch;
    params.buildBvTree = true;

    unsigned char* data = nullptr;
    int dataSize = 0;
    if (!dtCreateNavMeshData(&params, &data, &dataSize)) return fail(error, "the navigation data cannot be built");
    dtNavMesh* navMesh = dtAllocNavMesh();
    if (!navMesh || dtStatusFailed(navMesh->init(data, dataSize, DT_TILE_FREE_DATA))) {
        dtFree(data);
        dtFreeNavMesh(navMesh);
        return fail(error, "the navigation mesh cannot be initialised");
    }
    return navMesh;
}

}  // namespace engine
