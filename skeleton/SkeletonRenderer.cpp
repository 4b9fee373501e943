#include "skeleton/SkeletonRenderer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/renderer/DrawPrimitives.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/PolygonBatch.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/extension.h"

namespace skeleton {
namespace {

constexpr int kQuadTriangles[6] = {0, 1, 2, 2, 3, 0};

// What a drawn attachment hands the batch: its texture, its UVs and triangles, and
// its own colour.
struct AttachmentDraw {
    engine::Texture2D* texture = nullptr;
    const float* uvs = nullptr;
    const int* triangles = nullptr;
    int trianglesCount = 0;
    float r = 0, g = 0, b = 0, a = 0;
};

template <class Attachment>
AttachmentDraw drawOf(const Attachment* attachment, engine::Texture2D* texture, const int* triangles,
                      int trianglesCount) {
    return {texture, attachment->uvs, triangles, trianglesCount,
            attachment->r, attachment->g, attachment->b, attachment->a};
}

constexpr int kMinWorldVertices = 1000;
constexpr int kBatchCapacity = 2000;

engine::Texture2D* pageTexture(void* region) {
    if (!region) return nullptr;
    spAtlasPage* page = static_cast<spAtlasRegion*>(region)->page;
    return page ? static_cast<engine::Texture2D*>(page->rendererObject) : nullptr;
}

// Floats of world vertices an attachment produces; 0 for kinds that are not drawn.
int worldVerticesCount(const spAttachment* attachment) {
    switch (attachment->type) {
        case SP_ATTACHMENT_REGION: return 8;
        case SP_ATTACHMENT_MESH: return reinterpret_cast<const spMeshAttachment*>(attachment)->verticesCount;
        case SP_ATTACHMENT_SKINNED_MESH:
            return reinterpret_cast<const spSkinnedMeshAttachment*>(attachment)->uvsCount;
        default: return 0;
    }
}

// Truncated to a byte, clamped to 0 .. 255; NaN gives 0.
uint8_t colorByte(float value) {
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<uint8_t>(value);
}

}  // namespace

SkeletonRenderer* SkeletonRenderer::createWithFile(const std::string& skeletonDataFile, const std::string& atlasFile,
                                                   float scale) {
    auto* node = new SkeletonRenderer(skeletonDataFile, atlasFile, scale);
    node->autorelease();
    return node;
}

SkeletonRenderer::SkeletonRenderer() {
    _drawCommand.func = [this] { drawSkeleton(_drawTransform, _drawFlags); };
}

SkeletonRenderer::SkeletonRenderer(const std::string& skeletonDataFile, const std::string& atlasFile, float scale)
    : SkeletonRenderer() {
    initWithFile(skeletonDataFile, atlasFile, scale);
}

SkeletonRenderer::SkeletonRenderer(const std::string& skeletonDataFile, spAtlas* atlas, float scale)
    : SkeletonRenderer() {
    initWithFile(skeletonDataFile, atlas, scale);
}

SkeletonRenderer::SkeletonRenderer(spSkeletonData* skeletonData, bool ownsSkeletonData) : SkeletonRenderer() {
    initWithData(skeletonData, ownsSkeletonData);
}

SkeletonRenderer::~SkeletonRenderer() {
    // The skeleton refers to the data and the data's attachments to the atlas.
    if (_skeleton) spSkeleton_dispose(_skeleton);
    if (_ownsSkeletonData && _skeletonData) spSkeletonData_dispose(_skeletonData);
    if (_ownsAtlas && _atlas) spAtlas_dispose(_atlas);
    if (_batch) _batch->release();
    SK_FREE(_worldVertices);
}

void SkeletonRenderer::initWithFile(const std::string& skeletonDataFile, const std::string& atlasFile, float scale) {
    spAtlas* atlas = spAtlas_createFromFile(atlasFile.c_str(), nullptr);
    if (!atlas) {
        engine::log("Skeleton: %s", atlasFile.c_str());
        initialize();
        return;
    }
    _atlas = atlas;
    _ownsAtlas = true;
    initWithFile(skeletonDataFile, atlas, scale);
}

void SkeletonRenderer::initWithFile(const std::string& skeletonDataFile, spAtlas* atlas, float scale) {
    if (!_ownsAtlas) _atlas = atlas;
    spSkeletonData* data = nullptr;
    if (atlas) {
        spSkeletonJson* json = spSkeletonJson_create(atlas);
        json->scale = scale;
        data = spSkeletonJson_readSkeletonDataFile(json, skeletonDataFile.c_str());
        // A dropped animation leaves the error set beside the data.
        if (json->error) engine::log("Skeleton: %s", json->error);
        spSkeletonJson_dispose(json);
    } else {
        engine::log("Skeleton: no atlas for %s", skeletonDataFile.c_str());
    }
    if (data) setSkeletonData(data, true);
    initialize();
}

void SkeletonRenderer::initWithData(spSkeletonData* skeletonData, bool ownsSkeletonData) {
    if (skeletonData)
        setSkeletonData(skeletonData, ownsSkeletonData);
    else
        engine::log("Skeleton: no skeleton data");
    initialize();
}

void SkeletonRenderer::setSkeletonData(spSkeletonData* skeletonData, bool ownsSkeletonData) {
    _skeletonData = skeletonData;
    _skeleton = spSkeleton_create(skeletonData);
    _ownsSkeletonData = ownsSkeletonData;
}

void SkeletonRenderer::initialize() {
    int largest = kMinWorldVertices;
    if (_skeletonData) {
        for (int i = 0; i < _skeletonData->skinsCount; ++i) {
            for (const spSkinEntry* e = _skeletonData->skins[i]->entries; e; e = e->next)
                largest = std::max(largest, worldVerticesCount(e->attachment));
        }
    }
    SK_FREE(_worldVertices);
    _worldVertices = SK_CALLOC(float, largest);
    _worldVerticesCapacity = largest;
    if (!_batch) {
        _batch = PolygonBatch::createWithCapacity(kBatchCapacity);
        _batch->retain();
    }
    _blendFunc = engine::BlendFunc::ALPHA_PREMULTIPLIED;
    setOpacityModifyRGB(true);
    setGLProgramState(
        engine::GLProgramState::getOrCreateWithGLProgramName(engine::GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR));
    // A fresh node draws and measures its setup pose.
    if (_skeleton) spSkeleton_updateWorldTransform(_skeleton);
}

void SkeletonRenderer::update(float delta) {
    if (!_skeleton) return;
    float step = delta * _timeScale;
    if (!std::isfinite(step)) {
        engine::log("Skeleton: frame step is not finite (%g), skipped", static_cast<double>(step));
        return;
    }
    spSkeleton_update(_skeleton, step);
}

void SkeletonRenderer::setTimeScale(float scale) {
    if (!std::isfinite(scale)) {
        engine::log("Skeleton: time scale must be finite, %g ignored", static_cast<double>(scale));
        return;
    }
    _timeScale = scale;
}

void SkeletonRenderer::onEnter() {
    Node::onEnter();
    scheduleUpdate();
}

void SkeletonRenderer::onExit() {
    Node::onExit();
    unscheduleUpdate();
}

void SkeletonRenderer::draw(engine::Renderer* renderer, const engine::Mat4& transform, uint32_t transformFlags) {
    _drawTransform = transform;
    _drawFlags = transformFlags;
    _drawCommand.init(getGlobalZOrder());
    renderer->addCommand(&_drawCommand);
}

int SkeletonRenderer::computeWorldVertices(spSlot* slot) const {
    spAttachment* attachment = slot->attachment;
    if (!attachment) return 0;
    int count = worldVerticesCount(attachment);
    if (count <= 0 || count > _worldVerticesCapacity) return 0;
    switch (attachment->type) {
        case SP_ATTACHMENT_REGION:
            spRegionAttachment_computeWorldVertices(reinterpret_cast<spRegionAttachment*>(attachment), slot->bone,
                                                    _worldVertices);
            break;
        case SP_ATTACHMENT_MESH:
            spMeshAttachment_computeWorldVertices(reinterpret_cast<spMeshAttachment*>(attachment), slot,
                                                  _worldVertices);
            break;
        case SP_ATTACHMENT_SKINNED_MESH:
            spSkinnedMeshAttachment_computeWorldVertices(reinterpret_cast<spSkinnedMeshAttachment*>(attachment), slot,
                                                         _worldVertices);
            break;
        default: return 0;
    }
    return count;
}

void SkeletonRenderer::drawSkeleton(const engine::Mat4& transform, uint32_t) {
    if (!_skeleton) return;
    if (engine::GLProgramState* state = getGLProgramState()) state->apply(transform);
    const engine::Color3B& color = getColor();
    _skeleton->r = color.r / 255.f;
    _skeleton->g = color.g / 255.f;
    _skeleton->b = color.b / 255.f;
    _skeleton->a = getDisplayedOpacity() / 255.f;

    int blendMode = -1;
    for (int i = 0; i < _skeleton->slotsCount; ++i) {
        spSlot* slot = _skeleton->drawOrder[i];
        spAttachment* attachment = slot->attachment;
        if (!attachment) continue;
        AttachmentDraw part;
        switch (attachment->type) {
            case SP_ATTACHMENT_REGION: {
                auto* region = reinterpret_cast<spRegionAttachment*>(attachment);
                part = drawOf(region, getRegionAttachmentTexture(region), kQuadTriangles, 6);
                break;
            }
            case SP_ATTACHMENT_MESH: {
                auto* mesh = reinterpret_cast<spMeshAttachment*>(attachment);
                part = drawOf(mesh, getMeshAttachmentTexture(mesh), mesh->triangles, mesh->trianglesCount);
                break;
            }
            case SP_ATTACHMENT_SKINNED_MESH: {
                auto* mesh = reinterpret_cast<spSkinnedMeshAttachment*>(attachment);
                part = drawOf(mesh, getSkinnedMeshAttachmentTexture(mesh), mesh->triangles, mesh->trianglesCount);
                break;
            }
            default: continue;
        }
        engine::Texture2D* const texture = part.texture;
        if (!texture) continue;
        int verticesCount = computeWorldVertices(slot);
        if (!verticesCount) continue;

        if (slot->data->blendMode != blendMode) {
            _batch->flush();
            blendMode = slot->data->blendMode;
            switch (blendMode) {
                case SP_BLEND_MODE_ADDITIVE:
                    engine::GL::blendFunc(_premultipliedAlpha ? GL_ONE : GL_SRC_ALPHA, GL_ONE);
                    break;
                case SP_BLEND_MODE_MULTIPLY: engine::GL::blendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA); break;
                case SP_BLEND_MODE_SCREEN: engine::GL::blendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR); break;
                default: engine::GL::blendFunc(_blendFunc.src, _blendFunc.dst);
            }
        }

        engine::Color4B bytes;
        bytes.a = colorByte(_skeleton->a * slot->a * part.a * 255);
        float multiplier = _premultipliedAlpha ? bytes.a : 255;
        bytes.r = colorByte(_skeleton->r * slot->r * part.r * multiplier);
        bytes.g = colorByte(_skeleton->g * slot->g * part.g * multiplier);
        bytes.b = colorByte(_skeleton->b * slot->b * part.b * multiplier);
        _batch->add(texture, _worldVertices, part.uvs, verticesCount, part.triangles, part.trianglesCount, bytes);
    }
    _batch->flush();

    if (_debugSlots || _debugBones) drawDebug(transform);
}

void SkeletonRenderer::drawDebug(const engine::Mat4& transform) {
    engine::Director* director = engine::Director::getInstance();
    director->pushMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
    director->loadMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW, transform);
    const engine::GLFunctions& gl = engine::GL::fn();
    if (_debugSlots) {
        engine::DrawPrimitives::setDrawColor4B(0, 0, 255, 255);
        gl.lineWidth(1);
        for (int i = 0; i < _skeleton->slotsCount; ++i) {
            spSlot* slot = _skeleton->drawOrder[i];
            if (!slot->attachment || slot->attachment->type != SP_ATTACHMENT_REGION) continue;
            spRegionAttachment_computeWorldVertices(reinterpret_cast<spRegionAttachment*>(slot->attachment),
                                                    slot->bone, _worldVertices);
            const engine::Vec2 corners[4] = {{_worldVertices[0], _worldVertices[1]},
                                             {_worldVertices[2], _worldVertices[3]},
                                             {_worldVertices[4], _worldVertices[5]},
                                             {_worldVertices[6], _worldVertices[7]}};
            engine::DrawPrimitives::drawPoly(corners, 4, true);
        }
    }
    if (_debugBones) {
        gl.lineWidth(2);
        engine::DrawPrimitives::setDrawColor4B(255, 0, 0, 255);
        for (int i = 0; i < _skeleton->bonesCount; ++i) {
            spBone* bone = _skeleton->bones[i];
            float length = bone->data->length;
            engine::DrawPrimitives::drawLine(
                engine::Vec2(bone->worldX, bone->worldY),
                engine::Vec2(length * bone->m00 + bone->worldX, length * bone->m10 + bone->worldY));
        }
        engine::DrawPrimitives::setPointSize(4);
        for (int i = 0; i < _skeleton->bonesCount; ++i) {
            spBone* bone = _skeleton->bones[i];
            if (i == 0)
                engine::DrawPrimitives::setDrawColor4B(0, 0, 255, 255);
            else
                engine::DrawPrimitives::setDrawColor4B(0, 255, 0, 255);
            engine::DrawPrimitives::drawPoint(engine::Vec2(bone->worldX, bone->worldY));
        }
    }
    director->popMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW);
}

engine::Rect SkeletonRenderer::getBoundingBox() const {
    const engine::Vec2& position = getPosition();
    if (!_skeleton) return engine::Rect(position.x, position.y, 0, 0);
    float minX = FLT_MAX, minY = FLT_MAX, maxX = -FLT_MAX, maxY = -FLT_MAX;
    float scaleX = getScaleX(), scaleY = getScaleY();
    bool any = false;
    for (int i = 0; i < _skeleton->slotsCount; ++i) {
        spSlot* slot = _skeleton->slots[i];
        int count = computeWorldVertices(slot);
        for (int v = 0; v + 1 < count; v += 2) {
            float x = _worldVertices[v] * scaleX, y = _worldVertices[v + 1] * scaleY;
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
            any = true;
        }
    }
    if (!any) return engine::Rect(position.x, position.y, 0, 0);
    return engine::Rect(position.x + minX, position.y + minY, maxX - minX, maxY - minY);
}

void SkeletonRenderer::setOpacityModifyRGB(bool value) { _premultipliedAlpha = value; }

bool SkeletonRenderer::isOpacityModifyRGB() const { return _premultipliedAlpha; }

void SkeletonRenderer::updateWorldTransform() {
    if (_skeleton) spSkeleton_updateWorldTransform(_skeleton);
}

void SkeletonRenderer::setToSetupPose() {
    if (_skeleton) spSkeleton_setToSetupPose(_skeleton);
}

void SkeletonRenderer::setBonesToSetupPose() {
    if (_skeleton) spSkeleton_setBonesToSetupPose(_skeleton);
}

void SkeletonRenderer::setSlotsToSetupPose() {
    if (_skeleton) spSkeleton_setSlotsToSetupPose(_skeleton);
}

spBone* SkeletonRenderer::findBone(const std::string& boneName) const {
    return _skeleton ? spSkeleton_findBone(_skeleton, boneName.c_str()) : nullptr;
}

spSlot* SkeletonRenderer::findSlot(const std::string& slotName) const {
    return _skeleton ? spSkeleton_findSlot(_skeleton, slotName.c_str()) : nullptr;
}

spAttachment* SkeletonRenderer::getAttachment(const std::string& slotName, const std::string& attachmentName) const {
    return _skeleton ? spSkeleton_getAttachmentForSlotName(_skeleton, slotName.c_str(), attachmentName.c_str())
                     : nullptr;
}

bool SkeletonRenderer::setAttachment(const std::string& slotName, const std::string& attachmentName) {
    return setAttachment(slotName, attachmentName.empty() ? nullptr : attachmentName.c_str());
}

bool SkeletonRenderer::setAttachment(const std::string& slotName, const char* attachmentName) {
    if (!_skeleton) return false;
    if (attachmentName && !*attachmentName) attachmentName = nullptr;
    return spSkeleton_setAttachment(_skeleton, slotName.c_str(), attachmentName) != 0;
}

bool SkeletonRenderer::setSkin(const std::string& skinName) {
    return setSkin(skinName.empty() ? nullptr : skinName.c_str());
}

bool SkeletonRenderer::setSkin(const char* skinName) {
    if (!_skeleton) return false;
    if (skinName && !*skinName) skinName = nullptr;
    return spSkeleton_setSkinByName(_skeleton, skinName) != 0;
}

engine::Texture2D* SkeletonRenderer::getRegionAttachmentTexture(spRegionAttachment* attachment) const {
    return pageTexture(attachment->rendererObject);
}

engine::Texture2D* SkeletonRenderer::getMeshAttachmentTexture(spMeshAttachment* attachment) const {
    return pageTexture(attachment->rendererObject);
}

engine::Texture2D* SkeletonRenderer::getSkinnedMeshAttachmentTexture(spSkinnedMeshAttachment* attachment) const {
    return pageTexture(attachment->rendererObject);
}

}  // namespace skeleton
