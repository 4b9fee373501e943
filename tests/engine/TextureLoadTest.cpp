// Loading textures off the main thread, and the sampling parameters a texture keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/TextureCache.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace {

using engine::Texture2D;
using engine::TextureCache;

struct Completion {
    int calls = 0;
    Texture2D* texture = nullptr;
    bool onMainThread = true;
};

// Runs the director's updates until every completion has run (or 10 s passed),
// then a few more, which must call nothing again.
void pumpUntilDone(const std::vector<std::shared_ptr<Completion>>& completions) {
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    auto done = [&] {
        for (const auto& c : completions)
            if (c->calls == 0) return false;
        return true;
    };
    for (int i = 0; i < 10000 && !done(); ++i) {
        scheduler->update(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int i = 0; i < 3; ++i) scheduler->update(0);
}

TextureCache::AsyncCallback recordInto(const std::shared_ptr<Completion>& completion) {
    const std::thread::id main = std::this_thread::get_id();
    return [completion, main](Texture2D* texture) {
        ++completion->calls;
        completion->texture = texture;
        completion->onMainThread = completion->onMainThread && std::this_thread::get_id() == main;
    };
}

TEST(TextureCacheAsync, CallsBackOnceOnTheMainThreadForEveryOutcome) {
    testsupport::TempDir dir;
    const std::vector<unsigned char> png = testsupport::encodeBlankPng(6, 3);
    const std::string good = dir.write("good.png", std::string(png.begin(), png.end()));
    dir.write("broken.png", "not an image");
    struct Case { std::string path; bool loads; };
    const Case cases[] = {
        {good, true},
        {dir.path() + "/./good.png", true},   // the same file: the same texture
        {dir.file("missing.png"), false},
        {dir.file("broken.png"), false},
        {"", false},
    };
    TextureCache* cache = TextureCache::getInstance();
    std::vector<std::shared_ptr<Completion>> completions;
    for (const Case& c : cases) {
        completions.push_back(std::make_shared<Completion>());
        cache->addImageAsync(c.path, recordInto(completions.back()));
    }
    EXPECT_EQ(completions[0]->calls, 0);   // never from within the request
    pumpUntilDone(completions);
    Texture2D* cached = cache->getTextureForKey(good);
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->getPixelsWide(), 6);
    EXPECT_EQ(cached->getPath(), good);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].path);
        EXPECT_EQ(completions[i]->calls, 1);
        EXPECT_TRUE(completions[i]->onMainThread);
        EXPECT_EQ(completions[i]->texture, cases[i].loads ? cached : nullptr);
        EXPECT_EQ(completions[i].use_count(), 1);   // the callback is gone once called
    }
    // A file already cached comes back without a worker, still later and once.
    auto again = std::make_shared<Completion>();
    cache->addImageAsync(good, recordInto(again));
    EXPECT_EQ(again->calls, 0);
    pumpUntilDone({again});
    EXPECT_EQ(again->calls, 1);
    EXPECT_EQ(again->texture, cached);
    TextureCache::destroyInstance();
}

// A cache destroyed with loads in flight (decoding, or decoded and queued) calls
// none of them and drops their callbacks; the queued completions find it gone.
TEST(TextureCacheAsync, DestroyedCacheCallsNothingAndKeepsNoCallback) {
    testsupport::TempDir dir;
    const std::vector<unsigned char> png = testsupport::encodeBlankPng(1024, 1024);
    const std::string big = dir.write("big.png", std::string(png.begin(), png.end()));
    for (int waitMs : {0, 200}) {
        SCOPED_TRACE(waitMs);
        std::vector<std::shared_ptr<Completion>> completions;
        TextureCache* cache = TextureCache::getInstance();
        for (int i = 0; i < 3; ++i) {
            completions.push_back(std::make_shared<Completion>());
            cache->addImageAsync(i == 2 ? dir.file("missing.png") : big, recordInto(completions.back()));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        TextureCache::destroyInstance();
        for (const auto& c : completions) EXPECT_EQ(c.use_count(), 1);
        TextureCache::getInstance();   // a new cache does not take the old loads
        for (int i = 0; i < 5; ++i) engine::Director::getInstance()->getScheduler()->update(0);
        for (const auto& c : completions) EXPECT_EQ(c->calls, 0);
        EXPECT_EQ(TextureCache::getInstance()->getTextureForKey(big), nullptr);
        TextureCache::destroyInstance();
    }
}

// Parameters set before the upload are the ones uploaded with; set after it,
// they reach the GL texture of the current context at once.
TEST(Texture2D, KeepsAndAppliesItsSamplingParameters) {
    Texture2D* texture = Texture2D::createWithData({1, 2, 3}, 1, 1, Texture2D::PixelFormat::RGB888);
    EXPECT_EQ(texture->getTexParameters().minFilter, 0x2601u);
    EXPECT_EQ(texture->getTexParameters().wrapT, 0x812Fu);
    Texture2D::_TexParams nearestRepeat{0x2600, 0x2600, 0x2901, 0x2901};
    Texture2D::_TexParams mirrored{0x2601, 0x2600, 0x8370, 0x812F};
    auto parameters = [](const engine::GLRecorder& gl) {
        std::vector<std::vector<double>> out;
        for (const engine::GLRecordedCall* call : gl.callsNamed("glTexParameteri")) out.push_back(call->args);
        return out;
    };
    auto expected = [](const Texture2D::_TexParams& p) {
        return std::vector<std::vector<double>>{{0x0DE1, 0x2801, double(p.minFilter)},
                                                {0x0DE1, 0x2800, double(p.magFilter)},
                                                {0x0DE1, 0x2802, double(p.wrapS)},
                                                {0x0DE1, 0x2803, double(p.wrapT)}};
    };
    texture->setTexParameters(nearestRepeat);   // no context: kept for the upload
    {
        engine::GLRecorder gl;
        ASSERT_NE(texture->getName(), 0u);
        EXPECT_EQ(parameters(gl), expected(nearestRepeat));
        gl.clear();
        texture->setTexParameters(mirrored);
        EXPECT_EQ(parameters(gl), expected(mirrored));
    }
    EXPECT_EQ(texture->getTexParameters().wrapS, 0x8370u);
    texture->release();
}

}  // namespace
