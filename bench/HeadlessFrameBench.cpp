// The engine's own share of a frame, headless: GL calls go to the no-op table,
// nothing is drawn. Time over time:
// - static_sprites_frame_vs_vertex_copy: one frame of 50,000 sprites that did not
//   move (visit, batching, the GL calls) against copying the same 200,000
//   vertices into a buffer.
// Frame times without a pair: headless_sprites_frame/<sprites>/<moving>, the
// same frame for 1,000, 10,000 and 50,000 sprites, still (0) or all moving (1).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

constexpr int kSide = 800;
constexpr int kStaticSprites = 50000;

struct View : engine::GLView {
    View() { setFrameSize(kSide, kSide); }
};

// A scene of `count` sprites of one texture spread over the view, with the no-op
// GL table in place and a director with a view; the table put back on leaving.
class Frame {
public:
    explicit Frame(int count) {
        _previous = engine::GL::fn();
        engine::GL::setFunctions(engine::GL::noopFunctions());
        // The programs made again under the no-op table, and again after it for
        // whoever draws next on a real table.
        engine::GLProgramCache::destroyInstance();
        auto* view = new View;
        engine::Director::getInstance()->setOpenGLView(view);
        view->release();
        _texture = engine::Texture2D::createWithData(std::vector<unsigned char>(16 * 16 * 4, 200), 16, 16,
                                                     engine::Texture2D::PixelFormat::RGBA8888, true);
        _scene = engine::Scene::create();
        _scene->retain();
        for (int i = 0; i < count; ++i) {
            engine::Sprite* sprite = engine::Sprite::createWithTexture(_texture);
            sprite->setPosition(static_cast<float>((i * 37) % kSide), static_cast<float>((i * 91) % kSide));
            _scene->addChild(sprite);
        }
        _renderer = engine::Director::getInstance()->getRenderer();
    }
    ~Frame() {
        _scene->release();
        _texture->release();
        engine::AutoreleasePool::getInstance()->clear();
        engine::GLProgramCache::destroyInstance();
        engine::GL::setFunctions(_previous);
    }

    // Moves every sprite by a step that alternates, so each frame sees a change.
    void move(int frame) {
        const float step = (frame & 1) ? 1.f : -1.f;
        for (engine::Node* child : _scene->getChildren()) child->setPositionX(child->getPositionX() + step);
    }
    void draw() {
        _scene->visit(_renderer, engine::Mat4::IDENTITY, 0);
        _renderer->render();
    }
    size_t drawnVertices() const { return _renderer->getDrawnVertices(); }
    void clearStats() { _renderer->clearDrawStats(); }

private:
    engine::GLFunctions _previous{};
    engine::Texture2D* _texture = nullptr;
    engine::Scene* _scene = nullptr;
    engine::Renderer* _renderer = nullptr;
};

void BM_static_sprites_frame_vs_vertex_copy_ours(benchmark::State& state) {
    Frame frame(kStaticSprites);
    frame.draw();
    for (auto _ : state) frame.draw();
    frame.clearStats();
    frame.draw();
    state.counters["vertices"] = static_cast<double>(frame.drawnVertices());
}
BENCHMARK(BM_static_sprites_frame_vs_vertex_copy_ours)
    ->Name("BM_static_sprites_frame_vs_vertex_copy/ours")
    ->Unit(benchmark::kMillisecond);

void BM_static_sprites_frame_vs_vertex_copy_baseline(benchmark::State& state) {
    const std::vector<engine::V2F_C4B_T2F> source(static_cast<size_t>(kStaticSprites) * 4,
                                                  engine::V2F_C4B_T2F{1, 2, 255, 255, 255, 255, 0, 1});
    std::vector<engine::V2F_C4B_T2F> buffer(source.size());
    for (auto _ : state) {
        std::memcpy(buffer.data(), source.data(), source.size() * sizeof(engine::V2F_C4B_T2F));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_static_sprites_frame_vs_vertex_copy_baseline)
    ->Name("BM_static_sprites_frame_vs_vertex_copy/baseline")
    ->Unit(benchmark::kMillisecond);

void BM_headless_sprites_frame(benchmark::State& state) {
    Frame frame(static_cast<int>(state.range(0)));
    const bool moving = state.range(1) != 0;
    frame.draw();
    int n = 0;
    for (auto _ : state) {
        if (moving) frame.move(++n);
        frame.draw();
    }
}
BENCHMARK(BM_headless_sprites_frame)
    ->ArgsProduct({{1000, 10000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
