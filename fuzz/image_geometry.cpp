// Any bytes as an image used for geometry: traced into a sprite's triangles and
// read as a terrain's height map. Either is refused or gives geometry within
// the image (every index names a vertex, texture coordinates within the image,
// one height per pixel), never a crash, a leak or memory past the pixel budget.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/3d/Terrain.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/image/AutoPolygon.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        engine::setLogSink([](const std::string&) {});
        return fuzzsupport::makeScratchFolder("image_geometry");
    }();
    const std::string path = folder + "/map.png";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        fuzzsupport::check(file != nullptr, "scratch file");
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    const engine::PolygonInfo info = engine::AutoPolygon::generatePolygon(path);
    const size_t vertices = info.getVertices().size();
    for (uint16_t index : info.getIndices()) fuzzsupport::check(index < vertices, "an index names a vertex");
    for (const engine::PolygonVertex& vertex : info.getVertices()) {
        fuzzsupport::check(vertex.texCoords.x >= 0 && vertex.texCoords.x <= 1 && vertex.texCoords.y >= 0 &&
                               vertex.texCoords.y <= 1,
                           "texture coordinates within the image");
    }
    engine::Terrain::TerrainData terrainData;
    terrainData._heightMapSrc = path;
    terrainData._mapHeight = 10;
    terrainData._mapScale = 1;
    if (engine::Terrain* terrain = engine::Terrain::create(terrainData)) {
        const engine::Size extent = terrain->getTerrainSize();
        fuzzsupport::check(terrain->getHeightData().size() ==
                               static_cast<size_t>(extent.width) * static_cast<size_t>(extent.height),
                           "one height per pixel");
        fuzzsupport::check(std::isfinite(terrain->getHeight(0.5f, 0.5f)), "a finite height");
    }
    engine::AutoreleasePool::getInstance()->clear();
    std::filesystem::remove(path);
    return 0;
}
