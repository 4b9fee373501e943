// Drawing on a real GL context (a hidden window; Mesa's software driver under
// Xvfb). Time over time:
// - sprites_frame_vs_raw_gl: one frame of 2,000 sprites over 4 textures (visit,
//   sort by global Z, batching, draw calls, glFinish) against the same vertices
//   issued by hand: one glDrawElements per texture, then glFinish.
// - label_update_vs_cairo: a 40-character label re-rendered after a text change
//   (layout, measuring and rasterising, the pixels written into the label's
//   texture, its quad drawn) against Cairo drawing the same text, in the same
//   font and size, into a surface of the same size by hand.
// Without a display both pairs are skipped.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

constexpr int kSprites = 2000;
constexpr int kTextures = 4;
constexpr int kSide = 800;

struct View : engine::GLView {
    View() { setFrameSize(kSide, kSide); }
};

// A hidden window whose context stays current for the whole run (made once: the
// display would not take a new context for every repetition); the engine's
// system GL table installed and a director with a view of its size.
class Context {
public:
    Context() {
        if (!glfwInit()) return;
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
        _window = glfwCreateWindow(kSide, kSide, "bench", nullptr, nullptr);
        if (!_window) return;
        glfwMakeContextCurrent(_window);
        if (!engine::GL::useSystemFunctions()) return;
        auto* view = new View;
        engine::Director::getInstance()->setOpenGLView(view);
        view->release();
        engine::Director::getInstance()->setProjection2D();
        _ready = true;
    }
    bool ready() const { return _ready; }

private:
    GLFWwindow* _window = nullptr;
    bool _ready = false;
};

// Lives until the process ends.
const Context& context() {
    static const Context* made = new Context;
    return *made;
}

std::vector<engine::Texture2D*> makeTextures() {
    std::vector<engine::Texture2D*> textures;
    for (int t = 0; t < kTextures; ++t) {
        std::vector<unsigned char> pixels(32 * 32 * 4, static_cast<unsigned char>(60 * t + 30));
        textures.push_back(engine::Texture2D::createWithData(std::move(pixels), 32, 32,
                                                             engine::Texture2D::PixelFormat::RGBA8888, true));
    }
    return textures;
}

// The sprites, texture by texture (each texture's sprites at one global Z), spread over the view.
engine::Scene* makeScene(const std::vector<engine::Texture2D*>& textures) {
    engine::Scene* scene = engine::Scene::create();
    for (int i = 0; i < kSprites; ++i) {
        const int t = i % kTextures;
        engine::Sprite* sprite = engine::Sprite::createWithTexture(textures[static_cast<size_t>(t)]);
        sprite->setPosition(static_cast<float>((i * 37) % kSide), static_cast<float>((i * 91) % kSide));
        sprite->setGlobalZOrder(static_cast<float>(t));
        scene->addChild(sprite);
    }
    return scene;
}

void BM_sprites_frame_vs_raw_gl_ours(benchmark::State& state) {
    if (!context().ready()) {
        state.SkipWithError("no display for a GL context");
        return;
    }
    std::vector<engine::Texture2D*> textures = makeTextures();
    engine::Scene* scene = makeScene(textures);
    scene->retain();
    engine::Renderer* renderer = engine::Director::getInstance()->getRenderer();
    const engine::GLFunctions& gl = engine::GL::fn();
    for (auto _ : state) {
        renderer->clearDrawStats();
        gl.clear(GL_COLOR_BUFFER_BIT);
        scene->visit(renderer, engine::Mat4::IDENTITY, 0);
        renderer->render();
        gl.finish();
    }
    state.counters["draw_calls"] = static_cast<double>(renderer->getDrawnBatches());   // of one frame
    scene->release();
    for (engine::Texture2D* t : textures) t->release();
    engine::AutoreleasePool::getInstance()->clear();
}
BENCHMARK(BM_sprites_frame_vs_raw_gl_ours)->Name("BM_sprites_frame_vs_raw_gl/ours");

void BM_sprites_frame_vs_raw_gl_baseline(benchmark::State& state) {
    if (!context().ready()) {
        state.SkipWithError("no display for a GL context");
        return;
    }
    std::vector<engine::Texture2D*> textures = makeTextures();
    engine::Scene* scene = makeScene(textures);
    scene->retain();
    // The vertices the engine would draw, gathered once per texture.
    std::vector<std::vector<engine::V2F_C4B_T2F>> byTexture(kTextures);
    for (engine::Node* child : scene->getChildren()) {
        auto* sprite = static_cast<engine::Sprite*>(child);
        engine::QuadCommand quad;
        quad.addQuad(child->getNodeToParentTransform(), engine::Vec2(0, 0),
                     engine::Vec2(sprite->getContentSize().width, sprite->getContentSize().height),
                     engine::Color4B{255, 255, 255, 255}, 0, 1, 1, 0);
        auto& list = byTexture[static_cast<size_t>(sprite->getGlobalZOrder())];
        list.insert(list.end(), quad.getVertices().begin(), quad.getVertices().end());
    }
    std::vector<uint16_t> indices;
    for (int q = 0; q < kSprites / kTextures; ++q) {
        const auto b = static_cast<uint16_t>(q * 4);
        for (uint16_t i : {b, uint16_t(b + 1), uint16_t(b + 2), uint16_t(b + 3), uint16_t(b + 2), uint16_t(b + 1)})
            indices.push_back(i);
    }
    engine::GLProgram* program =
        engine::GLProgramCache::getInstance()->getGLProgram(engine::GLProgram::SHADER_NAME_POSITION_TEXTURE_COLOR);
    const engine::GLFunctions& gl = engine::GL::fn();
    for (auto _ : state) {
        gl.clear(GL_COLOR_BUFFER_BIT);
        program->use();
        program->setUniformsForBuiltins(engine::Mat4::IDENTITY);
        engine::GL::blendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        for (int a : {0, 1, 2}) gl.enableVertexAttribArray(static_cast<GLuint>(a));
        for (int t = 0; t < kTextures; ++t) {
            const auto& v = byTexture[static_cast<size_t>(t)];
            engine::GL::bindTexture2D(textures[static_cast<size_t>(t)]->getName());
            const auto* base = reinterpret_cast<const char*>(v.data());
            gl.vertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(engine::V2F_C4B_T2F), base);
            gl.vertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(engine::V2F_C4B_T2F), base + 8);
            gl.vertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(engine::V2F_C4B_T2F), base + 12);
            gl.drawElements(GL_TRIANGLES, static_cast<GLsizei>(v.size() / 4 * 6), GL_UNSIGNED_SHORT, indices.data());
        }
        gl.finish();
    }
    scene->release();
    for (engine::Texture2D* t : textures) t->release();
    engine::AutoreleasePool::getInstance()->clear();
}
BENCHMARK(BM_sprites_frame_vs_raw_gl_baseline)->Name("BM_sprites_frame_vs_raw_gl/baseline");

// Two 40-character texts, alternated so that every update changes the text.
const char* const kTexts[2] = {"Mộc Hà Lục: tin mới từ bản cập nhật 101!", "Mộc Hà Lục: tin mới từ bản cập nhật 102!"};
constexpr float kFontSize = 20;

void BM_label_update_vs_cairo_ours(benchmark::State& state) {
    if (!context().ready()) {
        state.SkipWithError("no display for a GL context");
        return;
    }
    engine::Label* label = engine::Label::createWithSystemFont(kTexts[0], "sans-serif", kFontSize);
    label->retain();
    engine::Renderer* renderer = engine::Director::getInstance()->getRenderer();
    int i = 0;
    for (auto _ : state) {
        label->setString(kTexts[++i & 1]);
        label->visit(renderer, engine::Mat4::IDENTITY, 0);
        renderer->render();
    }
    label->release();
    engine::AutoreleasePool::getInstance()->clear();
}
BENCHMARK(BM_label_update_vs_cairo_ours)->Name("BM_label_update_vs_cairo/ours");

void BM_label_update_vs_cairo_baseline(benchmark::State& state) {
    if (!context().ready()) {   // the same conditions as ours
        state.SkipWithError("no display for a GL context");
        return;
    }
    // The size the label's texture gets: its text's width, one line high.
    cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* measure = cairo_create(probe);
    cairo_select_font_face(measure, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(measure, kFontSize);
    cairo_text_extents_t extents;
    cairo_text_extents(measure, kTexts[0], &extents);
    cairo_destroy(measure);
    cairo_surface_destroy(probe);
    const int width = static_cast<int>(std::ceil(extents.x_advance)), height = static_cast<int>(kFontSize);
    int i = 0;
    for (auto _ : state) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* cr = cairo_create(surface);
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, kFontSize);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_move_to(cr, 0, kFontSize * 0.8);
        cairo_show_text(cr, kTexts[++i & 1]);
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
}
BENCHMARK(BM_label_update_vs_cairo_baseline)->Name("BM_label_update_vs_cairo/baseline");

}  // namespace
