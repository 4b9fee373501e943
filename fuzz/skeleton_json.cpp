// Any bytes through the skeleton runtime's JSON tree parser and the skeleton
// reader: a read either gives skeleton data or an error, never a fault. The
// data is also posed once so that what the reader accepted is usable.
#include <cstddef>
#include <cstdint>

#include "skeleton/Json.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonJson.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    spJson_dispose(spJson_createWithLength(text, size));

    static spAtlas* atlas = [] {
        static const char atlasText[] =
            "p.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
            "r\n rotate: true\n xy: 0, 0\n size: 1, 1\n orig: 1, 1\n offset: 0, 0\n index: -1\n";
        return spAtlas_create(atlasText, sizeof atlasText - 1, "", nullptr);
    }();
    spSkeletonJson* json = spSkeletonJson_create(atlas);
    json->scale = 0.5f;
    spSkeletonData* skeletonData = spSkeletonJson_readSkeletonDataWithLength(json, text, size);
    if (skeletonData) {
        spSkeleton* skeleton = spSkeleton_create(skeletonData);
        for (int i = 0; i < skeletonData->skinsCount; ++i) spSkeleton_setSkin(skeleton, skeletonData->skins[i]);
        spSkeleton_updateWorldTransform(skeleton);
        spSkeleton_dispose(skeleton);
    }
    spSkeletonData_dispose(skeletonData);
    spSkeletonJson_dispose(json);
    return 0;
}
