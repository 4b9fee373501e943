#pragma once
// A node showing a 3D model: one Mesh per object of the model file (Wavefront
// OBJ, engine/3d/ObjReader.h), each drawn as textured triangles with the node's
// world transform, its displayed colour and opacity and the sprite's blend
// function, with depth testing, when a GL context exists.
//
// Models are read once per full path (engine/3d/Sprite3DCache.h). A mesh takes
// the diffuse texture its material names unless a texture is given to the
// sprite, which then goes to every mesh. createAsync reads the model on a
// worker thread and calls back on the main thread, once, with the new sprite
// (autoreleased), or with null when the model could not be read. The sprite has
// no skeleton: models of this format carry no bones, so there is nothing to
// attach nodes to either. Main thread only, like every node.
#include <functional>
#include <string>
#include <vector>

#include "engine/3d/AABB.h"
#include "engine/3d/Mesh.h"
#include "engine/3d/ObjReader.h"
#include "engine/base/Vector.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

class AttachNode;
class Skeleton3D;
class Texture2D;

class Sprite3D : public Node, public BlendProtocol {
public:
    // New sprites, autoreleased; null (logged) when the model cannot be read.
    static Sprite3D* create();   // no meshes
    static Sprite3D* create(const std::string& modelPath);
    static Sprite3D* create(const std::string& modelPath, const std::string& texturePath);
    using AsyncCallback = std::function<void(Sprite3D*, void*)>;
    static void createAsync(const std::string& modelPath, const AsyncCallback& callback, void* param);
    static void createAsync(const std::string& modelPath, const std::string& texturePath,
                            const AsyncCallback& callback, void* param);
    ~Sprite3D() override;

    // Every mesh takes the texture (retained; a missing image changes nothing).
    void setTexture(const std::string& texturePath);
    void setTexture(Texture2D* texture);

    const Vector<Mesh*>& getMeshes() const { return _meshes; }
    size_t getMeshCount() const { return _meshes.size(); }
    Mesh* getMesh() const { return _meshes.empty() ? nullptr : _meshes.at(0); }
    Mesh* getMeshByIndex(int index) const;
    Mesh* getMeshByName(const std::string& name) const;   // the first of that name
    std::vector<Mesh*> getMeshArrayByName(const std::string& name) const;

    // The box around every mesh, in world space (the node-to-world transform of
    // now); the sprite keeps it until the next call.
    const AABB& getAABB() const;

    // Until one is set, the blend follows the first mesh's texture: colours
    // premultiplied by alpha are taken as they are, others are multiplied.
    void setBlendFunc(const BlendFunc& blendFunc) override {
        _blendFunc = blendFunc;
        _blendFuncSet = true;
    }
    const BlendFunc& getBlendFunc() const override;
    // Back faces (counter-clockwise front) are skipped while culling is on.
    void setCullFaceEnabled(bool enabled) { _cullFaceEnabled = enabled; }
    bool isCullFaceEnabled() const { return _cullFaceEnabled; }

    Skeleton3D* getSkeleton() const { return nullptr; }
    // The node that follows the named bone; null: there are no bones.
    AttachNode* getAttachNode(const std::string& boneName) const;
    void removeAttachNode(const std::string& boneName);
    void removeAllAttachNode();

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Sprite3D() = default;
    // Reads the model (through the cache) and builds its meshes; false when it
    // cannot be read. For subclasses' own create().
    bool initWithFile(const std::string& modelPath);
    // Builds the meshes of a model already read; its textures come from its
    // materials.
    bool initWithModel(const std::vector<ObjMesh>& model);

private:
    void drawMeshes(const Mat4& transform);

    Vector<Mesh*> _meshes;
    BlendFunc _blendFunc = BlendFunc::ALPHA_NON_PREMULTIPLIED;
    bool _blendFuncSet = false;
    bool _cullFaceEnabled = false;
    mutable AABB _aabb;
    CustomCommand _command;
};

}  // namespace engine
