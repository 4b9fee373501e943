#pragma once
// The triangles a sprite draws its texture with: vertices (position, texture
// coordinates), indices taken three by three, the part of the image they cover
// (rect, in the image's points) and the image's file name.
//
// A plain value: copied whole, not reference counted. Not thread-safe.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/Types.h"

namespace engine {

struct PolygonVertex {
    Vec3 position;
    Vec2 texCoords;
};

class PolygonInfo {
public:
    Rect rect;
    std::string filename;

    // Replaces the triangles. A last group of fewer than three indices is kept
    // but makes no triangle.
    void setTriangles(std::vector<PolygonVertex> vertices, std::vector<uint16_t> indices);
    const std::vector<PolygonVertex>& getVertices() const { return _vertices; }
    const std::vector<uint16_t>& getIndices() const { return _indices; }

    unsigned int getVertCount() const { return static_cast<unsigned int>(_vertices.size()); }
    unsigned int getTrianglesCount() const { return static_cast<unsigned int>(_indices.size() / 3); }

private:
    std::vector<PolygonVertex> _vertices;
    std::vector<uint16_t> _indices;
};

}  // namespace engine
