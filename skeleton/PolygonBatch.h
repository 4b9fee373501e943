#pragma once
// Gathers textured, coloured triangles that share one texture and draws them in
// one GL call. Vertices are 20-byte records (x, y floats; r, g, b, a bytes; u, v
// floats) with 16-bit indices. Adding triangles of another texture, or more than
// the batch holds, flushes first. An attachment bigger than the whole batch grows
// it (up to 65536 vertices, the reach of a 16-bit index; a bigger one is dropped
// with a log line), so a batch never overflows and, once grown, allocates nothing.
// Flushing draws with the current program: attributes 0 position, 1 colour
// (normalised bytes), 2 texture coordinates.
#include <cstdint>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/renderer/Texture2D.h"

namespace skeleton {

struct PolygonVertex {
    float x, y;
    uint8_t r, g, b, a;
    float u, v;
};
static_assert(sizeof(PolygonVertex) == 20);

class PolygonBatch : public engine::Ref {
public:
    // Autoreleased; nullptr when capacity is not in 1 .. 65536.
    static PolygonBatch* createWithCapacity(int capacity);
    bool initWithCapacity(int capacity);
    ~PolygonBatch() override;

    // verticesCount floats of positions (two per vertex) with uvs of the same
    // count, trianglesCount indices into those vertices (each below
    // verticesCount / 2), one colour for all.
    void add(engine::Texture2D* texture, const float* vertices, const float* uvs, int verticesCount,
             const int* triangles, int trianglesCount, const engine::Color4B& color);
    // Draws what is queued (nothing when empty) and counts one batch and its
    // vertices in the director's renderer.
    void flush();

    int getCapacity() const { return _capacity; }
    int getVerticesCount() const { return _verticesCount; }
    int getTrianglesCount() const { return _trianglesCount; }

protected:
    PolygonBatch() = default;

private:
    bool grow(int capacity);

    int _capacity = 0;
    PolygonVertex* _vertices = nullptr;
    int _verticesCount = 0;
    uint16_t* _triangles = nullptr;
    int _trianglesCount = 0;
    engine::Texture2D* _texture = nullptr;   // not retained
};

}  // namespace skeleton
