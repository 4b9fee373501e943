// One frame of 100 animated skeleton nodes (30 bones, 20 region slots, a looping
// animation with Bézier rotate and translate keys on every bone): state update
// and apply, world transform and batching into the no-op GL table; against a
// plain loop over flat arrays doing the same key search, curve lookup, wrap,
// matrices and corners. Time over time. Counters: bytes the skeleton runtime
// allocates per node when it is made, and per node and frame while it plays.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/base/Mat4.h"
#include "skeleton/SkeletonAnimation.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/extension.h"

namespace {

constexpr int kNodes = 100;
constexpr int kBones = 30;
constexpr int kSlots = 20;
constexpr float kFrame = 1.0f / 60;
constexpr float kCurve[4] = {0.25f, 0.f, 0.75f, 1.f};

size_t g_allocated = 0;
void* countingMalloc(size_t size) {
    g_allocated += size;
    return std::malloc(size);
}

const char* const kAtlas = "\npage.png\nsize: 64,64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
                           "part\n  rotate: false\n  xy: 0, 0\n  size: 16, 16\n  orig: 16, 16\n  offset: 0, 0\n  index: -1\n";

std::string document() {
    std::string bones = "[{\"name\": \"b0\"}", slots = "[", skin = "{", timelines = "{";
    for (int i = 1; i < kBones; ++i) {
        bones += ", {\"name\": \"b" + std::to_string(i) + "\", \"parent\": \"b" + std::to_string((i - 1) / 2) +
                 "\", \"x\": " + std::to_string(i % 5 + 2) + ", \"rotation\": " + std::to_string(i * 17 % 360) +
                 ", \"length\": 8}";
    }
    for (int i = 0; i < kSlots; ++i) {
        std::string sep = i ? ", " : "", name = "s" + std::to_string(i);
        slots += sep + "{\"name\": \"" + name + "\", \"bone\": \"b" + std::to_string(i + 1) + "\", \"attachment\": \"part\"}";
        skin += sep + "\"" + name + "\": {\"part\": {\"x\": 3, \"width\": 16, \"height\": 16}}";
    }
    const std::string curve = "\"curve\": [0.25, 0, 0.75, 1]";
    for (int i = 0; i < kBones; ++i) {
        timelines += std::string(i ? ", " : "") + "\"b" + std::to_string(i) + "\": {" +
                     "\"rotate\": [{\"time\": 0, \"angle\": 0, " + curve + "}, {\"time\": 0.5, \"angle\": " +
                     std::to_string(20 + i) + ", " + curve + "}, {\"time\": 1, \"angle\": 0}], " +
                     "\"translate\": [{\"time\": 0, \"x\": 0, \"y\": 0, " + curve + "}, {\"time\": 0.5, \"x\": 2, \"y\": " +
                     std::to_string(i % 4) + ", " + curve + "}, {\"time\": 1, \"x\": 0, \"y\": 0}]}";
    }
    return "{\"bones\": " + bones + "], \"slots\": " + slots + "], \"skins\": {\"default\": " + skin +
           "}}, \"animations\": {\"loop\": {\"bones\": " + timelines + "}}}}";
}

void BM_skeleton_frame_vs_plain_ours(benchmark::State& state) {
    spAtlas* atlas = spAtlas_create(kAtlas, static_cast<int>(std::strlen(kAtlas)), "", nullptr);
    spSkeletonJson* json = spSkeletonJson_create(atlas);
    const std::string text = document();
    spSkeletonData* data = spSkeletonJson_readSkeletonDataWithLength(json, text.data(), text.size());
    spSkeletonJson_dispose(json);
    if (!data) {
        state.SkipWithError("the benchmark's skeleton does not read");
        spAtlas_dispose(atlas);
        return;
    }
    skeleton_setMallocHook(countingMalloc);
    g_allocated = 0;
    std::vector<skeleton::SkeletonAnimation*> nodes;
    for (int i = 0; i < kNodes; ++i) {
        auto* node = new skeleton::SkeletonAnimation(data, false);
        node->setAnimation(0, "loop", true);
        node->update(i * 0.013f);   // not all in step
        nodes.push_back(node);
    }
    const double madeBytes = double(g_allocated) / kNodes;
    g_allocated = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        for (skeleton::SkeletonAnimation* node : nodes) {
            node->update(kFrame);
            node->drawSkeleton(engine::Mat4::IDENTITY, 0);
        }
        ++frames;
    }
    state.counters["bytes_per_node"] = madeBytes;
    state.counters["frame_bytes_per_node"] = frames ? double(g_allocated) / double(frames * kNodes) : 0;
    skeleton_setMallocHook(nullptr);
    for (skeleton::SkeletonAnimation* node : nodes) node->release();
    spSkeletonData_dispose(data);
    spAtlas_dispose(atlas);
}
BENCHMARK(BM_skeleton_frame_vs_plain_ours)->Name("BM_skeleton_frame_vs_plain/ours");

// ---- The same frame over flat arrays.

struct Keys {
    float times[3];
    float a[3], b[3];           // angle, or x and y
    float curve[2][18];         // nine sampled (x, y) points per span
};

struct Plain {
    float time = 0;
    int parent[kBones];
    float setupX[kBones], setupY[kBones], setupRotation[kBones];
    Keys rotate[kBones], translate[kBones];
    float x[kBones], y[kBones], rotation[kBones];
    float m00[kBones], m01[kBones], m10[kBones], m11[kBones], wx[kBones], wy[kBones];
    float offset[8];
    float uvs[8];
};

struct Vertex {
    float x, y;
    uint8_t r, g, b, a;
    float u, v;
};

void sampleCurve(float* out) {
    // The Bézier through (0, 0), (cx1, cy1), (cx2, cy2), (1, 1) at t = 0.1 .. 0.9.
    for (int i = 0; i < 9; ++i) {
        float t = (i + 1) / 10.f, u = 1 - t;
        out[2 * i] = 3 * u * u * t * kCurve[0] + 3 * u * t * t * kCurve[2] + t * t * t;
        out[2 * i + 1] = 3 * u * u * t * kCurve[1] + 3 * u * t * t * kCurve[3] + t * t * t;
    }
}

float curvePercent(const float* samples, float percent) {
    float x = 0, y = 0;
    for (int i = 0; i < 18; i += 2) {
        if (samples[i] >= percent) {
            float prevX = i ? samples[i - 2] : 0, prevY = i ? samples[i - 1] : 0;
            return prevY + (samples[i + 1] - prevY) * (percent - prevX) / (samples[i] - prevX);
        }
        x = samples[i];
        y = samples[i + 1];
    }
    return y + (1 - y) * (percent - x) / (1 - x);
}

// The value of a three-key track at time: key search, curve lookup, blend.
void sample(const Keys& k, float time, float* a, float* b) {
    int next = time >= k.times[1] ? 2 : 1;   // binary search over three keys
    if (time >= k.times[2]) {
        *a = k.a[2];
        *b = k.b[2];
        return;
    }
    float span = k.times[next] - k.times[next - 1];
    float percent = curvePercent(k.curve[next - 1], (time - k.times[next - 1]) / span);
    float da = k.a[next] - k.a[next - 1];
    da -= std::floor(da / 360 + 0.5f) * 360;   // shortest way round
    *a = k.a[next - 1] + da * percent;
    *b = k.b[next - 1] + (k.b[next] - k.b[next - 1]) * percent;
}

void BM_skeleton_frame_vs_plain_baseline(benchmark::State& state) {
    std::vector<Plain> nodes(kNodes);
    for (int n = 0; n < kNodes; ++n) {
        Plain& p = nodes[n];
        p.time = n * 0.013f;
        for (int i = 0; i < kBones; ++i) {
            p.parent[i] = i ? (i - 1) / 2 : -1;
            p.setupX[i] = i ? float(i % 5 + 2) : 0;
            p.setupY[i] = 0;
            p.setupRotation[i] = i ? float(i * 17 % 360) : 0;
            Keys r = {{0, 0.5f, 1}, {0, float(20 + i), 0}, {0, 0, 0}, {}};
            Keys t = {{0, 0.5f, 1}, {0, 2, 0}, {0, float(i % 4), 0}, {}};
            for (int s = 0; s < 2; ++s) {
                sampleCurve(r.curve[s]);
                sampleCurve(t.curve[s]);
            }
            p.rotate[i] = r;
            p.translate[i] = t;
        }
        const float corners[8] = {-5, -8, -5, 8, 11, 8, 11, -8};
        const float uvs[8] = {0, 0.25f, 0, 0, 0.25f, 0, 0.25f, 0.25f};
        std::memcpy(p.offset, corners, sizeof corners);
        std::memcpy(p.uvs, uvs, sizeof uvs);
    }
    std::vector<Vertex> vertices(2000);
    std::vector<uint16_t> indices(6000);
    const uint16_t quad[6] = {0, 1, 2, 2, 3, 0};
    for (auto _ : state) {
        for (Plain& p : nodes) {
            p.time += kFrame;
            float t = std::fmod(p.time, 1.f);
            for (int i = 0; i < kBones; ++i) {
                float angle, unused, dx, dy;
                sample(p.rotate[i], t, &angle, &unused);
                sample(p.translate[i], t, &dx, &dy);
                float r = p.setupRotation[i] + angle;
                r -= std::floor(r / 360 + 0.5f) * 360;
                p.rotation[i] = r;
                p.x[i] = p.setupX[i] + dx;
                p.y[i] = p.setupY[i] + dy;
            }
            for (int i = 0; i < kBones; ++i) {
                float rad = p.rotation[i] * 3.14159265f / 180;
                float c = std::cos(rad), s = std::sin(rad);
                int parent = p.parent[i];
                if (parent < 0) {
                    p.m00[i] = c, p.m01[i] = -s, p.m10[i] = s, p.m11[i] = c, p.wx[i] = p.x[i], p.wy[i] = p.y[i];
                    continue;
                }
                p.wx[i] = p.x[i] * p.m00[parent] + p.y[i] * p.m01[parent] + p.wx[parent];
                p.wy[i] = p.x[i] * p.m10[parent] + p.y[i] * p.m11[parent] + p.wy[parent];
                p.m00[i] = p.m00[parent] * c + p.m01[parent] * s;
                p.m01[i] = -p.m00[parent] * s + p.m01[parent] * c;
                p.m10[i] = p.m10[parent] * c + p.m11[parent] * s;
                p.m11[i] = -p.m10[parent] * s + p.m11[parent] * c;
            }
            size_t v = 0, x = 0;
            for (int slot = 0; slot < kSlots; ++slot) {
                int bone = slot + 1;
                for (int k = 0; k < 6; ++k) indices[x++] = static_cast<uint16_t>(quad[k] + v);
                for (int corner = 0; corner < 4; ++corner) {
                    float ox = p.offset[2 * corner], oy = p.offset[2 * corner + 1];
                    Vertex& out = vertices[v++];
                    out.x = ox * p.m00[bone] + oy * p.m01[bone] + p.wx[bone];
                    out.y = ox * p.m10[bone] + oy * p.m11[bone] + p.wy[bone];
                    out.r = out.g = out.b = out.a = 255;
                    out.u = p.uvs[2 * corner];
                    out.v = p.uvs[2 * corner + 1];
                }
            }
            benchmark::DoNotOptimize(vertices.data());
            benchmark::DoNotOptimize(indices.data());
        }
    }
}
BENCHMARK(BM_skeleton_frame_vs_plain_baseline)->Name("BM_skeleton_frame_vs_plain/baseline");

}  // namespace
