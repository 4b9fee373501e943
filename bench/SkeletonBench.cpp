// Skeleton runtime: the world transform of 100 skeletons of one 64-bone data
// against a plain loop doing the same trigonometry and 2 x 3 matrix work over
// flat arrays; and reading a 1 MiB skeleton document into skeleton data against
// RapidJSON parsing the same text into a document. Both pairs compare time.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/extension.h"

namespace {

constexpr int kBones = 64;
constexpr int kSkeletons = 100;

// 64 bones: a root, then each bone under one of the bones before it.
std::string boneList() {
    std::string text = "[{\"name\": \"b0\"}";
    for (int i = 1; i < kBones; ++i) {
        text += ", {\"name\": \"b" + std::to_string(i) + "\", \"parent\": \"b" + std::to_string((i - 1) / 2) +
                "\", \"x\": " + std::to_string(i % 7 + 1) + ", \"y\": " + std::to_string(i % 3) +
                ", \"rotation\": " + std::to_string(i * 13 % 360) + ", \"scaleX\": 1.1, \"length\": 5}";
    }
    return text + "]";
}

spSkeletonData* readData(const std::string& text) {
    spSkeletonJson* json = spSkeletonJson_create(nullptr);
    spSkeletonData* data = spSkeletonJson_readSkeletonDataWithLength(json, text.data(), text.size());
    spSkeletonJson_dispose(json);
    return data;
}

size_t allocated = 0;
void* countingMalloc(size_t size) {
    allocated += size;
    return std::malloc(size);
}

void BM_skeleton_pose_vs_plain_ours(benchmark::State& state) {
    spSkeletonData* data = readData("{\"bones\": " + boneList() + "}");
    skeleton_setMallocHook(countingMalloc);
    allocated = 0;
    std::vector<spSkeleton*> skeletons;
    for (int i = 0; i < kSkeletons; ++i) skeletons.push_back(spSkeleton_create(data));
    skeleton_setMallocHook(nullptr);
    state.counters["bytes_per_skeleton"] = static_cast<double>(allocated) / kSkeletons;
    float angle = 0;
    for (auto _ : state) {
        angle += 1;
        for (spSkeleton* s : skeletons) {
            s->bones[1]->rotation = angle;
            spSkeleton_updateWorldTransform(s);
        }
        benchmark::DoNotOptimize(skeletons.back()->bones[kBones - 1]->worldX);
    }
    for (spSkeleton* s : skeletons) spSkeleton_dispose(s);
    spSkeletonData_dispose(data);
}

// The same work over flat arrays: parent index, local values, world 2 x 3 matrices.
void BM_skeleton_pose_vs_plain_baseline(benchmark::State& state) {
    struct Local { int parent; float x, y, rotation, scaleX, scaleY; };
    std::vector<Local> local(kBones);
    for (int i = 0; i < kBones; ++i)
        local[i] = {i == 0 ? -1 : (i - 1) / 2, i == 0 ? 0.f : static_cast<float>(i % 7 + 1),
                    i == 0 ? 0.f : static_cast<float>(i % 3), static_cast<float>(i * 13 % 360), 1.1f, 1};
    std::vector<std::vector<Local>> poses(kSkeletons, local);
    std::vector<float> world(static_cast<size_t>(kSkeletons) * kBones * 9);
    float angle = 0;
    for (auto _ : state) {
        angle += 1;
        for (int s = 0; s < kSkeletons; ++s) {
            std::vector<Local>& pose = poses[static_cast<size_t>(s)];
            pose[1].rotation = angle;
            float* w = &world[static_cast<size_t>(s) * kBones * 9];
            for (int i = 0; i < kBones; ++i) {
                const Local& b = pose[static_cast<size_t>(i)];
                float* m = w + i * 9;   // m00 m01 x m10 m11 y rotation scaleX scaleY
                float rotation = b.rotation, sx = b.scaleX, sy = b.scaleY, x = b.x, y = b.y;
                if (b.parent >= 0) {
                    const float* p = w + b.parent * 9;
                    x = b.x * p[0] + b.y * p[1] + p[2];
                    y = b.x * p[3] + b.y * p[4] + p[5];
                    rotation += p[6];
                    sx *= p[7];
                    sy *= p[8];
                }
                float r = rotation * 0.017453292f, c = std::cos(r), sn = std::sin(r);
                m[0] = c * sx; m[1] = -sn * sy; m[2] = x;
                m[3] = sn * sx; m[4] = c * sy; m[5] = y;
                m[6] = rotation; m[7] = sx; m[8] = sy;
            }
        }
        benchmark::DoNotOptimize(world.back());
    }
}

// About 1 MiB: the bone list, 200 slots with region skins, and animations.
const std::string& bigDocument() {
    static const std::string text = [] {
        std::string t = "{\"skeleton\": {\"hash\": \"x\", \"skeleton\": \"2.1\"}, \"bones\": " + boneList() + ", \"slots\": [";
        for (int i = 0; i < 200; ++i)
            t += std::string(i ? ", " : "") + "{\"name\": \"s" + std::to_string(i) + "\", \"bone\": \"b" +
                 std::to_string(i % kBones) + "\", \"color\": \"ff8040ff\"}";
        t += "], \"skins\": {\"default\": {";
        for (int i = 0; i < 200; ++i)
            t += std::string(i ? ", " : "") + "\"s" + std::to_string(i) +
                 "\": {\"box\": {\"type\": \"boundingbox\", \"vertices\": [0, 0, 10.5, 0, 10.5, 10.25, 0, 10.25]}}";
        t += "}}, \"animations\": {";
        for (int a = 0; t.size() < 1024 * 1024; ++a) {
            t += std::string(a ? ", " : "") + "\"anim" + std::to_string(a) + "\": {\"bones\": {";
            for (int b = 0; b < kBones; ++b) {
                t += std::string(b ? ", " : "") + "\"b" + std::to_string(b) + "\": {\"rotate\": [";
                for (int k = 0; k < 4; ++k)
                    t += std::string(k ? ", " : "") + "{\"time\": " + std::to_string(k * 0.25) +
                         ", \"angle\": " + std::to_string(k * 12.5) + ", \"curve\": [0.25, 0, 0.75, 1]}";
                t += "], \"translate\": [{\"time\": 0, \"x\": 1.5, \"y\": -2}, {\"time\": 1, \"x\": 3, \"y\": 4}]}";
            }
            t += "}}";
        }
        return t + "}}";
    }();
    return text;
}

void BM_skeleton_load_vs_rapidjson_ours(benchmark::State& state) {
    const std::string& text = bigDocument();
    spSkeletonData* check = readData(text);
    if (!check || check->animationsCount == 0 || check->skinsCount != 1) {
        state.SkipWithError("the generated document does not read");
        spSkeletonData_dispose(check);
        return;
    }
    state.counters["animations"] = check->animationsCount;
    spSkeletonData_dispose(check);
    for (auto _ : state) {
        spSkeletonData* data = readData(text);
        benchmark::DoNotOptimize(data);
        spSkeletonData_dispose(data);
    }
    state.counters["document_bytes"] = static_cast<double>(text.size());
}

void BM_skeleton_load_vs_rapidjson_baseline(benchmark::State& state) {
    const std::string& text = bigDocument();
    for (auto _ : state) {
        rapidjson::Document doc;
        doc.Parse(text.data(), text.size());
        benchmark::DoNotOptimize(doc.HasParseError());
    }
}

}  // namespace

BENCHMARK(BM_skeleton_pose_vs_plain_ours)->Name("BM_skeleton_pose_vs_plain/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_skeleton_pose_vs_plain_baseline)->Name("BM_skeleton_pose_vs_plain/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_skeleton_load_vs_rapidjson_ours)->Name("BM_skeleton_load_vs_rapidjson/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_skeleton_load_vs_rapidjson_baseline)
    ->Name("BM_skeleton_load_vs_rapidjson/baseline")
    ->Unit(benchmark::kMillisecond);
