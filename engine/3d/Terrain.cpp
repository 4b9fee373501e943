#include "engine/3d/Terrain.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"
#include "engine/image/Image.h"

namespace engine {

Terrain* Terrain::create(const TerrainData& data, CrackFixedType fixedType) {
    auto* terrain = new Terrain;
    return autoreleased(terrain, terrain->initWithData(data, fixedType));
}

bool Terrain::initWithData(const TerrainData& data, CrackFixedType fixedType) {
    _data = data;
    _crackFixedType = fixedType;
    Image image;
    if (data._heightMapSrc.empty() || !image.initWithImageFile(data._heightMapSrc)) {
        log("Terrain: cannot read the height map %s", data._heightMapSrc.c_str());
        return false;
    }
    if (image.getWidth() < 2 || image.getHeight() < 2) {
        log("Terrain: the height map %s is smaller than 2 x 2", data._heightMapSrc.c_str());
        return false;
    }
    _width = image.getWidth();
    _depth = image.getHeight();
    const size_t channels = image.getRenderFormat() == Texture2D::PixelFormat::RGBA8888 ? 4 : 3;
    const unsigned char* pixels = image.getData();
    _heights.resize(static_cast<size_t>(_width) * _depth);
    for (size_t i = 0; i < _heights.size(); ++i) _heights[i] = pixels[i * channels] / 255.f * data._mapHeight;
    const auto [low, high] = std::minmax_element(_heights.begin(), _heights.end());
    _minHeight = *low;
    _maxHeight = *high;
    return true;
}

float Terrain::getHeight(float x, float z, Vec3* normal) const {
    const float scale = _data._mapScale;
    if (normal) *normal = Vec3(0, 1, 0);
    if (_heights.empty() || !(scale > 0)) return 0;
    // Grid coordinates: point (0, 0) is the map's top-left pixel.
    const float gx = x / scale + (_width - 1) * 0.5f;
    const float gz = z / scale + (_depth - 1) * 0.5f;
    if (!(gx >= 0 && gz >= 0 && gx <= _width - 1 && gz <= _depth - 1)) return 0;
    const int column = std::min(static_cast<int>(gx), _width - 2);
    const int row = std::min(static_cast<int>(gz), _depth - 2);
    const float fx = gx - column, fz = gz - row;
    const float h00 = heightAt(column, row), h10 = heightAt(column + 1, row);
    const float h01 = heightAt(column, row + 1), h11 = heightAt(column + 1, row + 1);
    const float height = (h00 * (1 - fx) + h10 * fx) * (1 - fz) + (h01 * (1 - fx) + h11 * fx) * fz;
    if (normal) {
        // The cell's two triangles: (00, 01, 10) and (11, 10, 01).
        Vec3 a, b, c;
        if (fx + fz <= 1) {
            a = Vec3(0, h00, 0), b = Vec3(0, h01, scale), c = Vec3(scale, h10, 0);
        } else {
            a = Vec3(scale, h11, scale), b = Vec3(scale, h10, 0), c = Vec3(0, h01, scale);
        }
        Vec3 n = (b - a).cross(c - a);
        if (n.y < 0) n = n * -1.f;
        const float length = n.length();
        if (length > 0) *normal = n * (1.f / length);
    }
    return height;
}

AABB Terrain::getAABB() const {
    if (_heights.empty()) return AABB();
    const float halfWidth = (_width - 1) * 0.5f * _data._mapScale;
    const float halfDepth = (_depth - 1) * 0.5f * _data._mapScale;
    return AABB(Vec3(-halfWidth, _minHeight, -halfDepth), Vec3(halfWidth, _maxHeight, halfDepth));
}

bool Terrain::getIntersectionPoint(const Ray& ray, Vec3& point) const {
    float start = 0;
    const AABB box = getAABB();
    if (!ray.intersects(box, &start)) return false;
    // March through the box in steps of a quarter grid cell, then refine the
    // crossing by halving.
    const Vec3 size = box._max - box._min;
    const float span = size.length();
    const float step = std::max(_data._mapScale * 0.25f, span / 100000.f);
    auto above = [&](float t) {
        const Vec3 p = ray._origin + ray._direction * t;
        return p.y - getHeight(p.x, p.z) >= 0;
    };
    float previous = start;
    if (!above(previous)) {
        point = ray._origin + ray._direction * previous;
        return true;
    }
    for (float t = start + step; t <= start + span + step; t += step) {
        if (above(t)) {
            previous = t;
            continue;
        }
        float low = previous, high = t;
        for (int i = 0; i < 32; ++i) {
            const float middle = (low + high) * 0.5f;
            (above(middle) ? low : high) = middle;
        }
        point = ray._origin + ray._direction * high;
        return true;
    }
    return false;
}

}  // namespace engine
