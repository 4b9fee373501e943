#include "engine/renderer/PolygonInfo.h"

#include <utility>

namespace engine {

void PolygonInfo::setTriangles(std::vector<PolygonVertex> vertices, std::vector<uint16_t> indices) {
    _vertices = std::move(vertices);
    _indices = std::move(indices);
}

}  // namespace engine
