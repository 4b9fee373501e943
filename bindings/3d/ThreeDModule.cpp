// The 3d module: the 3D classes (table "cc").
#include "bindings/3d/Lua3DManual.h"
#include "bindings/3d/Lua3DMath.h"
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "engine/3d/AttachNode.h"
#include "engine/3d/Bundle3D.h"
#include "engine/3d/Mesh.h"
#include "engine/3d/MeshSkin.h"
#include "engine/3d/Skeleton3D.h"
#include "engine/3d/Sprite3D.h"
#include "engine/3d/Sprite3DCache.h"
#include "engine/3d/Terrain.h"
#include "engine/renderer/Texture2D.h"

#include <vector>

namespace bindings {

namespace {

using namespace engine;

Sprite3D* createSprite3D() { return Sprite3D::create(); }
Sprite3D* createSprite3DFromFile(const std::string& model) { return Sprite3D::create(model); }
Sprite3D* createSprite3DWithTexture(const std::string& model, const std::string& texture) {
    return Sprite3D::create(model, texture);
}
void setSpriteTextureFile(Sprite3D* self, const std::string& path) { self->setTexture(path); }
void setSpriteTexture(Sprite3D* self, Texture2D* texture) { self->setTexture(texture); }
int getSpriteMeshCount(Sprite3D* self) { return static_cast<int>(self->getMeshCount()); }

const Method kSprite3DMethods[] = {
    {"create", {classFunction<&createSprite3D>(), classFunction<&createSprite3DFromFile>(),
                classFunction<&createSprite3DWithTexture>()}},
    {"setTexture", {method<&setSpriteTexture>(), method<&setSpriteTextureFile>()}},
    {"getMesh", {method<&Sprite3D::getMesh>()}},
    {"getMeshByIndex", {method<&Sprite3D::getMeshByIndex>()}},
    {"getMeshByName", {method<&Sprite3D::getMeshByName>()}},
    {"getMeshArrayByName", {method<&Sprite3D::getMeshArrayByName>()}},
    {"getMeshes", {method<&Sprite3D::getMeshes>()}},
    {"getMeshCount", {method<&getSpriteMeshCount>()}},
    {"setBlendFunc", {methodOf<Sprite3D, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<Sprite3D, &BlendProtocol::getBlendFunc>()}},
    {"setCullFaceEnabled", {method<&Sprite3D::setCullFaceEnabled>()}},
    {"isCullFaceEnabled", {method<&Sprite3D::isCullFaceEnabled>()}},
    {"getSkeleton", {method<&Sprite3D::getSkeleton>()}},
    {"getAttachNode", {method<&Sprite3D::getAttachNode>()}},
    {"removeAttachNode", {method<&Sprite3D::removeAttachNode>()}},
    {"removeAllAttachNode", {method<&Sprite3D::removeAllAttachNode>()}},
};

void setMeshTextureFile(Mesh* self, const std::string& path) { self->setTexture(path); }
void setMeshTexture(Mesh* self, Texture2D* texture) { self->setTexture(texture); }
int getMeshVertexCount(Mesh* self) { return static_cast<int>(self->getVertexCount()); }
int getMeshIndexCount(Mesh* self) { return static_cast<int>(self->getIndexCount()); }

const Method kMeshMethods[] = {
    {"getName", {method<&Mesh::getName>()}},
    {"setName", {method<&Mesh::setName>()}},
    {"setTexture", {method<&setMeshTexture>(), method<&setMeshTextureFile>()}},
    {"getTexture", {method<&Mesh::getTexture>()}},
    {"setVisible", {method<&Mesh::setVisible>()}},
    {"isVisible", {method<&Mesh::isVisible>()}},
    {"getVertexCount", {method<&getMeshVertexCount>()}},
    {"getIndexCount", {method<&getMeshIndexCount>()}},
    {"getMeshIndexData", {method<&Mesh::getMeshIndexData>()}},
    {"getSkin", {method<&Mesh::getSkin>()}},
};

const Method kMeshIndexDataMethods[] = {
    {"getId", {method<&MeshIndexData::getId>()}},
};

int getSkinBoneCount(MeshSkin* self) { return static_cast<int>(self->getBoneCount()); }

const Method kMeshSkinMethods[] = {
    {"getBoneCount", {method<&getSkinBoneCount>()}},
    {"getBoneByIndex", {method<&MeshSkin::getBoneByIndex>()}},
    {"getBoneByName", {method<&MeshSkin::getBoneByName>()}},
    {"getRootBone", {method<&MeshSkin::getRootBone>()}},
};

int getChildBoneCount(Bone3D* self) { return static_cast<int>(self->getChildBoneCount()); }

const Method kBone3DMethods[] = {
    {"getName", {method<&Bone3D::getName>()}},
    {"getParentBone", {method<&Bone3D::getParentBone>()}},
    {"getChildBoneCount", {method<&getChildBoneCount>()}},
    {"getChildBoneByIndex", {method<&Bone3D::getChildBoneByIndex>()}},
    {"addChildBone", {method<&Bone3D::addChildBone>()}},
    {"removeChildBone", {method<&Bone3D::removeChildBone>()}},
    {"removeChildBoneByIndex", {method<&Bone3D::removeChildBoneByIndex>()}},
    {"removeAllChildBone", {method<&Bone3D::removeAllChildBone>()}},
    {"getWorldMat", {method<&Bone3D::getWorldMat>()}},
};

int getSkeletonBoneCount(Skeleton3D* self) { return static_cast<int>(self->getBoneCount()); }
int getSkeletonRootCount(Skeleton3D* self) { return static_cast<int>(self->getRootCount()); }

const Method kSkeleton3DMethods[] = {
    {"create", {classFunction<&Skeleton3D::create>()}},
    {"addBone", {method<&Skeleton3D::addBone>()}},
    {"getBoneCount", {method<&getSkeletonBoneCount>()}},
    {"getBoneByIndex", {method<&Skeleton3D::getBoneByIndex>()}},
    {"getBoneByName", {method<&Skeleton3D::getBoneByName>()}},
    {"getBoneIndex", {method<&Skeleton3D::getBoneIndex>()}},
    {"getRootCount", {method<&getSkeletonRootCount>()}},
    {"getRootBone", {method<&Skeleton3D::getRootBone>()}},
};

const Method kAttachNodeMethods[] = {
    {"create", {classFunction<&AttachNode::create>()}},
};

const Method kSprite3DCacheMethods[] = {
    {"getInstance", {classFunction<&Sprite3DCache::getInstance>()}},
    {"destroyInstance", {classFunction<&Sprite3DCache::destroyInstance>()}},
    {"removeSprite3DData", {method<&Sprite3DCache::removeSprite3DData>()}},
    {"removeAllSprite3DData", {method<&Sprite3DCache::removeAllSprite3DData>()}},
};

const Method kBundle3DMethods[] = {
    {"createBundle", {classFunction<&Bundle3D::createBundle>()}},
    {"destroyBundle", {classFunction<&Bundle3D::destroyBundle>()}},
    {"load", {method<&Bundle3D::load>()}},
    {"clear", {method<&Bundle3D::clear>()}},
};

float getTerrainMinHeight(Terrain* self) { return self->getMinHeight(); }
float getTerrainMaxHeight(Terrain* self) { return self->getMaxHeight(); }

const Method kTerrainMethods[] = {
    {"getMinHeight", {method<&getTerrainMinHeight>()}},
    {"getMaxHeight", {method<&getTerrainMaxHeight>()}},
    {"getTerrainSize", {method<&Terrain::getTerrainSize>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kThreeDClasses = {
    classEntry<Sprite3D>("cc.Sprite3D", "cc.Node", kSprite3DMethods),
    classEntry<Mesh>("cc.Mesh", "cc.Ref", kMeshMethods),
    classEntry<MeshIndexData>("cc.MeshIndexData", "cc.Ref", kMeshIndexDataMethods),
    classEntry<MeshSkin>("cc.MeshSkin", "cc.Ref", kMeshSkinMethods),
    classEntry<Bone3D>("cc.Bone3D", "cc.Ref", kBone3DMethods),
    classEntry<Skeleton3D>("cc.Skeleton3D", "cc.Ref", kSkeleton3DMethods),
    classEntry<AttachNode>("cc.AttachNode", "cc.Node", kAttachNodeMethods),
    classEntry<Sprite3DCache>("cc.Sprite3DCache", nullptr, kSprite3DCacheMethods),
    classEntry<Bundle3D>("cc.Bundle3D", nullptr, kBundle3DMethods),
    classEntry<Terrain>("cc.Terrain", "cc.Node", kTerrainMethods),
};

}  // namespace

std::span<const ClassEntry> threeDClassTable() { return kThreeDClasses; }

int register_3d_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kThreeDClasses);
    registerClassTable(L, threeDSceneClassRows());
    if (L) register_3d_manual(L);
    register_3d_math_classes(L);
    return 1;
}

}  // namespace bindings
