#include "engine/3d/ObjReader.h"

#include <tiny_obj_loader.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <unordered_map>

#include "engine/base/Data.h"
#include "engine/files/FileUtils.h"

namespace engine {

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty() || name[0] == '/') return name;
    return folder + "/" + name;
}

// Material libraries from the model's folder, read as full paths.
class FolderMaterialReader : public tinyobj::MaterialReader {
public:
    explicit FolderMaterialReader(std::string folder) : _folder(std::move(folder)) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* names, std::string* warn, std::string* err) override {
        if (_folder.empty()) return false;
        Data data = FileUtils::getInstance()->getDataFromFile(joined(_folder, name));
        if (data.isNull()) {
            if (warn) *warn += "material library not found: " + name + "\n";
            return false;
        }
        std::istringstream stream(
            std::string(reinterpret_cast<const char*>(data.getBytes()), static_cast<size_t>(data.getSize())));
        tinyobj::LoadMtl(names, materials, &stream, warn, err);
        return true;
    }

private:
    std::string _folder;
};

struct VertexKey {
    int position, normal, texCoord;
    bool operator==(const VertexKey& o) const {
        return position == o.position && normal == o.normal && texCoord == o.texCoord;
    }
};
struct VertexKeyHash {
    size_t operator()(const VertexKey& k) const {
        uint64_t h = static_cast<uint32_t>(k.position);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(k.normal);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(k.texCoord);
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// One shape's faces as an indexed triangle list; false for an index out of range.
bool buildMesh(const tinyobj::attrib_t& attrib, const tinyobj::shape_t& shape,
               const std::vector<tinyobj::material_t>& materials, const std::string& folder, ObjMesh& mesh,
               std::string* error) {
    const auto positionCount = static_cast<int64_t>(attrib.vertices.size() / 3);
    const auto normalCount = static_cast<int64_t>(attrib.normals.size() / 3);
    const auto texCoordCount = static_cast<int64_t>(attrib.texcoords.size() / 2);
    const std::vector<tinyobj::index_t>& corners = shape.mesh.indices;
    mesh.name = shape.name;
    std::unordered_map<VertexKey, unsigned, VertexKeyHash> vertices;
    bool hasNormals = false, hasTexCoords = false;
    auto vertexOf = [&](const tinyobj::index_t& corner, unsigned* out) {
        if (corner.vertex_index < 0 || corner.vertex_index >= positionCount) return false;
        if (corner.normal_index >= normalCount || corner.normal_index < -1) return false;
        if (corner.texcoord_index >= texCoordCount || corner.texcoord_index < -1) return false;
        const VertexKey key{corner.vertex_index, corner.normal_index, corner.texcoord_index};
        auto [it, added] = vertices.emplace(key, static_cast<unsigned>(vertices.size()));
        if (added) {
            const size_t p = static_cast<size_t>(key.position) * 3;
            mesh.positions.insert(mesh.positions.end(), {attrib.vertices[p], attrib.vertices[p + 1], attrib.vertices[p + 2]});
            if (key.normal >= 0) {
                const size_t n = static_cast<size_t>(key.normal) * 3;
                mesh.normals.insert(mesh.normals.end(), {attrib.normals[n], attrib.normals[n + 1], attrib.normals[n + 2]});
                hasNormals = true;
            } else {
                mesh.normals.insert(mesh.normals.end(), {0.f, 0.f, 0.f});
            }
            if (key.texCoord >= 0) {
                const size_t t = static_cast<size_t>(key.texCoord) * 2;
                mesh.texCoords.insert(mesh.texCoords.end(), {attrib.texcoords[t], 1.f - attrib.texcoords[t + 1]});
                hasTexCoords = true;
            } else {
                mesh.texCoords.insert(mesh.texCoords.end(), {0.f, 0.f});
            }
        }
        *out = it->second;
        return true;
    };
    // The parser keeps each face's corner count in a byte: a larger polygon
    // leaves the counts short of the corners, and the faces cannot be told apart.
    size_t counted = 0;
    for (unsigned char count : shape.mesh.num_face_vertices) counted += count;
    if (counted != corners.size()) return fail(error, "a polygon of more than 255 corners in mesh \"" + shape.name + "\"");
    size_t next = 0;
    for (unsigned char count : shape.mesh.num_face_vertices) {
        if (next + count > corners.size()) return fail(error, "face past the end of its indices");
        unsigned first = 0, previous = 0;
        for (unsigned k = 0; k < count; ++k) {
            unsigned vertex = 0;
            if (!vertexOf(corners[next + k], &vertex)) {
                return fail(error, "index out of range in mesh \"" + shape.name + "\"");
            }
            if (k == 0) first = vertex;
            if (k >= 2) mesh.indices.insert(mesh.indices.end(), {first, previous, vertex});
            previous = vertex;
        }
        next += count;
    }
    if (!hasNormals) mesh.normals.clear();
    if (!hasTexCoords) mesh.texCoords.clear();
    if (!shape.mesh.material_ids.empty()) {
        const int material = shape.mesh.material_ids.front();
        if (material >= 0 && static_cast<size_t>(material) < materials.size()) {
            mesh.diffuseTexture = joined(folder, materials[static_cast<size_t>(material)].diffuse_texname);
            if (materials[static_cast<size_t>(material)].diffuse_texname.empty()) mesh.diffuseTexture.clear();
        }
    }
    return true;
}

}  // namespace

bool readObjData(const char* data, size_t size, const std::string& folder, std::vector<ObjMesh>& meshes,
                 std::string* error) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    std::istringstream stream(std::string(data ? data : "", data ? size : 0));
    FolderMaterialReader reader(folder);
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &stream, &reader, false, false)) {
        return fail(error, err.empty() ? "unreadable model" : err);
    }
    std::vector<ObjMesh> read;
    for (const tinyobj::shape_t& shape : shapes) {
        ObjMesh mesh;
        if (!buildMesh(attrib, shape, materials, folder, mesh, error)) return false;
        if (!mesh.indices.empty()) read.push_back(std::move(mesh));
    }
    if (read.empty()) return fail(error, "model without faces");
    for (ObjMesh& mesh : read) meshes.push_back(std::move(mesh));
    return true;
}

bool readObjFullPath(const std::string& fullPath, std::vector<ObjMesh>& meshes, std::string* error) {
    Data data = FileUtils::getInstance()->getDataFromFile(fullPath);
    if (data.isNull()) return fail(error, "model not found: " + fullPath);
    return readObjData(reinterpret_cast<const char*>(data.getBytes()), static_cast<size_t>(data.getSize()),
                       folderOf(fullPath), meshes, error);
}

bool readObjFile(const std::string& path, std::vector<ObjMesh>& meshes, std::string* error) {
    const std::string full = FileUtils::getInstance()->fullPathForFilename(path);
    if (full.empty()) return fail(error, "model not found: " + path);
    return readObjFullPath(full, meshes, error);
}

}  // namespace engine
