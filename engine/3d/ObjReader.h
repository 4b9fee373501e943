#pragma once
// Wavefront OBJ models (with their MTL material libraries) as vertex arrays.
//
// Each object or group of the file becomes one ObjMesh of triangles (polygons
// are split into fans): one vertex per distinct position / texture / normal
// triple the faces use, `indices` three per triangle into those vertices.
// positions hold 3 floats a vertex; normals 3 and texCoords 2 a vertex, or are
// empty when no face of the mesh gives them (a vertex without one then gets
// zeros). Texture coordinates are in the engine's texture space: t runs down
// from the image's top row (t = 1 - v of the file). diffuseTexture is the
// diffuse map of the material of the mesh's first face, as a path joined to
// the model's folder ("" when none). Meshes without faces are left out.
//
// Files are untrusted: an index past the arrays it refers to, a polygon of
// more than 255 corners, a missing file, or a model without any face fails
// with a message, and nothing is appended.
// Every function may run on any thread; readObjFile resolves the name through
// FileUtils and so belongs to the main thread, like every lookup.
#include <cstddef>
#include <string>
#include <vector>

namespace engine {

struct ObjMesh {
    std::vector<float> positions, normals, texCoords;
    std::vector<unsigned> indices;
    std::string name, diffuseTexture;
};

// The model at path, looked up through FileUtils (search paths apply);
// material libraries are read beside the found file. False (with the reason
// in error, when given) on failure.
bool readObjFile(const std::string& path, std::vector<ObjMesh>& meshes, std::string* error = nullptr);
// The same for a full path, read with no lookup: for worker threads.
bool readObjFullPath(const std::string& fullPath, std::vector<ObjMesh>& meshes, std::string* error = nullptr);
// The model from its bytes. Material libraries are read from folder (a full
// path, "" for none: materials are then skipped).
bool readObjData(const char* data, size_t size, const std::string& folder, std::vector<ObjMesh>& meshes,
                 std::string* error = nullptr);

}  // namespace engine
