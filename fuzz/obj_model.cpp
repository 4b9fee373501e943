// Any bytes as a Wavefront model: the reader gives meshes whose every index
// names a vertex and whose arrays agree in length, or a refusal with nothing
// appended; a 3D sprite built from the meshes has a box around them. Never a
// read past the end, a leak or unbounded growth.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/3d/ObjReader.h"
#include "engine/3d/Sprite3D.h"
#include "engine/base/AutoreleasePool.h"
#include "fuzz/FuzzSupport.h"

namespace {

// Builds a sprite from meshes already read, as the model cache does.
class ModelSprite : public engine::Sprite3D {
public:
    bool build(const std::vector<engine::ObjMesh>& meshes) { return initWithModel(meshes); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> copy(data, data + size);   // exact-size buffer for the sanitizer
    std::vector<engine::ObjMesh> meshes;
    std::string error;
    if (!engine::readObjData(copy.data(), copy.size(), "", meshes, &error)) {
        fuzzsupport::check(meshes.empty() && !error.empty(), "a refusal appends nothing and says why");
        return 0;
    }
    size_t corners = 0;
    for (const engine::ObjMesh& mesh : meshes) {
        const size_t vertices = mesh.positions.size() / 3;
        fuzzsupport::check(mesh.positions.size() == vertices * 3 && vertices > 0, "whole positions");
        fuzzsupport::check(mesh.normals.empty() || mesh.normals.size() == vertices * 3, "a normal per vertex");
        fuzzsupport::check(mesh.texCoords.empty() || mesh.texCoords.size() == vertices * 2, "a coordinate per vertex");
        fuzzsupport::check(!mesh.indices.empty() && mesh.indices.size() % 3 == 0, "whole triangles");
        for (unsigned index : mesh.indices) fuzzsupport::check(index < vertices, "indices name vertices");
        corners += mesh.indices.size();
    }
    auto* sprite = new ModelSprite;
    fuzzsupport::check(sprite->build(meshes) && sprite->getMeshCount() == meshes.size(), "a mesh per model mesh");
    size_t indexCount = 0;
    for (engine::Mesh* mesh : sprite->getMeshes()) indexCount += mesh->getIndexCount();
    fuzzsupport::check(indexCount == corners, "every triangle kept");
    const engine::AABB& box = sprite->getAABB();
    for (const engine::ObjMesh& mesh : meshes) {
        for (unsigned index : mesh.indices) {
            const engine::Vec3 p(mesh.positions[index * 3], mesh.positions[index * 3 + 1], mesh.positions[index * 3 + 2]);
            if (p.x == p.x && p.y == p.y && p.z == p.z) fuzzsupport::check(box.containPoint(p), "the box holds the model");
        }
    }
    sprite->release();
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
