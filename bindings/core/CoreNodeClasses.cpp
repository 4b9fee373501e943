// Nodes of the core table kept apart: the clipping rectangle, the parallax
// node, atlas nodes and their texture atlas, the font atlas, and the task pool.
#include "bindings/core/CoreClassRows.h"

#include <string>

#include "engine/base/AsyncTaskPool.h"
#include "engine/label/FontAtlas.h"
#include "engine/label/LabelAtlas.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureAtlas.h"
#include "engine/scene/AtlasNode.h"
#include "engine/scene/ClippingRectangleNode.h"
#include "engine/scene/ParallaxNode.h"
#include "engine/scene/ProtectedNode.h"
#include "engine/scene/Sprite.h"
#include "engine/tilemap/TileMapAtlas.h"

namespace bindings {

namespace {

using namespace engine;

ClippingRectangleNode* createClipping() { return ClippingRectangleNode::create(); }
ClippingRectangleNode* createClippingIn(const Rect& region) { return ClippingRectangleNode::create(region); }
const Method kClippingRectangleNodeMethods[] = {
    {"create", {classFunction<&createClippingIn>(), classFunction<&createClipping>()}},
    {"getClippingRegion", {method<&ClippingRectangleNode::getClippingRegion>()}},
    {"setClippingRegion", {method<&ClippingRectangleNode::setClippingRegion>()}},
    {"isClippingEnabled", {method<&ClippingRectangleNode::isClippingEnabled>()}},
    {"setClippingEnabled", {method<&ClippingRectangleNode::setClippingEnabled>()}},
};

void addParallaxChild(ParallaxNode* self, Node* child, int32_t z, const Vec2& ratio, const Vec2& offset) {
    self->addChild(child, z, ratio, offset);
}
const Method kParallaxNodeMethods[] = {
    {"create", {classFunction<&ParallaxNode::create>()}},
    {"addChild", {method<&Node::addChild, 0, Node::INVALID_TAG>(), method<&addParallaxChild>()}},
    {"updateChildPositions", {method<&ParallaxNode::updateChildPositions>()}},
};

AtlasNode* createAtlasNode() { return AtlasNode::BlendNode::create(); }
AtlasNode* createAtlasNodeFromTile(const std::string& tile, int32_t width, int32_t height, int32_t items) {
    return AtlasNode::create(tile, width, height, items);
}
const Method kAtlasNodeMethods[] = {
    {"create", {classFunction<&createAtlasNodeFromTile>(), classFunction<&createAtlasNode>()}},
    {"setBlendFunc", {methodOf<AtlasNode, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<AtlasNode, &BlendProtocol::getBlendFunc>()}},
    {"getTextureAtlas", {method<&AtlasNode::getTextureAtlas>()}},
    {"setTextureAtlas", {method<&AtlasNode::setTextureAtlas>()}},
    {"getTexture", {method<&AtlasNode::getTexture>()}},
    {"setTexture", {method<&AtlasNode::setTexture>()}},
    {"getQuadsToDraw", {method<&AtlasNode::getQuadsToDraw>()}},
    {"setQuadsToDraw", {method<&AtlasNode::setQuadsToDraw>()}},
    {"updateAtlasValues", {method<&AtlasNode::updateAtlasValues>()}},
};

LabelAtlas* createLabelAtlas() { return LabelAtlas::create(); }
LabelAtlas* createLabelAtlasWithMap(const std::string& text, const std::string& charMap, int32_t width, int32_t height,
                                    int32_t startChar) {
    return LabelAtlas::create(text, charMap, width, height, startChar);
}
const Method kLabelAtlasMethods[] = {
    {"create", {classFunction<&createLabelAtlasWithMap>(), classFunction<&createLabelAtlas>()}},
    {"initWithString", {method<&LabelAtlas::initWithString>()}},
    {"setString", {method<&LabelAtlas::setString>()}},
    {"getString", {method<&LabelAtlas::getString>()}},
};

const Method kTileMapAtlasMethods[] = {
    {"create", {classFunction<&TileMapAtlas::create>()}},
    {"getTileAt", {method<&TileMapAtlas::getTileAt>()}},
    {"setTile", {method<&TileMapAtlas::setTile>()}},
    {"releaseMap", {method<&TileMapAtlas::releaseMap>()}},
};

const Method kTextureAtlasMethods[] = {
    {"create", {classFunction<&TextureAtlas::create>()}},
    {"createWithTexture", {classFunction<&TextureAtlas::createWithTexture>()}},
    {"getTexture", {method<&TextureAtlas::getTexture>()}},
    {"setTexture", {method<&TextureAtlas::setTexture>()}},
    {"getTotalQuads", {method<&TextureAtlas::getTotalQuads>()}},
    {"getCapacity", {method<&TextureAtlas::getCapacity>()}},
    {"isDirty", {method<&TextureAtlas::isDirty>()}},
    {"setDirty", {method<&TextureAtlas::setDirty>()}},
    {"insertQuadFromIndex", {method<&TextureAtlas::insertQuadFromIndex>()}},
    {"removeQuadAtIndex", {method<&TextureAtlas::removeQuadAtIndex>()}},
    {"removeQuadsAtIndex", {method<&TextureAtlas::removeQuadsAtIndex>()}},
    {"removeAllQuads", {method<&TextureAtlas::removeAllQuads>()}},
    {"resizeCapacity", {method<&TextureAtlas::resizeCapacity>()}},
    {"increaseTotalQuadsWith", {method<&TextureAtlas::increaseTotalQuadsWith>()}},
    {"moveQuadsFromIndex", {method<&TextureAtlas::moveQuadsFromIndex>()}},
    {"fillWithEmptyQuadsFromIndex", {method<&TextureAtlas::fillWithEmptyQuadsFromIndex>()}},
};

FontAtlas* createFontAtlas() { return FontAtlas::create(); }
FontAtlas* createNamedFontAtlas(const std::string& name) { return FontAtlas::create(name); }
const Method kFontAtlasMethods[] = {
    {"create", {classFunction<&createNamedFontAtlas>(), classFunction<&createFontAtlas>()}},
    {"getFontName", {method<&FontAtlas::getFontName>()}},
    {"addTexture", {method<&FontAtlas::addTexture>()}},
    {"getTexture", {method<&FontAtlas::getTexture>()}},
    {"purgeTexturesAtlas", {method<&FontAtlas::purgeTexturesAtlas>()}},
    {"getLineHeight", {method<&FontAtlas::getLineHeight>()}},
    {"setLineHeight", {method<&FontAtlas::setLineHeight>()}},
    {"setAliasTexParameters", {method<&FontAtlas::setAliasTexParameters>()}},
    {"setAntiAliasTexParameters", {method<&FontAtlas::setAntiAliasTexParameters>()}},
};

const Method kProtectedNodeMethods[] = {
    {"create", {classFunction<&ProtectedNode::create>()}},
    {"addProtectedChild", {method<&ProtectedNode::addProtectedChild, 0, Node::INVALID_TAG>()}},
    {"getProtectedChildByTag", {method<&ProtectedNode::getProtectedChildByTag>()}},
    {"removeProtectedChild", {method<&ProtectedNode::removeProtectedChild, true>()}},
    {"removeProtectedChildByTag", {method<&ProtectedNode::removeProtectedChildByTag, true>()}},
    {"removeAllProtectedChildren", {method<&ProtectedNode::removeAllProtectedChildren>()}},
    {"removeAllProtectedChildrenWithCleanup", {method<&ProtectedNode::removeAllProtectedChildrenWithCleanup>()}},
    {"reorderProtectedChild", {method<&ProtectedNode::reorderProtectedChild>()}},
};

const Method kRenderTextureMethods[] = {
    {"create", {classFunction<&RenderTexture::create>()}},
    {"getSprite", {method<&RenderTexture::getSprite>()}},
    {"clear", {method<&RenderTexture::clear>()}},
    {"setClearColor", {method<&RenderTexture::setClearColor>()}},
    {"getClearColor", {method<&RenderTexture::getClearColor>()}},
    {"begin", {method<&RenderTexture::begin>()}},
    {"beginWithClear", {method<&RenderTexture::beginWithClear>()}},
    {"endToLua", {method<&RenderTexture::end>()}},
    {"saveToFile", {method<&RenderTexture::saveToFile>()}},
};

// Task types by number: 0 input/output, 1 network, 2 other.
void stopTasks(AsyncTaskPool* self, int32_t type) { self->stopTasks(static_cast<AsyncTaskPool::TaskType>(type)); }
const Method kAsyncTaskPoolMethods[] = {
    {"getInstance", {classFunction<&AsyncTaskPool::getInstance>()}},
    {"destroyInstance", {classFunction<&AsyncTaskPool::destroyInstance>()}},
    {"stopTasks", {method<&stopTasks>()}},
};

const ClassEntry kRows[] = {
    classEntry<ClippingRectangleNode>("cc.ClippingRectangleNode", "cc.Node", kClippingRectangleNodeMethods),
    classEntry<ParallaxNode>("cc.ParallaxNode", "cc.Node", kParallaxNodeMethods),
    classEntry<ProtectedNode>("cc.ProtectedNode", "cc.Node", kProtectedNodeMethods),
    classEntry<RenderTexture>("cc.RenderTexture", "cc.Node", kRenderTextureMethods),
    classEntry<LabelAtlas>("cc.LabelAtlas", "cc.AtlasNode", kLabelAtlasMethods),
    classEntry<TileMapAtlas>("cc.TileMapAtlas", "cc.AtlasNode", kTileMapAtlasMethods),
    classEntry<TextureAtlas>("cc.TextureAtlas", "cc.Ref", kTextureAtlasMethods),
    classEntry<FontAtlas>("cc.FontAtlas", "cc.Ref", kFontAtlasMethods),
    classEntry<AsyncTaskPool>("cc.AsyncTaskPool", nullptr, kAsyncTaskPoolMethods),
};

}  // namespace

std::span<const Method> atlasNodeMethods() { return kAtlasNodeMethods; }
std::span<const ClassEntry> coreNodeRows() { return kRows; }

}  // namespace bindings
