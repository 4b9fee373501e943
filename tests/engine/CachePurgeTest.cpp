// Purging the sprite-frame and texture caches: only entries nothing else holds go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/image/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "support/ImageEncoder.h"

namespace {

using engine::SpriteFrame;
using engine::SpriteFrameCache;
using engine::Texture2D;
using engine::TextureCache;

struct CachePurgeTest : ::testing::Test {
    TextureCache* textures = TextureCache::getInstance();
    SpriteFrameCache* frames = SpriteFrameCache::getInstance();
    ~CachePurgeTest() override {
        engine::AutoreleasePool::getInstance()->clear();
        SpriteFrameCache::destroyInstance();
        TextureCache::destroyInstance();
    }
    Texture2D* texture(const std::string& key) {
        const std::vector<unsigned char> png = testsupport::encodeBlankPng(4, 2);
        engine::Image image;
        EXPECT_TRUE(image.initWithImageData(png.data(), png.size()));
        return textures->addImage(&image, key);
    }
};

TEST_F(CachePurgeTest, FramesThenTexturesHeldElsewhereStay) {
    texture("free");
    Texture2D* underFrame = texture("under-frame");
    Texture2D* underSprite = texture("under-sprite");
    Texture2D* retained = texture("retained");
    retained->retain();

    frames->addSpriteFrame(SpriteFrame::createWithTexture(underFrame, {0, 0, 2, 2}), "loose.png");
    SpriteFrame* held = SpriteFrame::createWithTexture(underFrame, {2, 0, 2, 2});
    frames->addSpriteFrame(held, "held.png");
    held->retain();
    engine::Sprite* sprite = engine::Sprite::createWithTexture(underSprite);
    sprite->retain();
    engine::AutoreleasePool::getInstance()->clear();

    EXPECT_EQ(frames->removeUnusedSpriteFrames(), 1u);
    EXPECT_EQ(frames->getSpriteFrameByName("loose.png"), nullptr);
    EXPECT_EQ(frames->getSpriteFrameByName("held.png"), held);

    EXPECT_EQ(textures->removeUnusedTextures(), 1u);
    EXPECT_EQ(textures->getTextureForKey("free"), nullptr);
    for (const char* key : {"under-frame", "under-sprite", "retained"}) {
        SCOPED_TRACE(key);
        EXPECT_NE(textures->getTextureForKey(key), nullptr);
    }

    // Once the holders let go, the next purges take the rest, frames first.
    held->release();
    sprite->release();
    retained->release();
    EXPECT_EQ(textures->removeUnusedTextures(), 2u);   // the frame still holds its texture
    EXPECT_EQ(frames->removeUnusedSpriteFrames(), 1u);
    EXPECT_EQ(textures->removeUnusedTextures(), 1u);
    EXPECT_EQ(frames->size(), 0u);
}

TEST_F(CachePurgeTest, ReplacingAFrameReleasesTheOldOne) {
    Texture2D* t = texture("t");
    SpriteFrame* first = SpriteFrame::createWithTexture(t, {0, 0, 1, 1});
    first->retain();
    frames->addSpriteFrame(first, "f.png");
    frames->addSpriteFrame(SpriteFrame::createWithTexture(t, {1, 0, 1, 1}), "f.png");
    engine::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(first->getReferenceCount(), 1u);
    EXPECT_EQ(frames->getSpriteFrameByName("f.png")->getRect().origin.x, 1.f);
    first->release();
}

}  // namespace
