// Texture atlas text format, page textures through the engine hooks, and the
// atlas attachment loader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/renderer/Texture2D.h"
#include "skeleton/Atlas.h"
#include "skeleton/AtlasAttachmentLoader.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/SkeletonFixture.h"
#include "skeleton/extension.h"

namespace {

using skeleton_test::kAtlas;

spAtlas* atlasFrom(const std::string& text, const std::string& dir = "") {
    return spAtlas_create(text.data(), static_cast<int>(text.size()), dir.c_str(), nullptr);
}

std::vector<spAtlasRegion*> regionsOf(const spAtlas* atlas) {
    std::vector<spAtlasRegion*> out;
    for (spAtlasRegion* r = atlas->regions; r; r = r->next) out.push_back(r);
    return out;
}

TEST(SkeletonAtlas, ReadsEveryFieldOfPagesAndRegions) {
    std::string dir = skeleton_test::makeAtlasFolder("atlas-fields");
    spAtlas* atlas = atlasFrom(kAtlas, dir);
    ASSERT_NE(atlas, nullptr);
    spAtlasPage* page1 = atlas->pages;
    ASSERT_NE(page1, nullptr);
    spAtlasPage* page2 = page1->next;
    ASSERT_NE(page2, nullptr);
    EXPECT_EQ(page2->next, nullptr);

    EXPECT_STREQ(page1->name, "page1.png");
    EXPECT_EQ(page1->atlas, atlas);
    EXPECT_EQ(page1->format, SP_ATLAS_RGBA8888);
    EXPECT_EQ(page1->minFilter, SP_ATLAS_LINEAR);
    EXPECT_EQ(page1->magFilter, SP_ATLAS_NEAREST);
    EXPECT_EQ(page1->uWrap, 0);
    EXPECT_EQ(page1->vWrap, 0);
    // The texture's size wins over the size line.
    EXPECT_EQ(page1->width, 64);
    EXPECT_EQ(page1->height, 32);
    ASSERT_NE(page1->rendererObject, nullptr);
    EXPECT_EQ(static_cast<engine::Texture2D*>(page1->rendererObject)->getPixelsWide(), 64);

    EXPECT_EQ(page2->format, SP_ATLAS_RGBA4444);
    EXPECT_EQ(page2->minFilter, SP_ATLAS_MIPMAP_LINEAR_LINEAR);   // "MipMap" is a prefix of the last name
    EXPECT_EQ(page2->magFilter, SP_ATLAS_MIPMAP_LINEAR_LINEAR);
    EXPECT_EQ(page2->uWrap, SP_ATLAS_REPEAT);
    EXPECT_EQ(page2->vWrap, SP_ATLAS_REPEAT);
    EXPECT_EQ(page2->width, 128);   // no size line: the texture's size
    EXPECT_EQ(page2->height, 64);

    std::vector<spAtlasRegion*> regions = regionsOf(atlas);
    ASSERT_EQ(regions.size(), 5u);
    struct Expected {
        const char* name; spAtlasPage* page; int x, y, w, h; float u, v, u2, v2;
        int offsetX, offsetY, origW, origH, index, rotate; bool splits, pads;
    };
    const Expected expected[] = {
        {"head", page1, 0, 0, 16, 16, 0.f, 0.f, 0.25f, 0.5f, 2, 1, 20, 18, -1, 0, false, false},
        {"arm", page1, 16, 0, 8, 16, 0.25f, 0.f, 0.5f, 0.25f, 0, 0, 8, 16, 7, 1, false, false},
        {"panel", page2, 32, 16, 32, 16, 0.25f, 0.25f, 0.5f, 0.5f, 4, 2, 40, 20, 3, 0, true, true},
        {"skin", page2, 0, 0, 32, 32, 0.f, 0.f, 0.25f, 0.5f, 0, 0, 32, 32, -1, 0, true, false},
        {"head", page2, 64, 0, 4, 4, 0.5f, 0.f, 0.53125f, 0.0625f, 0, 0, 4, 4, -1, 0, false, false},
    };
    for (size_t i = 0; i < regions.size(); ++i) {
        const spAtlasRegion* r = regions[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(r->name, e.name);
        EXPECT_EQ(r->page, e.page);
        EXPECT_EQ(r->x, e.x); EXPECT_EQ(r->y, e.y);
        EXPECT_EQ(r->width, e.w); EXPECT_EQ(r->height, e.h);
        EXPECT_EQ(r->u, e.u); EXPECT_EQ(r->v, e.v); EXPECT_EQ(r->u2, e.u2); EXPECT_EQ(r->v2, e.v2);
        EXPECT_EQ(r->offsetX, e.offsetX); EXPECT_EQ(r->offsetY, e.offsetY);
        EXPECT_EQ(r->originalWidth, e.origW); EXPECT_EQ(r->originalHeight, e.origH);
        EXPECT_EQ(r->index, e.index);
        EXPECT_EQ(r->rotate, e.rotate);
        EXPECT_EQ(r->flip, 0);
        EXPECT_EQ(r->splits != nullptr, e.splits);
        EXPECT_EQ(r->pads != nullptr, e.pads);
    }
    EXPECT_EQ(regions[2]->splits[0], 1); EXPECT_EQ(regions[2]->splits[3], 4);
    EXPECT_EQ(regions[2]->pads[0], 5); EXPECT_EQ(regions[2]->pads[3], 8);

    // Two regions of one name: the first in the file is found.
    EXPECT_EQ(spAtlas_findRegion(atlas, "head"), regions[0]);
    EXPECT_EQ(spAtlas_findRegion(atlas, "Head"), nullptr);
    spAtlas_dispose(atlas);
}

TEST(SkeletonAtlas, MissingPageImageGetsTheBlankTexture) {
    spAtlas* atlas = atlasFrom("nothing-here.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
                               "r\n rotate: false\n xy: 1, 1\n size: 1, 1\n orig: 1, 1\n offset: 0, 0\n index: -1\n",
                               "/nonexistent-folder");
    ASSERT_NE(atlas, nullptr);
    ASSERT_NE(atlas->pages->rendererObject, nullptr);
    auto* blank = static_cast<engine::Texture2D*>(atlas->pages->rendererObject);
    EXPECT_EQ(blank->getPixelsWide(), 2);
    EXPECT_EQ(blank->getContentSize().height, 2.f);
    EXPECT_EQ(blank->getPixelFormat(), engine::Texture2D::PixelFormat::RGBA8888);
    EXPECT_EQ(blank->getPixelData(), std::vector<unsigned char>(16, 0));
    EXPECT_EQ(atlas->pages->width, 2);
    EXPECT_EQ(atlas->pages->height, 2);
    EXPECT_EQ(atlas->regions->u2, 1.f);
    spAtlas* second = atlasFrom("other.png\nformat: A\nfilter: N,N\nrepeat: none\n");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->pages->rendererObject, blank);   // one shared blank texture
    spAtlas_dispose(second);
    spAtlas_dispose(atlas);
}

TEST(SkeletonAtlas, WordTables) {
    struct Case { const char* format; const char* filter; const char* wrap; int f, min, mag, u, v; };
    const Case cases[] = {
        {"Alpha", "Nearest,Linear", "none", 0, 0, 1, 0, 0},
        {"RGB565", "MipMapNearestLinear,Bogus", "x", 3, 5, -1, 2, 1},
        {"Unknown", "MipMap", "y", -1, 6, 6, 1, 2},       // one filter value serves both
        {"RGB", "Linear , Linear", "xy", 6, 1, 1, 2, 2},   // a prefix of RGBA8888, the last name
        {"RGB8", "Nearest", "xy", 5, 0, 0, 2, 2},
        {"", "", "", 6, 6, 6, 0, 0},                       // the empty value matches every word
        {"rgba8888", "linear,linear", "X", -1, -1, -1, 2, 2},
    };
    for (const Case& c : cases) {
        std::string text = std::string("p.png\nformat: ") + c.format + "\nfilter: " + c.filter + "\nrepeat: " + c.wrap + "\n";
        spAtlas* atlas = atlasFrom(text);
        ASSERT_NE(atlas, nullptr) << text;
        const spAtlasPage* p = atlas->pages;
        EXPECT_EQ(p->format, c.f) << text;
        EXPECT_EQ(p->minFilter, c.min) << text;
        EXPECT_EQ(p->magFilter, c.mag) << text;
        EXPECT_EQ(p->uWrap, c.u) << text;
        EXPECT_EQ(p->vWrap, c.v) << text;
        spAtlas_dispose(atlas);
    }
}

TEST(SkeletonAtlas, CarriageReturnLineEndsReadTheSame) {
    std::string dir = skeleton_test::makeAtlasFolder("atlas-crlf");
    std::string crlf;
    for (const char* p = kAtlas; *p; ++p) {
        if (*p == '\n') crlf += '\r';
        crlf += *p;
    }
    spAtlas* a = atlasFrom(kAtlas, dir);
    spAtlas* b = atlasFrom(crlf, dir);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    std::vector<spAtlasRegion*> ra = regionsOf(a), rb = regionsOf(b);
    ASSERT_EQ(ra.size(), rb.size());
    for (size_t i = 0; i < ra.size(); ++i) {
        EXPECT_STREQ(ra[i]->name, rb[i]->name);
        EXPECT_EQ(ra[i]->u2, rb[i]->u2);
        EXPECT_EQ(ra[i]->index, rb[i]->index);
    }
    EXPECT_STREQ(b->pages->next->name, "page2.png");
    spAtlas_dispose(a);
    spAtlas_dispose(b);
}

TEST(SkeletonAtlas, MalformedLinesFailTheWholeAtlas) {
    const std::string header = "p.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
    const std::string region = "r\n rotate: false\n xy: 1, 2\n size: 3, 4\n orig: 3, 4\n offset: 0, 0\n index: 1\n";
    spAtlas* base = atlasFrom(header + region);
    ASSERT_NE(base, nullptr) << "the base case must read";
    spAtlas_dispose(base);
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = header + region;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string cases[] = {
        replace("xy: 1, 2", "xy: 1"),            // position with one value
        replace("size: 3, 4", "size: 3, 4, 5"),
        replace(" rotate: false", " rotate false"),
        replace("orig: 3, 4", "orig: 3"),         // short original size
        replace(" offset: 0, 0\n", ""),           // missing offset line (index is read as offset)
        replace(" offset: 0, 0", " offset: 0"),
        replace(" index: 1\n", ""),
        replace("format: RGBA8888", "format RGBA8888"),
        replace("filter: Linear,Linear", "filter Linear"),
        replace("repeat: none", "repeat none"),
        "p.png\n",                               // page header only
        header.substr(0, header.find("repeat")),
        header + "r\n rotate: false\n xy: 1, 2\n",
    };
    for (const std::string& text : cases) {
        spAtlas* atlas = atlasFrom(text);
        EXPECT_EQ(atlas, nullptr) << text;
        spAtlas_dispose(atlas);
    }
}

// Names are trimmed of ASCII white space only: UTF-8 bytes at either end stay.
TEST(SkeletonAtlas, Utf8NamesKeepTheirBytes) {
    const std::string name = "\xC2\xA0" "caf\xC3\xA9\xC2\xA0";
    spAtlas* atlas = atlasFrom("p.png\nformat: RGBA8888\nfilter: Linear\nrepeat: none\n \t" + name +
                               " \r\n rotate: false\n xy: 0, 0\n size: 1, 1\n orig: 1, 1\n offset: 0, 0\n index: 0\n");
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(std::string(atlas->regions->name), name);
    EXPECT_EQ(spAtlas_findRegion(atlas, name.c_str()), atlas->regions);
    spAtlas_dispose(atlas);
}

TEST(SkeletonAtlas, CreateFromFileUsesTheFilesFolder) {
    std::string dir = skeleton_test::makeAtlasFolder("atlas-file");
    std::string path = dir + "fixture.atlas";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(kAtlas, f);
    std::fclose(f);
    spAtlas* atlas = spAtlas_createFromFile(path.c_str(), nullptr);
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->pages->width, 64);   // found next to the atlas file
    spAtlas_dispose(atlas);
    EXPECT_EQ(spAtlas_createFromFile((dir + "missing.atlas").c_str(), nullptr), nullptr);
}

TEST(SkeletonAtlas, AttachmentLoaderPutsAttachmentsOnRegions) {
    std::string dir = skeleton_test::makeAtlasFolder("atlas-loader");
    spAtlas* atlas = atlasFrom(kAtlas, dir);
    ASSERT_NE(atlas, nullptr);
    spAtlasAttachmentLoader* loader = spAtlasAttachmentLoader_create(atlas);
    spAttachmentLoader* base = &loader->super;

    spAttachment* a = spAttachmentLoader_newAttachment(base, nullptr, SP_ATTACHMENT_REGION, "name", "arm");
    ASSERT_NE(a, nullptr);
    auto* region = reinterpret_cast<spRegionAttachment*>(a);
    EXPECT_STREQ(a->name, "name");
    EXPECT_EQ(region->rendererObject, spAtlas_findRegion(atlas, "arm"));
    const float rotatedUVs[8] = {0.5f, 0.25f, 0.25f, 0.25f, 0.25f, 0.f, 0.5f, 0.f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(region->uvs[i], rotatedUVs[i]) << i;
    EXPECT_EQ(region->regionWidth, 8);
    EXPECT_EQ(region->regionOriginalHeight, 16);
    spAttachment_dispose(a);

    a = spAttachmentLoader_newAttachment(base, nullptr, SP_ATTACHMENT_MESH, "m", "panel");
    ASSERT_NE(a, nullptr);
    auto* mesh = reinterpret_cast<spMeshAttachment*>(a);
    EXPECT_EQ(mesh->regionU, 0.25f);
    EXPECT_EQ(mesh->regionV2, 0.5f);
    EXPECT_EQ(mesh->regionOffsetX, 4);
    EXPECT_EQ(mesh->regionOriginalWidth, 40);
    spAttachment_dispose(a);

    a = spAttachmentLoader_newAttachment(base, nullptr, SP_ATTACHMENT_BOUNDING_BOX, "b", "no region needed");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->type, SP_ATTACHMENT_BOUNDING_BOX);
    spAttachment_dispose(a);

    EXPECT_EQ(spAttachmentLoader_newAttachment(base, nullptr, SP_ATTACHMENT_SKINNED_MESH, "s", "missing"), nullptr);
    EXPECT_STREQ(base->error1, "Region not found: ");
    EXPECT_STREQ(base->error2, "missing");
    EXPECT_EQ(spAttachmentLoader_newAttachment(base, nullptr, static_cast<spAttachmentType>(9), "x", "arm"), nullptr);
    EXPECT_STREQ(base->error1, "Unknown attachment type: ");
    EXPECT_STREQ(base->error2, "9");
    a = spAttachmentLoader_newAttachment(base, nullptr, SP_ATTACHMENT_BOUNDING_BOX, "b", "b");
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(base->error1, nullptr);   // a new request clears the last error
    spAttachment_dispose(a);
    spAttachmentLoader_dispose(base);
    spAtlas_dispose(atlas);
}

}  // namespace
