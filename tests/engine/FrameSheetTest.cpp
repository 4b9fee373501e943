// Frame sheets: reading their property lists in each format, filing their
// frames in the sprite-frame cache, sprites showing frames, and frame
// animations switching frames and giving the sprite its own frame back.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/actions/ActionManager.h"
#include "engine/actions/Animate.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Animation.h"
#include "engine/scene/FrameSheet.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

namespace {

using engine::FrameSheet;
using engine::SpriteFrameCache;

std::string plist(const std::string& frames, const std::string& metadata) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>frames</key><dict>" + frames +
           "</dict>" + metadata + "</dict></plist>";
}

std::string meta(int format, const std::string& texture = "") {
    return "<key>metadata</key><dict><key>format</key><integer>" + std::to_string(format) + "</integer>" +
           (texture.empty() ? "" : "<key>textureFileName</key><string>" + texture + "</string>") + "</dict>";
}

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<array>";
    for (int i = 0; i < depth; ++i) text += "</array>";
    return text;
}

// name rect rotated offset source-size, one frame per line.
std::string describe(const FrameSheet& sheet) {
    std::string text;
    for (const auto& f : sheet.frames) {
        char line[160];
        std::snprintf(line, sizeof line, "%s %g,%g,%g,%g %s %g,%g %gx%g\n", f.name.c_str(), f.rect.origin.x,
                      f.rect.origin.y, f.rect.size.width, f.rect.size.height, f.rotated ? "r" : "-", f.offset.x,
                      f.offset.y, f.sourceSize.width, f.sourceSize.height);
        text += line;
    }
    return text;
}

TEST(FrameSheetTest, FramesOfEachFormat) {
    const std::string format2Frame =
        "<key>b.png</key><dict><key>frame</key><string>{{2,4},{10,20}}</string><key>offset</key>"
        "<string>{1,-2}</string><key>rotated</key><true/><key>sourceSize</key><string>{12,24}</string></dict>";
    struct Case {
        const char* name;
        std::string text;
        bool ok;
        const char* frames;
        const char* texture;
    };
    const Case cases[] = {
        {"format 0 numbers",
         plist("<key>a.png</key><dict><key>x</key><integer>1</integer><key>y</key><real>2.5</real><key>width</key>"
               "<integer>8</integer><key>height</key><integer>6</integer><key>offsetX</key><real>-1</real>"
               "<key>originalWidth</key><integer>-10</integer><key>originalHeight</key><integer>9</integer></dict>",
               ""),
         true, "a.png 1,2.5,8,6 - -1,0 10x9\n", ""},
        {"format 2 with rotation, in name order",
         plist(format2Frame + "<key>a.png</key><dict><key>frame</key><string>{{0,0},{5,5}}</string></dict>",
               meta(2, "sheet.png")),
         true, "a.png 0,0,5,5 - 0,0 5x5\nb.png 2,4,10,20 r 1,-2 12x24\n", "sheet.png"},
        {"format 1 ignores rotation", plist(format2Frame, meta(1)), true, "b.png 2,4,10,20 - 1,-2 12x24\n", ""},
        {"format 3 keys",
         plist("<key>c</key><dict><key>textureRect</key><string>{{3,3},{4,4}}</string><key>spriteOffset</key>"
               "<string>{0,1}</string><key>spriteSourceSize</key><string>{6,6}</string><key>textureRotated</key>"
               "<false/></dict>",
               meta(3)),
         true, "c 3,3,4,4 - 0,1 6x6\n", ""},
        {"frames without a rectangle or with a negative size are skipped",
         plist("<key>x</key><dict><key>offset</key><string>{1,1}</string></dict><key>y</key><dict><key>frame</key>"
               "<string>{{0,0},{-4,4}}</string></dict><key>z</key><string>not a dict</string>",
               meta(2)),
         true, "", ""},
        {"unknown format", plist(format2Frame, meta(9)), false, "", ""},
        {"no frames", "<plist><dict><key>metadata</key><dict/></dict></plist>", false, "", ""},
        {"key without value", "<plist><dict><key>frames</key></dict></plist>", false, "", ""},
        {"not XML", "{\"frames\": {}}", false, "", ""},
        {"too deep", plist("<key>a</key>" + nested(40), ""), false, "", ""},
    };
    for (const Case& c : cases) {
        FrameSheet sheet;
        EXPECT_EQ(engine::parseFrameSheet(c.text, &sheet), c.ok) << c.name;
        EXPECT_EQ(describe(sheet), c.frames) << c.name;
        EXPECT_EQ(sheet.textureFileName, c.texture) << c.name;
    }
}

struct FrameCacheTest : ::testing::Test {
    testsupport::TempDir dir;
    SpriteFrameCache* cache = SpriteFrameCache::getInstance();
    ~FrameCacheTest() override {
        engine::Director::getInstance()->getActionManager()->removeAllActions();
        engine::AutoreleasePool::getInstance()->clear();
        engine::AnimationCache::destroyInstance();
        SpriteFrameCache::destroyInstance();
        engine::TextureCache::destroyInstance();
    }
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A 64 x 32 sheet of four 16 x 16 frames f0..f3 (f3 on the second row).
    std::string sheet() {
        const std::vector<unsigned char> png = testsupport::encodeBlankPng(64, 32);
        write("art.png", std::string(png.begin(), png.end()));
        std::string frames;
        for (int i = 0; i < 4; ++i) {
            const int x = (i % 3) * 16, y = (i / 3) * 16;
            frames += "<key>f" + std::to_string(i) + "</key><dict><key>frame</key><string>{{" + std::to_string(x) +
                      "," + std::to_string(y) + "},{16,16}}</string><key>sourceSize</key><string>{20,18}</string></dict>";
        }
        return write("sheet.plist", plist(frames, meta(2, "art.png")));
    }
};

TEST_F(FrameCacheTest, SheetFramesAreFiledOnTheirTextureAndLeaveTogether) {
    const std::string file = sheet();
    cache->addSpriteFrames(file);
    ASSERT_EQ(cache->size(), 4u);
    engine::SpriteFrame* f3 = cache->getSpriteFrame("f3");
    ASSERT_NE(f3, nullptr);
    EXPECT_EQ(f3->getRect(), engine::Rect(0, 16, 16, 16));
    EXPECT_EQ(f3->getOriginalSize(), engine::Size(20, 18));
    EXPECT_EQ(f3->getTexture(), engine::TextureCache::getInstance()->addImage(dir.path() + "/art.png"));

    engine::Sprite* sprite = engine::Sprite::createWithSpriteFrameName("f3");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), engine::Size(20, 18)) << "the size before trimming";
    EXPECT_EQ(sprite->getSpriteFrame(), f3);
    sprite->setSpriteFrame("missing");
    EXPECT_TRUE(sprite->isFrameDisplayed(f3)) << "an unknown name changes nothing";
    EXPECT_EQ(engine::Sprite::createWithSpriteFrameName("missing"), nullptr);

    cache->addSpriteFrame(engine::SpriteFrame::createWithTexture(f3->getTexture(), {0, 0, 1, 1}), "own");
    cache->removeSpriteFramesFromFile(file);
    EXPECT_EQ(cache->size(), 1u) << "only the sheet's frames go";
    EXPECT_FALSE(cache->isSheetLoaded(file));

    // Without a sheet or its texture nothing is filed.
    cache->addSpriteFrames(dir.path() + "/none.plist");
    write("bare.plist", plist("<key>g</key><dict><key>frame</key><string>{{0,0},{1,1}}</string></dict>", meta(2)));
    cache->addSpriteFrames(dir.path() + "/bare.plist");   // bare.png does not exist
    EXPECT_EQ(cache->size(), 1u);
}

TEST_F(FrameCacheTest, AnimateSwitchesFramesEachLoopAndRestoresTheOriginal) {
    cache->addSpriteFrames(sheet());
    engine::Sprite* sprite = engine::Sprite::createWithSpriteFrameName("f0");
    sprite->onEnter();
    auto* animation = engine::Animation::createWithSpriteFrames(
        {cache->getSpriteFrame("f1"), cache->getSpriteFrame("f2"), cache->getSpriteFrame("f3")}, 0.1f, 2);
    animation->setRestoreOriginalFrame(true);
    engine::AnimationCache::getInstance()->addAnimation(animation, "walk");
    ASSERT_EQ(engine::AnimationCache::getInstance()->getAnimation("walk"), animation);
    auto* animate = engine::Animate::create(animation);
    EXPECT_FLOAT_EQ(animate->getDuration(), 0.6f);
    sprite->runAction(animate);

    auto* manager = engine::Director::getInstance()->getActionManager();
    const float steps[] = {0.f, 0.05f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f};
    const char* shown[] = {"f1", "f1", "f2", "f3", "f1", "f2", "f3", "f0"};
    for (size_t i = 0; i < std::size(steps); ++i) {
        manager->update(steps[i]);
        EXPECT_TRUE(sprite->isFrameDisplayed(cache->getSpriteFrame(shown[i]))) << "frame " << i << " " << shown[i];
    }
    EXPECT_EQ(sprite->getNumberOfRunningActions(), 0u);
    sprite->onExit();
}

// A clone shares the texture and copies the settings; later changes to either
// frame leave the other as it was.
TEST(SpriteFrameTest, ACloneSharesTheTextureAndKeepsItsOwnSettings) {
    using engine::Rect;
    using engine::Size;
    using engine::Vec2;
    engine::Texture2D* texture = engine::Texture2D::create(8, 8, engine::Texture2D::PixelFormat::RGBA8888);
    engine::Texture2D* other = engine::Texture2D::create(8, 8, engine::Texture2D::PixelFormat::RGBA8888);
    {
        engine::SpriteFrame* frame =
            engine::SpriteFrame::createWithTexture(texture, Rect(1, 2, 3, 4), true, Vec2(0.5f, -1), Size(5, 6));
        engine::SpriteFrame* copy = frame->clone();
        EXPECT_EQ(copy->getTexture(), texture);
        EXPECT_EQ(texture->getReferenceCount(), 3u);
        frame->setRect(Rect(0, 0, 8, 8));
        frame->setRotated(false);
        frame->setOffset(Vec2());
        frame->setOriginalSize(Size(8, 8));
        frame->setTexture(other);
        frame->setTexture(nullptr);   // refused
        EXPECT_EQ(frame->getTexture(), other);
        EXPECT_EQ(texture->getReferenceCount(), 2u);
        EXPECT_EQ(frame->getRectInPixels().size.width, 8.f);
        EXPECT_EQ(copy->getRect().origin.x, 1.f);
        EXPECT_EQ(copy->getRect().size.height, 4.f);
        EXPECT_TRUE(copy->isRotated());
        EXPECT_EQ(copy->getOffset().y, -1.f);
        EXPECT_EQ(copy->getOriginalSizeInPixels().width, 5.f);
        engine::AutoreleasePool::getInstance()->clear();
    }
    EXPECT_EQ(texture->getReferenceCount(), 1u);
    EXPECT_EQ(other->getReferenceCount(), 1u);
    texture->release();
    other->release();
}

}  // namespace
