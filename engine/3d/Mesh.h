#pragma once
// One mesh of a 3D model: its vertices (positions, and normals and texture
// coordinates when the model gives them), its triangles, the texture it is
// drawn with and whether it is drawn at all. The triangle list is a
// MeshIndexData of its own, named after the mesh. Vertex layout and spaces are
// those of ObjMesh (engine/3d/ObjReader.h); the box is in the model's space.
#include <string>
#include <vector>

#include "engine/3d/AABB.h"
#include "engine/3d/ObjReader.h"
#include "engine/base/Ref.h"

namespace engine {

class MeshSkin;
class Texture2D;

// A triangle list: three vertex indices per triangle, and the box around the
// vertices it uses.
class MeshIndexData : public Ref {
public:
    // Autoreleased. positions hold 3 floats a vertex; indices past them are
    // left out of the box.
    static MeshIndexData* create(const std::string& id, const std::vector<unsigned>& indices,
                                 const std::vector<float>& positions);

    const std::string& getId() const { return _id; }
    const std::vector<unsigned>& getIndices() const { return _indices; }
    size_t getIndexCount() const { return _indices.size(); }
    const AABB& getAABB() const { return _aabb; }

private:
    MeshIndexData() = default;

    std::string _id;
    std::vector<unsigned> _indices;
    AABB _aabb;
};

class Mesh : public Ref {
public:
    // Autoreleased.
    static Mesh* create(const ObjMesh& source);
    ~Mesh() override;

    const std::string& getName() const { return _name; }
    void setName(const std::string& name) { _name = name; }
    size_t getVertexCount() const { return _positions.size() / 3; }
    const std::vector<float>& getPositions() const { return _positions; }
    const std::vector<float>& getNormals() const { return _normals; }
    const std::vector<float>& getTexCoords() const { return _texCoords; }
    MeshIndexData* getMeshIndexData() const { return _indexData; }
    size_t getIndexCount() const { return _indexData->getIndexCount(); }
    // The model's own texture file for this mesh ("" when none).
    const std::string& getTextureFileName() const { return _textureFileName; }

    // Retained; null draws plain white.
    void setTexture(Texture2D* texture);
    // The image at path through the texture cache; a missing image keeps the
    // texture in use.
    void setTexture(const std::string& path);
    Texture2D* getTexture() const { return _texture; }
    void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    // The skin binding the mesh to a skeleton; models without bones have none.
    MeshSkin* getSkin() const { return nullptr; }
    const AABB& getAABB() const { return _indexData->getAABB(); }

private:
    Mesh() = default;

    std::string _name;
    std::vector<float> _positions, _normals, _texCoords;
    MeshIndexData* _indexData = nullptr;
    std::string _textureFileName;
    Texture2D* _texture = nullptr;
    bool _visible = true;
};

}  // namespace engine
