#include "skeleton/PolygonBatch.h"

#include <cstddef>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/Renderer.h"
#include "skeleton/extension.h"

namespace skeleton {
namespace {
constexpr int kMaxCapacity = 65536;
}

PolygonBatch* PolygonBatch::createWithCapacity(int capacity) {
    auto* batch = new PolygonBatch;
    if (!batch->initWithCapacity(capacity)) {
        delete batch;
        return nullptr;
    }
    batch->autorelease();
    return batch;
}

bool PolygonBatch::initWithCapacity(int capacity) {
    if (capacity <= 0 || capacity > kMaxCapacity) return false;
    return grow(capacity);
}

PolygonBatch::~PolygonBatch() {
    SK_FREE(_vertices);
    SK_FREE(_triangles);
}

bool PolygonBatch::grow(int capacity) {
    auto* vertices = SK_CALLOC(PolygonVertex, capacity);
    auto* triangles = SK_CALLOC(uint16_t, static_cast<size_t>(capacity) * 3);
    SK_FREE(_vertices);
    SK_FREE(_triangles);
    _vertices = vertices;
    _triangles = triangles;
    _capacity = capacity;
    _verticesCount = _trianglesCount = 0;
    return true;
}

void PolygonBatch::add(engine::Texture2D* texture, const float* vertices, const float* uvs, int verticesCount,
                       const int* triangles, int trianglesCount, const engine::Color4B& color) {
    int addVertices = verticesCount / 2;
    if (addVertices <= 0 || trianglesCount <= 0) return;
    if (texture != _texture || _verticesCount + addVertices > _capacity ||
        _trianglesCount + trianglesCount > _capacity * 3) {
        flush();
        _texture = texture;
    }
    if (addVertices > _capacity || trianglesCount > _capacity * 3) {
        int needed = addVertices;
        if ((trianglesCount + 2) / 3 > needed) needed = (trianglesCount + 2) / 3;
        if (needed > kMaxCapacity) {
            engine::log("Skeleton: an attachment of %d vertices and %d indices does not fit a batch", addVertices,
                        trianglesCount);
            return;
        }
        grow(needed);
    }
    for (int i = 0; i < trianglesCount; ++i) {
        int index = triangles[i];
        // An index outside the attachment's own vertices would read another's.
        if (index < 0 || index >= addVertices) index = 0;
        _triangles[_trianglesCount + i] = static_cast<uint16_t>(index + _verticesCount);
    }
    _trianglesCount += trianglesCount;
    for (int i = 0; i < addVertices; ++i) {
        PolygonVertex& v = _vertices[_verticesCount + i];
        v.x = vertices[2 * i];
        v.y = vertices[2 * i + 1];
        v.r = color.r;
        v.g = color.g;
        v.b = color.b;
        v.a = color.a;
        v.u = uvs[2 * i];
        v.v = uvs[2 * i + 1];
    }
    _verticesCount += addVertices;
}

void PolygonBatch::flush() {
    if (!_verticesCount) return;
    const engine::GLFunctions& gl = engine::GL::fn();
    engine::GL::bindTexture2D(_texture ? _texture->getName() : 0);
    engine::GL::bindVAO(0);
    gl.bindBuffer(GL_ARRAY_BUFFER, 0);
    gl.enableVertexAttribArray(engine::GLProgram::VERTEX_ATTRIB_POSITION);
    gl.enableVertexAttribArray(engine::GLProgram::VERTEX_ATTRIB_COLOR);
    gl.enableVertexAttribArray(engine::GLProgram::VERTEX_ATTRIB_TEX_COORD);
    const auto* base = reinterpret_cast<const char*>(_vertices);
    gl.vertexAttribPointer(engine::GLProgram::VERTEX_ATTRIB_POSITION, 2, GL_FLOAT, GL_FALSE, sizeof(PolygonVertex),
                           base + offsetof(PolygonVertex, x));
    gl.vertexAttribPointer(engine::GLProgram::VERTEX_ATTRIB_COLOR, 4, GL_UNSIGNED_BYTE, GL_TRUE,
                           sizeof(PolygonVertex), base + offsetof(PolygonVertex, r));
    gl.vertexAttribPointer(engine::GLProgram::VERTEX_ATTRIB_TEX_COORD, 2, GL_FLOAT, GL_FALSE, sizeof(PolygonVertex),
                           base + offsetof(PolygonVertex, u));
    gl.drawElements(GL_TRIANGLES, _trianglesCount, GL_UNSIGNED_SHORT, _triangles);
    engine::Renderer* renderer = engine::Director::getInstance()->getRenderer();
    renderer->addDrawnBatches(1);
    renderer->addDrawnVertices(static_cast<size_t>(_verticesCount));
    _verticesCount = 0;
    _trianglesCount = 0;
}

}  // namespace skeleton
