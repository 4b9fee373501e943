#include "skeleton/SkeletonJson.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "skeleton/Animation.h"
#include "skeleton/AtlasAttachmentLoader.h"
#include "skeleton/BoundingBoxAttachment.h"
#include "skeleton/Json.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/extension.h"

namespace {

const size_t kMaxErrorLength = 255;
const int kMaxMeshVertices = 65535;

// Keeps the first problem of a read: later ones are dropped.
void setError(spSkeletonJson* self, const char* message, const char* detail, size_t detailLength) {
    if (self->error) return;
    std::string text(message);
    if (detail) text.append(detail, detailLength);
    if (text.size() > kMaxErrorLength) text.resize(kMaxErrorLength);
    SK_FREE(self->error);
    self->error = SK_STRDUP(text.c_str());
}

void setError(spSkeletonJson* self, const char* message, const char* detail) {
    setError(self, message, detail, detail ? std::strlen(detail) : 0);
}

bool isContainer(const spJson* node) {
    return node && (node->type == SP_JSON_ARRAY || node->type == SP_JSON_OBJECT);
}

int keysOf(const spJson* node) { return isContainer(node) ? node->size : 0; }

const char* stringOr(spJson* object, const char* key, const char* fallback) {
    const char* s = spJson_getString(object, key, fallback);
    return s ? s : fallback;
}

float toColor(const char* color, int index) {
    if (!color || std::strlen(color) != 8) return -1;
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        char c = color[index * 2 + i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return -1;
        value = value * 16 + digit;
    }
    return static_cast<float>(value) / 255.f;
}

// Colour of an object's "color" key into r, g, b, a; untouched without one.
template <typename T>
void readColor(spJson* object, T* target) {
    const char* color = spJson_getString(object, "color", nullptr);
    if (!color) return;
    target->r = toColor(color, 0);
    target->g = toColor(color, 1);
    target->b = toColor(color, 2);
    target->a = toColor(color, 3);
}

void readCurve(spCurveTimeline* timeline, int frameIndex, spJson* frame) {
    spJson* curve = spJson_getItem(frame, "curve");
    if (!curve) return;
    if (curve->type == SP_JSON_STRING && curve->valueString && std::strcmp(curve->valueString, "stepped") == 0) {
        spCurveTimeline_setStepped(timeline, frameIndex);
        return;
    }
    if (curve->type != SP_JSON_ARRAY || curve->size < 4) return;
    float c[4];
    spJson* item = curve->child;
    for (int i = 0; i < 4; ++i, item = item->next) {
        if (item->type != SP_JSON_NUMBER) return;
        c[i] = item->valueFloat;
    }
    spCurveTimeline_setCurve(timeline, frameIndex, c[0], c[1], c[2], c[3]);
}

float* readFloats(spJson* array, float scale, int* count) {
    *count = keysOf(array);
    float* values = SK_MALLOC(float, *count);
    int i = 0;
    for (spJson* item = array ? array->child : nullptr; item && i < *count; item = item->next)
        values[i++] = item->valueFloat * scale;
    return values;
}

int* readInts(spJson* array, int* count) {
    *count = keysOf(array);
    int* values = SK_MALLOC(int, *count);
    int i = 0;
    for (spJson* item = array ? array->child : nullptr; item && i < *count; item = item->next)
        values[i++] = item->valueInt;
    return values;
}

// Colour, hull, edges and size shared by both mesh kinds.
template <typename Mesh>
void readMeshExtras(Mesh* mesh, spJson* map, float scale) {
    readColor(map, mesh);
    mesh->hullLength = spJson_getInt(map, "hull", 0);
    spJson* edges = spJson_getItem(map, "edges");
    if (edges) mesh->edges = readInts(edges, &mesh->edgesCount);
    mesh->width = spJson_getFloat(map, "width", 32) * scale;
    mesh->height = spJson_getFloat(map, "height", 32) * scale;
}

bool trianglesValid(const int* triangles, int count, int vertexCount) {
    if (count % 3 != 0) return false;
    for (int i = 0; i < count; ++i)
        if (triangles[i] < 0 || triangles[i] >= vertexCount) return false;
    return true;
}

// The first number of the tree that is not finite (NaN, an infinity, or a value
// beyond float's range), else null. Every number of a skeleton document stands
// for a time, a length, an angle or a count, none of which can be infinite.
const spJson* firstNonFiniteNumber(const spJson* node, int depth = 0) {
    for (; node; node = node->next) {
        if (node->type == SP_JSON_NUMBER && !std::isfinite(node->valueFloat)) return node;
        if (depth < SP_JSON_MAX_DEPTH && isContainer(node))
            if (const spJson* found = firstNonFiniteNumber(node->child, depth + 1)) return found;
    }
    return nullptr;
}

bool isAncestor(const spBoneData* ancestor, const spBoneData* bone) {
    for (const spBoneData* b = bone->parent; b; b = b->parent)
        if (b == ancestor) return true;
    return false;
}

class Reader {
public:
    Reader(spSkeletonJson* json, spSkeletonData* data, const char* file)
        : _json(json), _data(data), _scale(json->scale), _file(file) {}

    bool readBones(spJson* bones);
    bool readIk(spJson* ik);
    bool readSlots(spJson* slots);
    bool readSkins(spJson* skins);
    void readEvents(spJson* events);
    // Null with the error set when the animation is dropped.
    spAnimation* readAnimation(spJson* root, const char* name);

private:
    bool readAttachment(spSkin* skin, int slotIndex, spJson* entry);
    bool fillMesh(spMeshAttachment* mesh, spJson* map, const char* path);
    bool fillSkinnedMesh(spSkinnedMeshAttachment* mesh, spJson* map, const char* path);
    int countTimelines(spJson* root) const;
    bool readDrawOrder(spDrawOrderTimeline* timeline, int frameIndex, spJson* offsets);

    void error(const char* message, const char* detail) { setError(_json, message, detail); }
    // Counts bytes of keys against the read's budget before they are allocated;
    // false with the error set (naming the file and the animation) when they do
    // not fit.
    bool charge(size_t bytes, const char* animation);

    // Name lookups through indexes built as bones and slots are read (the first
    // of equal names counts), so that large skeletons read in linear time.
    int boneIndexOf(const char* name) const { return lookup(_boneIndex, name); }
    spBoneData* findBone(const char* name) const {
        int i = boneIndexOf(name);
        return i < 0 ? nullptr : _data->bones[i];
    }
    int slotIndexOf(const char* name) const { return lookup(_slotIndex, name); }
    spEventData* findEvent(const char* name) const {
        int i = lookup(_eventIndex, name);
        return i < 0 ? nullptr : _data->events[i];
    }
    static int lookup(const std::unordered_map<std::string_view, int>& index, const char* name) {
        if (!name) return -1;
        auto found = index.find(std::string_view(name));
        return found == index.end() ? -1 : found->second;
    }

    spSkeletonJson* _json;
    spSkeletonData* _data;
    float _scale;
    std::unordered_map<std::string_view, int> _boneIndex;
    std::unordered_map<std::string_view, int> _slotIndex;
    std::unordered_map<std::string_view, int> _eventIndex;
    const char* _file;
    size_t _keyBytes = 0;
};

bool Reader::charge(size_t bytes, const char* animation) {
    if (bytes <= SP_SKELETON_JSON_KEY_BUDGET - _keyBytes) {
        _keyBytes += bytes;
        return true;
    }
    std::string detail = std::string(animation) + " in " + (_file ? _file : "(text)");
    error("Animation keys over the 32 MB budget: ", detail.c_str());
    return false;
}

bool Reader::readBones(spJson* bones) {
    _data->bones = SK_CALLOC(spBoneData*, bones->size);
    for (spJson* map = bones->child; map && _data->bonesCount < bones->size; map = map->next) {
        spBoneData* parent = nullptr;
        const char* parentName = spJson_getString(map, "parent", nullptr);
        if (parentName) {
            parent = findBone(parentName);
            if (!parent) {
                error("Parent bone not found: ", parentName);
                return false;
            }
        }
        spBoneData* bone = spBoneData_create(stringOr(map, "name", ""), parent);
        _boneIndex.emplace(bone->name, _data->bonesCount);
        _data->bones[_data->bonesCount++] = bone;
        bone->length = spJson_getFloat(map, "length", 0) * _scale;
        bone->x = spJson_getFloat(map, "x", 0) * _scale;
        bone->y = spJson_getFloat(map, "y", 0) * _scale;
        bone->rotation = spJson_getFloat(map, "rotation", 0);
        bone->scaleX = spJson_getFloat(map, "scaleX", 1);
        bone->scaleY = spJson_getFloat(map, "scaleY", 1);
        bone->inheritScale = spJson_getInt(map, "inheritScale", 1);
        bone->inheritRotation = spJson_getInt(map, "inheritRotation", 1);
        bone->flipX = spJson_getInt(map, "flipX", 0);
        bone->flipY = spJson_getInt(map, "flipY", 0);
    }
    return true;
}

bool Reader::readIk(spJson* ik) {
    int count = keysOf(ik);
    _data->ikConstraints = SK_CALLOC(spIkConstraintData*, count);
    for (spJson* map = ik->child; map && _data->ikConstraintsCount < count; map = map->next) {
        spIkConstraintData* constraint = spIkConstraintData_create(stringOr(map, "name", ""));
        _data->ikConstraints[_data->ikConstraintsCount++] = constraint;
        spJson* bones = spJson_getItem(map, "bones");
        int bonesCount = keysOf(bones);
        constraint->bones = SK_CALLOC(spBoneData*, bonesCount);
        for (spJson* b = bonesCount ? bones->child : nullptr; b && constraint->bonesCount < bonesCount; b = b->next) {
            const char* boneName = b->valueString ? b->valueString : "";
            spBoneData* bone = findBone(boneName);
            if (!bone) {
                error("IK bone not found: ", boneName);
                return false;
            }
            constraint->bones[constraint->bonesCount++] = bone;
        }
        const char* targetName = stringOr(map, "target", "");
        constraint->target = findBone(targetName);
        if (!constraint->target) {
            error("Target bone not found: ", targetName);
            return false;
        }
        // The solvers need one bone, or a bone and one of its descendants.
        bool chain = constraint->bonesCount == 1 ||
                     (constraint->bonesCount == 2 && isAncestor(constraint->bones[0], constraint->bones[1]));
        if (!chain) {
            error("Invalid IK constraint: ", constraint->name);
            return false;
        }
        constraint->bendDirection = spJson_getInt(map, "bendPositive", 1) ? 1 : -1;
        constraint->mix = spJson_getFloat(map, "mix", 1);
    }
    return true;
}

bool Reader::readSlots(spJson* slots) {
    int count = keysOf(slots);
    _data->slots = SK_CALLOC(spSlotData*, count);
    for (spJson* map = slots->child; map && _data->slotsCount < count; map = map->next) {
        const char* boneName = stringOr(map, "bone", "");
        spBoneData* bone = findBone(boneName);
        if (!bone) {
            error("Slot bone not found: ", boneName);
            return false;
        }
        spSlotData* slot = spSlotData_create(stringOr(map, "name", ""), bone);
        _slotIndex.emplace(slot->name, _data->slotsCount);
        _data->slots[_data->slotsCount++] = slot;
        readColor(map, slot);
        spJson* attachment = spJson_getItem(map, "attachment");
        if (attachment) spSlotData_setAttachmentName(slot, attachment->valueString);
        const char* blend = spJson_getString(map, "blend", nullptr);
        if (blend) {
            if (std::strcmp(blend, "additive") == 0) slot->blendMode = SP_BLEND_MODE_ADDITIVE;
            else if (std::strcmp(blend, "multiply") == 0) slot->blendMode = SP_BLEND_MODE_MULTIPLY;
            else if (std::strcmp(blend, "screen") == 0) slot->blendMode = SP_BLEND_MODE_SCREEN;
        }
    }
    return true;
}

bool Reader::readSkins(spJson* skins) {
    int count = keysOf(skins);
    _data->skins = SK_CALLOC(spSkin*, count);
    for (spJson* skinMap = skins->child; skinMap && _data->skinsCount < count; skinMap = skinMap->next) {
        const char* skinName = skinMap->name ? skinMap->name : "";
        spSkin* skin = spSkin_create(skinName);
        _data->skins[_data->skinsCount++] = skin;
        if (std::strcmp(skinName, "default") == 0) _data->defaultSkin = skin;
        for (spJson* slotMap = isContainer(skinMap) ? skinMap->child : nullptr; slotMap; slotMap = slotMap->next) {
            int slotIndex = slotIndexOf(slotMap->name ? slotMap->name : "");
            if (slotIndex < 0) continue;
            for (spJson* entry = isContainer(slotMap) ? slotMap->child : nullptr; entry; entry = entry->next)
                if (!readAttachment(skin, slotIndex, entry)) return false;
        }
    }
    return true;
}

bool Reader::readAttachment(spSkin* skin, int slotIndex, spJson* entry) {
    const char* key = entry->name ? entry->name : "";
    const char* name = stringOr(entry, "name", key);
    const char* path = stringOr(entry, "path", name);
    const char* typeName = stringOr(entry, "type", "region");
    spAttachmentType type;
    if (std::strcmp(typeName, "region") == 0) type = SP_ATTACHMENT_REGION;
    else if (std::strcmp(typeName, "boundingbox") == 0) type = SP_ATTACHMENT_BOUNDING_BOX;
    else if (std::strcmp(typeName, "mesh") == 0) type = SP_ATTACHMENT_MESH;
    else if (std::strcmp(typeName, "skinnedmesh") == 0) type = SP_ATTACHMENT_SKINNED_MESH;
    else {
        error("Unknown attachment type: ", typeName);
        return false;
    }

    spAttachmentLoader* loader = _json->attachmentLoader;
    spAttachment* attachment = spAttachmentLoader_newAttachment(loader, skin, type, name, path);
    if (!attachment) {
        if (loader->error1) {
            error(loader->error1, loader->error2);
            return false;
        }
        return true;
    }

    bool valid = true;
    switch (attachment->type) {
    case SP_ATTACHMENT_REGION: {
        auto* region = reinterpret_cast<spRegionAttachment*>(attachment);
        region->path = SK_STRDUP(path);
        region->x = spJson_getFloat(entry, "x", 0) * _scale;
        region->y = spJson_getFloat(entry, "y", 0) * _scale;
        region->scaleX = spJson_getFloat(entry, "scaleX", 1);
        region->scaleY = spJson_getFloat(entry, "scaleY", 1);
        region->rotation = spJson_getFloat(entry, "rotation", 0);
        region->width = spJson_getFloat(entry, "width", 32) * _scale;
        region->height = spJson_getFloat(entry, "height", 32) * _scale;
        readColor(entry, region);
        spRegionAttachment_updateOffset(region);
        break;
    }
    case SP_ATTACHMENT_BOUNDING_BOX: {
        auto* box = reinterpret_cast<spBoundingBoxAttachment*>(attachment);
        box->vertices = readFloats(spJson_getItem(entry, "vertices"), _scale, &box->verticesCount);
        break;
    }
    case SP_ATTACHMENT_MESH:
        valid = fillMesh(reinterpret_cast<spMeshAttachment*>(attachment), entry, path);
        break;
    case SP_ATTACHMENT_SKINNED_MESH:
        valid = fillSkinnedMesh(reinterpret_cast<spSkinnedMeshAttachment*>(attachment), entry, path);
        break;
    }
    if (!valid) {
        error("Invalid mesh: ", attachment->name);
        spAttachment_dispose(attachment);
        return false;
    }
    spSkin_addAttachment(skin, slotIndex, key, attachment);
    return true;
}

bool Reader::fillMesh(spMeshAttachment* mesh, spJson* map, const char* path) {
    mesh->path = SK_STRDUP(path);
    mesh->vertices = readFloats(spJson_getItem(map, "vertices"), _scale, &mesh->verticesCount);
    mesh->triangles = readInts(spJson_getItem(map, "triangles"), &mesh->trianglesCount);
    int uvsCount = 0;
    mesh->regionUVs = readFloats(spJson_getItem(map, "uvs"), 1, &uvsCount);
    int vertexCount = mesh->verticesCount / 2;
    if (uvsCount != mesh->verticesCount || mesh->verticesCount % 2 != 0 || vertexCount > kMaxMeshVertices ||
        !trianglesValid(mesh->triangles, mesh->trianglesCount, vertexCount))
        return false;
    spMeshAttachment_updateUVs(mesh);
    readMeshExtras(mesh, map, _scale);
    return true;
}

bool Reader::fillSkinnedMesh(spSkinnedMeshAttachment* mesh, spJson* map, const char* path) {
    mesh->path = SK_STRDUP(path);
    mesh->regionUVs = readFloats(spJson_getItem(map, "uvs"), 1, &mesh->uvsCount);
    int streamCount = 0;
    float* stream = readFloats(spJson_getItem(map, "vertices"), 1, &streamCount);
    // Counting pass, checking the stream is complete and names existing bones.
    int64_t bonesCount = 0, weightsCount = 0, vertexCount = 0;
    bool valid = true;
    for (int i = 0; i < streamCount && valid;) {
        float n = stream[i++];
        if (!(n >= 0) || n > static_cast<float>(streamCount - i) / 4 || n != static_cast<float>(static_cast<int>(n))) {
            valid = false;
            break;
        }
        int influences = static_cast<int>(n);
        for (int k = 0; k < influences; ++k, i += 4) {
            float bone = stream[i];
            if (!(bone >= 0) || bone >= static_cast<float>(_data->bonesCount)) valid = false;
        }
        bonesCount += 1 + influences;
        weightsCount += 3 * influences;
        ++vertexCount;
    }
    valid = valid && vertexCount <= kMaxMeshVertices && mesh->uvsCount == vertexCount * 2;
    if (valid) {
        mesh->bonesCount = static_cast<int>(bonesCount);
        mesh->bones = SK_MALLOC(int, bonesCount);
        mesh->weightsCount = static_cast<int>(weightsCount);
        mesh->weights = SK_MALLOC(float, weightsCount);
        int b = 0, w = 0;
        for (int i = 0; i < streamCount;) {
            int influences = static_cast<int>(stream[i++]);
            mesh->bones[b++] = influences;
            for (int k = 0; k < influences; ++k, i += 4) {
                mesh->bones[b++] = static_cast<int>(stream[i]);
                mesh->weights[w++] = stream[i + 1] * _scale;
                mesh->weights[w++] = stream[i + 2] * _scale;
                mesh->weights[w++] = stream[i + 3];
            }
        }
        mesh->triangles = readInts(spJson_getItem(map, "triangles"), &mesh->trianglesCount);
        valid = trianglesValid(mesh->triangles, mesh->trianglesCount, static_cast<int>(vertexCount));
    }
    SK_FREE(stream);
    if (!valid) return false;
    spSkinnedMeshAttachment_updateUVs(mesh);
    readMeshExtras(mesh, map, _scale);
    return true;
}

void Reader::readEvents(spJson* events) {
    int count = keysOf(events);
    _data->events = SK_CALLOC(spEventData*, count);
    for (spJson* map = events->child; map && _data->eventsCount < count; map = map->next) {
        spEventData* event = spEventData_create(map->name ? map->name : "");
        _eventIndex.emplace(event->name, _data->eventsCount);
        _data->events[_data->eventsCount++] = event;
        event->intValue = spJson_getInt(map, "int", 0);
        event->floatValue = spJson_getFloat(map, "float", 0);
        event->stringValue = SK_STRDUP(spJson_getString(map, "string", nullptr));
    }
}

// Upper bound of the timelines an animation object makes: every keyed entry.
int Reader::countTimelines(spJson* root) const {
    int count = 0;
    for (const char* group : {"slots", "bones"}) {
        spJson* map = spJson_getItem(root, group);
        for (spJson* owner = isContainer(map) ? map->child : nullptr; owner; owner = owner->next)
            for (spJson* kind = isContainer(owner) ? owner->child : nullptr; kind; kind = kind->next)
                if (keysOf(kind) > 0) ++count;
    }
    spJson* ik = spJson_getItem(root, "ik");
    if (_data->ikConstraintsCount > 0)
        for (spJson* entry = isContainer(ik) ? ik->child : nullptr; entry; entry = entry->next)
            if (keysOf(entry) > 0) ++count;
    spJson* ffd = spJson_getItem(root, "ffd");
    for (spJson* skin = isContainer(ffd) ? ffd->child : nullptr; skin; skin = skin->next)
        for (spJson* slot = isContainer(skin) ? skin->child : nullptr; slot; slot = slot->next)
            for (spJson* entry = isContainer(slot) ? slot->child : nullptr; entry; entry = entry->next)
                if (keysOf(entry) > 0) ++count;
    if (keysOf(spJson_getItem(root, "drawOrder")) > 0) ++count;
    if (keysOf(spJson_getItem(root, "events")) > 0) ++count;
    return count;
}

bool Reader::readDrawOrder(spDrawOrderTimeline* timeline, int frameIndex, spJson* offsets) {
    int slotsCount = timeline->slotsCount;
    int* order = SK_MALLOC(int, slotsCount);   // becomes the stored key
    int* unchanged = SK_MALLOC(int, slotsCount);
    for (int i = 0; i < slotsCount; ++i) order[i] = -1;
    int unchangedCount = 0, cursor = 0;
    bool valid = true;
    for (spJson* offset = offsets->child; offset && valid; offset = offset->next) {
        const char* slotName = stringOr(offset, "slot", "");
        int slotIndex = slotIndexOf(slotName);
        if (slotIndex < 0) {
            error("Slot not found: ", slotName);
            valid = false;
            break;
        }
        if (slotIndex < cursor || slotIndex >= slotsCount) {
            error("Invalid draw order: ", slotName);
            valid = false;
            break;
        }
        while (cursor != slotIndex) unchanged[unchangedCount++] = cursor++;
        int64_t target = static_cast<int64_t>(cursor) + spJson_getInt(offset, "offset", 0);
        if (target < 0 || target >= slotsCount || order[target] != -1) {
            error("Invalid draw order: ", slotName);
            valid = false;
            break;
        }
        order[target] = cursor++;
    }
    if (valid) {
        while (cursor < slotsCount) unchanged[unchangedCount++] = cursor++;
        for (int i = slotsCount - 1; i >= 0; --i)
            if (order[i] == -1) order[i] = unchanged[--unchangedCount];
        SK_FREE(timeline->drawOrders[frameIndex]);
        timeline->drawOrders[frameIndex] = order;
        order = nullptr;
    }
    SK_FREE(unchanged);
    SK_FREE(order);
    return valid;
}

spAnimation* Reader::readAnimation(spJson* root, const char* name) {
    spAnimation* animation = spAnimation_create(name, countTimelines(root));
    int capacity = animation->timelinesCount;
    animation->timelinesCount = 0;
    float duration = 0;
    auto add = [&](spTimeline* timeline, float lastTime) {
        if (animation->timelinesCount < capacity) animation->timelines[animation->timelinesCount++] = timeline;
        else spTimeline_dispose(timeline);
        if (lastTime > duration) duration = lastTime;
    };
    auto fail = [&](const char* message, const char* detail) -> spAnimation* {
        error(message, detail);
        spAnimation_dispose(animation);
        return nullptr;
    };

    spJson* slots = spJson_getItem(root, "slots");
    for (spJson* slotMap = isContainer(slots) ? slots->child : nullptr; slotMap; slotMap = slotMap->next) {
        const char* slotName = slotMap->name ? slotMap->name : "";
        int slotIndex = slotIndexOf(slotName);
        if (slotIndex < 0) return fail("Slot not found: ", slotName);
        for (spJson* kind = isContainer(slotMap) ? slotMap->child : nullptr; kind; kind = kind->next) {
            const char* kindName = kind->name ? kind->name : "";
            int keys = keysOf(kind);
            if (std::strcmp(kindName, "color") == 0) {
                if (keys == 0) continue;
                spColorTimeline* timeline = spColorTimeline_create(keys);
                timeline->slotIndex = slotIndex;
                int i = 0;
                for (spJson* key = kind->child; key && i < keys; key = key->next, ++i) {
                    const char* color = spJson_getString(key, "color", nullptr);
                    float time = spJson_getFloat(key, "time", 0);
                    if (color)
                        spColorTimeline_setFrame(timeline, i, time, toColor(color, 0), toColor(color, 1),
                                                 toColor(color, 2), toColor(color, 3));
                    else
                        spColorTimeline_setFrame(timeline, i, time, 1, 1, 1, 1);
                    readCurve(&timeline->super, i, key);
                }
                add(&timeline->super.super, timeline->frames[(keys - 1) * 5]);
            } else if (std::strcmp(kindName, "attachment") == 0) {
                if (keys == 0) continue;
                spAttachmentTimeline* timeline = spAttachmentTimeline_create(keys);
                timeline->slotIndex = slotIndex;
                int i = 0;
                for (spJson* key = kind->child; key && i < keys; key = key->next, ++i) {
                    spJson* nameItem = spJson_getItem(key, "name");
                    spAttachmentTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0),
                                                  nameItem ? nameItem->valueString : nullptr);
                }
                add(&timeline->super, timeline->frames[keys - 1]);
            } else {
                return fail("Invalid timeline type for a slot: ", kindName);
            }
        }
    }

    spJson* bones = spJson_getItem(root, "bones");
    for (spJson* boneMap = isContainer(bones) ? bones->child : nullptr; boneMap; boneMap = boneMap->next) {
        const char* boneName = boneMap->name ? boneMap->name : "";
        int boneIndex = boneIndexOf(boneName);
        if (boneIndex < 0) return fail("Bone not found: ", boneName);
        for (spJson* kind = isContainer(boneMap) ? boneMap->child : nullptr; kind; kind = kind->next) {
            const char* kindName = kind->name ? kind->name : "";
            int keys = keysOf(kind);
            bool rotate = std::strcmp(kindName, "rotate") == 0;
            bool translate = std::strcmp(kindName, "translate") == 0;
            bool scale = std::strcmp(kindName, "scale") == 0;
            bool flipX = std::strcmp(kindName, "flipX") == 0;
            bool flipY = std::strcmp(kindName, "flipY") == 0;
            if (!rotate && !translate && !scale && !flipX && !flipY)
                return fail("Invalid timeline type for a bone: ", kindName);
            if (keys == 0) continue;
            if (rotate) {
                spRotateTimeline* timeline = spRotateTimeline_create(keys);
                timeline->boneIndex = boneIndex;
                int i = 0;
                for (spJson* key = kind->child; key && i < keys; key = key->next, ++i) {
                    spRotateTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0),
                                              spJson_getFloat(key, "angle", 0));
                    readCurve(&timeline->super, i, key);
                }
                add(&timeline->super.super, timeline->frames[(keys - 1) * 2]);
            } else if (translate || scale) {
                spBaseTimeline* timeline = translate ? spTranslateTimeline_create(keys) : spScaleTimeline_create(keys);
                timeline->boneIndex = boneIndex;
                float factor = translate ? _scale : 1;
                int i = 0;
                for (spJson* key = kind->child; key && i < keys; key = key->next, ++i) {
                    spTranslateTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0),
                                                 spJson_getFloat(key, "x", 0) * factor,
                                                 spJson_getFloat(key, "y", 0) * factor);
                    readCurve(&timeline->super, i, key);
                }
                add(&timeline->super.super, timeline->frames[(keys - 1) * 3]);
            } else {
                spFlipTimeline* timeline = spFlipTimeline_create(keys, flipX ? 1 : 0);
                timeline->boneIndex = boneIndex;
                int i = 0;
                for (spJson* key = kind->child; key && i < keys; key = key->next, ++i)
                    spFlipTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0),
                                            spJson_getInt(key, flipX ? "x" : "y", 0));
                add(&timeline->super, timeline->frames[(keys - 1) * 2]);
            }
        }
    }

    spJson* ik = spJson_getItem(root, "ik");
    if (_data->ikConstraintsCount > 0) {
        for (spJson* ikMap = isContainer(ik) ? ik->child : nullptr; ikMap; ikMap = ikMap->next) {
            int keys = keysOf(ikMap);
            if (keys == 0) continue;
            int index = 0;
            for (int i = 0; i < _data->ikConstraintsCount; ++i) {
                if (ikMap->name && std::strcmp(_data->ikConstraints[i]->name, ikMap->name) == 0) {
                    index = i;
                    break;
                }
            }
            spIkConstraintTimeline* timeline = spIkConstraintTimeline_create(keys);
            timeline->ikConstraintIndex = index;
            int i = 0;
            for (spJson* key = ikMap->child; key && i < keys; key = key->next, ++i) {
                spIkConstraintTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0),
                                                spJson_getFloat(key, "mix", 0),
                                                spJson_getInt(key, "bendPositive", 1) ? 1 : -1);
                readCurve(&timeline->super, i, key);
            }
            add(&timeline->super.super, timeline->frames[(keys - 1) * 3]);
        }
    }

    spJson* ffd = spJson_getItem(root, "ffd");
    for (spJson* skinMap = isContainer(ffd) ? ffd->child : nullptr; skinMap; skinMap = skinMap->next) {
        spSkin* skin = spSkeletonData_findSkin(_data, skinMap->name ? skinMap->name : "");
        for (spJson* slotMap = isContainer(skinMap) ? skinMap->child : nullptr; slotMap; slotMap = slotMap->next) {
            int slotIndex = slotIndexOf(slotMap->name ? slotMap->name : "");
            for (spJson* entry = isContainer(slotMap) ? slotMap->child : nullptr; entry; entry = entry->next) {
                const char* key = entry->name ? entry->name : "";
                spAttachment* attachment =
                    skin && slotIndex >= 0 ? spSkin_getAttachment(skin, slotIndex, key) : nullptr;
                if (!attachment) return fail("Attachment not found: ", key);
                int keys = keysOf(entry);
                if (keys == 0) continue;
                int vertexCount = 0;
                const float* ownVertices = nullptr;
                if (attachment->type == SP_ATTACHMENT_MESH) {
                    auto* mesh = reinterpret_cast<spMeshAttachment*>(attachment);
                    vertexCount = mesh->verticesCount;
                    ownVertices = mesh->vertices;
                } else if (attachment->type == SP_ATTACHMENT_SKINNED_MESH) {
                    vertexCount = reinterpret_cast<spSkinnedMeshAttachment*>(attachment)->weightsCount / 3 * 2;
                }
                // Every key holds a whole copy of the attachment's vertices.
                if (!charge(static_cast<size_t>(keys) * static_cast<size_t>(vertexCount) * sizeof(float), name)) {
                    spAnimation_dispose(animation);
                    return nullptr;
                }
                spFFDTimeline* timeline = spFFDTimeline_create(keys, vertexCount);
                timeline->slotIndex = slotIndex;
                timeline->attachment = attachment;
                // Each key is the attachment's own vertices (zeros for a skinned
                // mesh) plus the keyed offsets, written once into the stored key.
                int i = 0;
                for (spJson* frame = entry->child; frame && i < keys; frame = frame->next, ++i) {
                    spJson* values = spJson_getItem(frame, "vertices");
                    int start = values ? spJson_getInt(frame, "offset", 0) : 0;
                    int count = keysOf(values);
                    if (start < 0 || count > vertexCount - start) {
                        spTimeline_dispose(&timeline->super.super);
                        return fail("Invalid FFD vertices: ", key);
                    }
                    float* vertices = SK_MALLOC(float, vertexCount);
                    if (ownVertices) std::memcpy(vertices, ownVertices, sizeof(float) * static_cast<size_t>(vertexCount));
                    else std::memset(vertices, 0, sizeof(float) * static_cast<size_t>(vertexCount));
                    int v = start;
                    for (spJson* value = count ? values->child : nullptr; value && v < start + count; value = value->next)
                        vertices[v++] += value->valueFloat * _scale;
                    SK_FREE(timeline->frameVertices[i]);
                    timeline->frameVertices[i] = vertices;
                    timeline->frames[i] = spJson_getFloat(frame, "time", 0);
                    readCurve(&timeline->super, i, frame);
                }
                add(&timeline->super.super, timeline->frames[keys - 1]);
            }
        }
    }

    spJson* drawOrder = spJson_getItem(root, "drawOrder");
    if (int keys = keysOf(drawOrder); keys > 0) {
        spDrawOrderTimeline* timeline = spDrawOrderTimeline_create(keys, _data->slotsCount);
        int i = 0;
        for (spJson* key = drawOrder->child; key && i < keys; key = key->next, ++i) {
            timeline->frames[i] = spJson_getFloat(key, "time", 0);
            spJson* offsets = spJson_getItem(key, "offsets");
            if (!offsets) continue;
            // A key with offsets holds one index per slot.
            if (!charge(static_cast<size_t>(_data->slotsCount) * sizeof(int), name) ||
                !readDrawOrder(timeline, i, offsets)) {
                spTimeline_dispose(&timeline->super);
                spAnimation_dispose(animation);
                return nullptr;
            }
        }
        add(&timeline->super, timeline->frames[keys - 1]);
    }

    spJson* events = spJson_getItem(root, "events");
    if (int keys = keysOf(events); keys > 0) {
        spEventTimeline* timeline = spEventTimeline_create(keys);
        int i = 0;
        for (spJson* key = events->child; key && i < keys; key = key->next, ++i) {
            const char* eventName = stringOr(key, "name", "");
            spEventData* eventData = findEvent(eventName);
            if (!eventData) {
                spTimeline_dispose(&timeline->super);
                return fail("Event not found: ", eventName);
            }
            spEvent* event = spEvent_create(eventData);
            event->intValue = spJson_getInt(key, "int", eventData->intValue);
            event->floatValue = spJson_getFloat(key, "float", eventData->floatValue);
            event->stringValue = SK_STRDUP(spJson_getString(key, "string", eventData->stringValue));
            spEventTimeline_setFrame(timeline, i, spJson_getFloat(key, "time", 0), event);
        }
        add(&timeline->super, timeline->frames[keys - 1]);
    }

    animation->duration = duration;
    return animation;
}

}  // namespace

spSkeletonJson* spSkeletonJson_createWithLoader(spAttachmentLoader* attachmentLoader) {
    spSkeletonJson* self = SK_NEW(spSkeletonJson);
    self->scale = 1;
    self->attachmentLoader = attachmentLoader;
    return self;
}

spSkeletonJson* spSkeletonJson_create(spAtlas* atlas) {
    spAtlasAttachmentLoader* loader = spAtlasAttachmentLoader_create(atlas);
    spSkeletonJson* self = spSkeletonJson_createWithLoader(&loader->super);
    self->ownsLoader = 1;
    return self;
}

void spSkeletonJson_dispose(spSkeletonJson* self) {
    if (!self) return;
    if (self->ownsLoader) spAttachmentLoader_dispose(self->attachmentLoader);
    SK_FREE(self->error);
    SK_FREE(self);
}

spSkeletonData* spSkeletonJson_readSkeletonData(spSkeletonJson* self, const char* json) {
    return spSkeletonJson_readSkeletonDataWithLength(self, json, json ? std::strlen(json) : 0);
}

namespace {

// file names the source in errors (null for text handed in directly).
spSkeletonData* readSkeletonData(spSkeletonJson* self, const char* json, size_t length, const char* file) {
    SK_FREE(self->error);
    self->error = nullptr;

    spJson* root = spJson_createWithLength(json, length);
    if (!root) {
        const char* at = spJson_getError();
        if (at && json && at >= json && at <= json + length)
            setError(self, "Invalid skeleton JSON: ", at, static_cast<size_t>(json + length - at));
        else
            setError(self, "Invalid skeleton JSON: ", nullptr);
        return nullptr;
    }
    if (const spJson* number = firstNonFiniteNumber(root)) {
        setError(self, "Invalid skeleton JSON: number is not finite: ", number->name ? number->name : "(item)");
        spJson_dispose(root);
        return nullptr;
    }
    spJson* bones = root->type == SP_JSON_OBJECT ? spJson_getItem(root, "bones") : nullptr;
    if (!bones || bones->type != SP_JSON_ARRAY || bones->size == 0) {
        setError(self, "Invalid skeleton JSON: ", "no bones");
        spJson_dispose(root);
        return nullptr;
    }

    spSkeletonData* data = spSkeletonData_create();
    spJson* skeleton = spJson_getItem(root, "skeleton");
    if (skeleton) {
        data->hash = SK_STRDUP(stringOr(skeleton, "hash", ""));
        data->version = SK_STRDUP(stringOr(skeleton, "skeleton", ""));
        data->width = spJson_getFloat(skeleton, "width", 0);
        data->height = spJson_getFloat(skeleton, "height", 0);
    }

    Reader reader(self, data, file);
    spJson* ik = spJson_getItem(root, "ik");
    spJson* slots = spJson_getItem(root, "slots");
    spJson* skins = spJson_getItem(root, "skins");
    bool ok = reader.readBones(bones) && (!isContainer(ik) || reader.readIk(ik)) &&
              (!isContainer(slots) || reader.readSlots(slots)) && (!isContainer(skins) || reader.readSkins(skins));
    if (!ok) {
        spSkeletonData_dispose(data);
        spJson_dispose(root);
        return nullptr;
    }

    spJson* events = spJson_getItem(root, "events");
    if (isContainer(events)) reader.readEvents(events);

    spJson* animations = spJson_getItem(root, "animations");
    int count = keysOf(animations);
    data->animations = SK_CALLOC(spAnimation*, count);
    for (spJson* map = count ? animations->child : nullptr; map && data->animationsCount < count; map = map->next) {
        spAnimation* animation = reader.readAnimation(map, map->name ? map->name : "");
        if (animation) data->animations[data->animationsCount++] = animation;
    }

    spJson_dispose(root);
    return data;
}

}  // namespace

spSkeletonData* spSkeletonJson_readSkeletonDataWithLength(spSkeletonJson* self, const char* json, size_t length) {
    return readSkeletonData(self, json, length, nullptr);
}

spSkeletonData* spSkeletonJson_readSkeletonDataFile(spSkeletonJson* self, const char* path) {
    int length = 0;
    char* json = skeleton_readFileHook(path, &length);
    if (!json) {
        SK_FREE(self->error);
        self->error = nullptr;
        setError(self, "Unable to read skeleton file: ", path);
        return nullptr;
    }
    spSkeletonData* data = readSkeletonData(self, json, static_cast<size_t>(length), path);
    SK_FREE(json);
    return data;
}
