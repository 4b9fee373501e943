// The generated-style classes of the experimental module (table "ccexp"), registered while
// the Lua stack starts.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/core/LuaTileMaps.h"
#include "engine/app/GLView.h"
#include "engine/renderer/FrameBuffer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/tilemap/ExperimentalTMX.h"

#include <vector>

namespace bindings {

namespace {

using engine::experimental::TMXTiledMap;

const Method kTMXTiledMapMethods[] = {
    {"create", {classFunction<&TMXTiledMap::create>()}},
    {"getLayer", {method<&TMXTiledMap::getLayer>()}},
};

using engine::experimental::FrameBuffer;

// Frame ids and stencil values as scripts give them: their low 8 bits.
FrameBuffer* frameBufferCreate(int32_t fid, uint32_t width, uint32_t height) {
    return FrameBuffer::create(static_cast<uint8_t>(fid), width, height);
}
int32_t frameBufferFid(FrameBuffer* self) { return self->getFID(); }
void setClearStencil(FrameBuffer* self, int32_t stencil) { self->setClearStencil(static_cast<int8_t>(stencil)); }
int32_t getClearStencil(FrameBuffer* self) { return self->getClearStencil(); }

const Method kFrameBufferMethods[] = {
    {"create", {classFunction<&frameBufferCreate>()}},
    {"getOrCreateDefaultFBO", {classFunction<&FrameBuffer::getOrCreateDefaultFBO>()}},
    {"applyDefaultFBO", {classFunction<&FrameBuffer::applyDefaultFBO>()}},
    {"getFID", {method<&frameBufferFid>()}},
    {"getWidth", {method<&FrameBuffer::getWidth>()}},
    {"getHeight", {method<&FrameBuffer::getHeight>()}},
    {"isDefaultFBO", {method<&FrameBuffer::isDefaultFBO>()}},
    {"setClearColor", {method<&FrameBuffer::setClearColor>()}},
    {"getClearColor", {method<&FrameBuffer::getClearColor>()}},
    {"setClearDepth", {method<&FrameBuffer::setClearDepth>()}},
    {"getClearDepth", {method<&FrameBuffer::getClearDepth>()}},
    {"setClearStencil", {method<&setClearStencil>()}},
    {"getClearStencil", {method<&getClearStencil>()}},
    {"getRenderTarget", {method<&FrameBuffer::getRenderTarget>()}},
    {"getFBO", {method<&FrameBuffer::getFBO>()}},
    {"applyFBO", {method<&FrameBuffer::applyFBO>()}},
    {"clearFBO", {method<&FrameBuffer::clearFBO>()}},
};

// Rows in registration order, bases first. The tile-map classes share the core
// ones' model and methods (their bases).
const std::vector<ClassEntry> kExperimentalClasses = {
    classEntry<engine::experimental::TMXLayer>("ccexp.TMXLayer", "cc.TMXLayer"),
    classEntry<TMXTiledMap>("ccexp.TMXTiledMap", "cc.TMXTiledMap", kTMXTiledMapMethods),
    classEntry<FrameBuffer>("ccexp.FrameBuffer", "cc.Ref", kFrameBufferMethods),
};

}  // namespace

std::span<const ClassEntry> experimentalClassTable() { return kExperimentalClasses; }

// The generated-style table, then the hand-written methods right after it.
int register_experimental_classes(lua_State* L) {
    const int result = registerClassTable(L, kExperimentalClasses);
    register_experimental_manual(L);
    return result;
}

}  // namespace bindings
