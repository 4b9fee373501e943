// Labels keep the configuration they were made with, and need their font file.
#include <gtest/gtest.h>

#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/files/FileUtils.h"
#include "engine/label/Label.h"
#include "support/TestSupport.h"

using engine::Label;
using engine::TextHAlignment;
using engine::TextVAlignment;

namespace {

struct LabelConfigTest : ::testing::Test {
    LabelConfigTest() {
        dir.write("fonts/round.ttf", "ttf");
        dir.write("fonts/digits.fnt", "fnt");
        engine::FileUtils::getInstance()->addSearchPath(dir.path());
    }
    ~LabelConfigTest() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::FileUtils::destroyInstance();
    }
    testsupport::TempDir dir;
};

TEST_F(LabelConfigTest, TrueTypeLabelsKeepFileSizeBoxAndAlignments) {
    Label* label = Label::createWithTTF("hi", "fonts/round.ttf", 20, engine::Size(30, 40), TextHAlignment::RIGHT,
                                        TextVAlignment::CENTER);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getTTFConfig().fontFilePath, "fonts/round.ttf");
    EXPECT_EQ(label->getTTFConfig().fontSize, 20);
    EXPECT_EQ(label->getDimensions(), engine::Size(30, 40));
    EXPECT_EQ(label->getHorizontalAlignment(), TextHAlignment::RIGHT);
    EXPECT_EQ(label->getVerticalAlignment(), TextVAlignment::CENTER);
    EXPECT_EQ(label->getMaxLineWidth(), 0);
    EXPECT_EQ(label->getBMFontFilePath(), "");

    engine::TTFConfig config;
    config.fontFilePath = "fonts/round.ttf";
    config.fontSize = 10;
    config.outlineSize = 2;
    std::string glyphs = "abc";
    config.glyphs = engine::GlyphCollection::CUSTOM;
    config.customGlyphs = glyphs.c_str();
    // Ten points a line at five per character: two characters a line.
    label = Label::createWithTTF(config, "ab cd ef", TextHAlignment::CENTER, 10);
    ASSERT_NE(label, nullptr);
    glyphs = "xyz";   // the label keeps its own copy
    EXPECT_STREQ(label->getTTFConfig().customGlyphs, "abc");
    EXPECT_EQ(label->getTTFConfig().outlineSize, 2);
    EXPECT_EQ(label->getString(), "ab cd ef");
    EXPECT_EQ(label->getHorizontalAlignment(), TextHAlignment::CENTER);
    EXPECT_EQ(label->getMaxLineWidth(), 10);
    EXPECT_EQ(label->getLines().size(), 3u);
    label->setMaxLineWidth(0);
    EXPECT_EQ(label->getLines().size(), 1u);
    label->setMaxLineWidth(-4);
    EXPECT_EQ(label->getMaxLineWidth(), 0);

    label = Label::createWithBMFont("fonts/digits.fnt", "42", TextHAlignment::RIGHT, 0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getBMFontFilePath(), "fonts/digits.fnt");
    EXPECT_EQ(label->getTTFConfig().fontFilePath, "");
    EXPECT_EQ(label->getString(), "42");
}

TEST_F(LabelConfigTest, AFontFileThatCannotBeFoundGivesNoLabel) {
    engine::TTFConfig missing;
    missing.fontFilePath = "fonts/none.ttf";
    engine::TTFConfig empty;
    testsupport::LogCapture log;
    EXPECT_EQ(Label::createWithTTF("a", "fonts/none.ttf", 12), nullptr);
    EXPECT_EQ(Label::createWithTTF("a", "", 12), nullptr);
    EXPECT_EQ(Label::createWithTTF(missing, "a"), nullptr);
    EXPECT_EQ(Label::createWithTTF(empty, "a"), nullptr);
    EXPECT_EQ(Label::createWithBMFont("fonts/none.fnt", "a"), nullptr);
    EXPECT_EQ(Label::createWithBMFont("fonts", "a"), nullptr);   // a folder is no font
    EXPECT_NE(log.text().find("fonts/none.ttf"), std::string::npos) << log.text();
}

}  // namespace
