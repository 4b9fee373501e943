#pragma once
// Ground made from a height map: a grid of points, one per pixel of the map
// image, each at height red / 255 * _mapHeight (the red channel as decoded:
// for an image with alpha that is the premultiplied red), _mapScale apart on x
// and z, the grid centred on the node's origin; image columns run along +x and
// rows (from the top) along +z.
//
// Heights between grid points are bilinear in the four around them; the normal
// given with a height is the one of the grid cell's triangle under the point
// (each cell is cut along the diagonal from its (+x, -z) corner to its (-x, +z)
// one), pointing up. A point outside the grid has height 0 and normal +y.
// Points are in the terrain's own space (x, z of its node).
//
// The record holds up to four detail maps; the alpha map and detail maps are
// kept for the drawing of the ground, which the engine does not do yet. Main
// thread only, like every node.
#include <string>
#include <vector>

#include "engine/3d/AABB.h"
#include "engine/3d/Ray.h"
#include "engine/base/Types.h"
#include "engine/scene/Node.h"

namespace engine {

class Terrain : public Node {
public:
    enum class CrackFixedType { SKIRT = 0, INCREASE_LOWER = 1 };

    struct DetailMap {
        std::string _detailMapSrc;
        float _detailMapSize = 0;
    };

    static constexpr int kMaxDetailMaps = 4;

    struct TerrainData {
        Size _chunkSize{32, 32};
        std::string _heightMapSrc;
        std::string _alphaMapSrc;
        DetailMap _detailMaps[kMaxDetailMaps];
        float _mapHeight = 2.0f;
        float _mapScale = 0.1f;
        int _detailMapAmount = 0;
        float _skirtHeightRatio = 1.0f;
    };

    // A new terrain, autoreleased; null (logged) when the height map cannot be
    // read or is narrower than 2 x 2 pixels.
    static Terrain* create(const TerrainData& data, CrackFixedType fixedType = CrackFixedType::INCREASE_LOWER);

    float getHeight(float x, float z, Vec3* normal = nullptr) const;
    float getHeight(const Vec2& position, Vec3* normal = nullptr) const { return getHeight(position.x, position.y, normal); }
    // The first point where the ray (in the terrain's space) meets the ground;
    // false when it does not.
    bool getIntersectionPoint(const Ray& ray, Vec3& point) const;
    float getMinHeight() const { return _minHeight; }
    float getMaxHeight() const { return _maxHeight; }
    // The grid's size in points (the map's pixels).
    Size getTerrainSize() const { return Size(static_cast<float>(_width), static_cast<float>(_depth)); }
    // The box around the ground in the terrain's space.
    AABB getAABB() const;
    // Heights by grid point, row after row.
    const std::vector<float>& getHeightData() const { return _heights; }
    const TerrainData& getTerrainData() const { return _data; }
    CrackFixedType getCrackFixedType() const { return _crackFixedType; }

private:
    Terrain() = default;
    bool initWithData(const TerrainData& data, CrackFixedType fixedType);
    float heightAt(int column, int row) const { return _heights[static_cast<size_t>(row) * _width + column]; }

    TerrainData _data;
    CrackFixedType _crackFixedType = CrackFixedType::INCREASE_LOWER;
    int _width = 0;
    int _depth = 0;
    std::vector<float> _heights;
    float _minHeight = 0;
    float _maxHeight = 0;
};

}  // namespace engine
