#include "engine/3d/Mesh.h"

#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"

namespace engine {

MeshIndexData* MeshIndexData::create(const std::string& id, const std::vector<unsigned>& indices,
                                     const std::vector<float>& positions) {
    auto* data = new MeshIndexData;
    data->_id = id;
    data->_indices = indices;
    const size_t vertexCount = positions.size() / 3;
    for (unsigned index : indices) {
        if (index >= vertexCount) continue;
        const Vec3 p(positions[index * 3], positions[index * 3 + 1], positions[index * 3 + 2]);
        data->_aabb.updateMinMax(&p, 1);
    }
    data->autorelease();
    return data;
}

Mesh* Mesh::create(const ObjMesh& source) {
    auto* mesh = new Mesh;
    mesh->_name = source.name;
    mesh->_positions = source.positions;
    mesh->_normals = source.normals;
    mesh->_texCoords = source.texCoords;
    mesh->_textureFileName = source.diffuseTexture;
    mesh->_indexData = MeshIndexData::create(source.name, source.indices, source.positions);
    mesh->_indexData->retain();
    mesh->autorelease();
    return mesh;
}

Mesh::~Mesh() {
    if (_indexData) _indexData->release();
    if (_texture) _texture->release();
}

void Mesh::setTexture(Texture2D* texture) { assignRetained(_texture, texture); }

void Mesh::setTexture(const std::string& path) {
    if (Texture2D* texture = TextureCache::getInstance()->addImage(path)) setTexture(texture);
}

}  // namespace engine
