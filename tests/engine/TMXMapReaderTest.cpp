// Reading TMX maps: encodings of layer data, properties, tilesets, and the maps
// and layers made from them (both kinds).
#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Base64.h"
#include "engine/files/FileUtils.h"
#include "engine/tilemap/ExperimentalTMX.h"
#include "engine/tilemap/TMXInfo.h"
#include "engine/tilemap/TMXMapReader.h"
#include "support/TestSupport.h"

using namespace engine;

namespace {

// 3 x 2 ids: plain, every flip alone, all flips, and an empty tile.
const std::vector<uint32_t> kIds = {1, 0x80000002u, 0x40000003u, 0x20000004u, 0xE0000005u, 0};

std::string littleEndian(const std::vector<uint32_t>& ids) {
    std::string out;
    for (uint32_t id : ids)
        for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((id >> shift) & 0xff);
    return out;
}

// windowBits 15: zlib; 31: gzip.
std::string deflated(const std::string& bytes, int windowBits) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string csv(const std::vector<uint32_t>& ids) {
    std::string out = "\n";
    for (size_t i = 0; i < ids.size(); ++i) out += std::to_string(ids[i]) + (i + 1 < ids.size() ? "," : "\n");
    return out;
}

// A map of 3 x 2 tiles of 16 x 8 with two tilesets and one layer "ground"
// holding data (encoding and compression attributes as given).
std::string mapXml(const std::string& dataAttributes, const std::string& data, const std::string& extra = "",
                   const std::string& layerSize = "width=\"3\" height=\"2\"") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<map version=\"1.0\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"3\" height=\"2\""
           " tilewidth=\"16\" tileheight=\"8\">\n"
           " <properties><property name=\"title\" value=\"field\"/><property name=\"level\" type=\"int\""
           " value=\"3\"/></properties>\n"
           " <tileset firstgid=\"1\" name=\"terrain\" tilewidth=\"16\" tileheight=\"8\" spacing=\"1\" margin=\"2\">\n"
           "  <image source=\"terrain.png\" width=\"64\" height=\"32\"/>\n"
           "  <tile id=\"1\"><properties><property name=\"solid\" type=\"bool\" value=\"true\"/></properties></tile>\n"
           " </tileset>\n"
           " <tileset firstgid=\"9\" name=\"items\" tilewidth=\"16\" tileheight=\"8\">\n"
           "  <image source=\"items.png\" width=\"16\" height=\"8\"/>\n"
           "  <tile id=\"0\"><properties><property name=\"kind\" value=\"coin\"/></properties></tile>\n"
           " </tileset>\n"
           " <layer name=\"ground\" " + layerSize + " opacity=\"0.5\">\n"
           "  <properties><property name=\"depth\" type=\"float\" value=\"1.5\"/></properties>\n"
           "  <data" + dataAttributes + ">" + data + "</data>\n"
           " </layer>\n" + extra +
           "</map>\n";
}

struct TMXMapReaderTest : ::testing::Test {
    ~TMXMapReaderTest() override { AutoreleasePool::getInstance()->clear(); }
};

TEST_F(TMXMapReaderTest, EveryEncodingGivesTheSameIdsAndFlags) {
    const std::string raw = littleEndian(kIds);
    struct Case { const char* name; std::string attributes, data; };
    const Case cases[] = {
        {"csv", " encoding=\"csv\"", csv(kIds)},
        {"base64", " encoding=\"base64\"", "\n   " + base64Encode(raw) + "\n  "},
        {"zlib", " encoding=\"base64\" compression=\"zlib\"", base64Encode(deflated(raw, 15))},
        {"gzip", " encoding=\"base64\" compression=\"gzip\"", base64Encode(deflated(raw, 31))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMXMapData info;
        std::string error;
        ASSERT_TRUE(readTMXMap(mapXml(c.attributes, c.data).c_str(), mapXml(c.attributes, c.data).size(), &info,
                               &error))
            << error;
        ASSERT_EQ(info.layers.size(), 1u);
        EXPECT_EQ(info.layers[0].tiles, kIds);

        TMXTiledMap* map = TMXTiledMap::createWithXML(mapXml(c.attributes, c.data));
        ASSERT_NE(map, nullptr);
        TMXLayer* layer = map->getLayer("ground");
        ASSERT_NE(layer, nullptr);
        struct Tile { Vec2 at; uint32_t gid; uint32_t flags; };
        const Tile tiles[] = {{{0, 0}, 1, 0}, {{1, 0}, 2, kTMXTileHorizontalFlag}, {{2, 0}, 3, kTMXTileVerticalFlag},
                              {{0, 1}, 4, kTMXTileDiagonalFlag}, {{1, 1}, 5, kTMXFlipedAll}, {{2, 1}, 0, 0}};
        for (const Tile& t : tiles) {
            TMXTileFlags flags{};
            EXPECT_EQ(layer->getTileGIDAt(t.at, &flags), t.gid);
            EXPECT_EQ(static_cast<uint32_t>(flags), t.flags);
        }
    }
}

TEST_F(TMXMapReaderTest, MapTilesetAndLayerDetailsAndProperties) {
    const std::string xml = mapXml(" encoding=\"csv\"", csv(kIds),
                                   " <objectgroup name=\"spawns\"><object id=\"1\" x=\"0\" y=\"0\"/></objectgroup>\n"
                                   " <layer name=\"top\" width=\"2\" height=\"1\" visible=\"0\" offsetx=\"4\""
                                   " offsety=\"6\"><data encoding=\"csv\">9,10</data></layer>\n");
    TMXMapData info;
    ASSERT_TRUE(readTMXMap(xml.data(), xml.size(), &info));
    ASSERT_EQ(info.tilesets.size(), 2u);
    EXPECT_EQ(info.tilesets[0].name, "terrain");
    EXPECT_EQ(info.tilesets[0].spacing, 1);
    EXPECT_EQ(info.tilesets[0].margin, 2);
    EXPECT_EQ(info.tilesets[0].sourceImage, "terrain.png");
    EXPECT_EQ(info.tilesets[0].imageSize.width, 64.f);
    EXPECT_EQ(info.tilesets[1].firstGid, 9u);

    TMXTiledMap* map = TMXTiledMap::createWithXML(xml);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->getMapSize().width, 3.f);
    EXPECT_EQ(map->getTileSize().height, 8.f);
    EXPECT_EQ(map->getContentSize().width, 48.f);
    EXPECT_EQ(map->getProperty("title").asString(), "field");
    EXPECT_EQ(map->getProperty("level").asInt(), 3);
    // Tile properties by gid: the first tileset's id 1 is gid 2; the second's id 0 is gid 9.
    EXPECT_TRUE(map->getPropertiesForGID(2).asValueMap().at("solid").asBool());
    EXPECT_EQ(map->getPropertiesForGID(9).asValueMap().at("kind").asString(), "coin");
    EXPECT_TRUE(map->getPropertiesForGID(1).isNull());
    EXPECT_TRUE(map->getPropertiesForGID(-1).isNull());

    ASSERT_EQ(map->getChildrenCount(), 2u);
    TMXLayer* ground = map->getLayer("ground");
    TMXLayer* top = map->getLayer("top");
    ASSERT_NE(ground, nullptr);
    ASSERT_NE(top, nullptr);
    EXPECT_FLOAT_EQ(ground->getProperty("depth").asFloat(), 1.5f);
    EXPECT_EQ(ground->getOpacity(), 127);
    EXPECT_TRUE(ground->isVisible());
    EXPECT_FALSE(top->isVisible());
    EXPECT_EQ(top->getPosition().x, 4.f);
    EXPECT_EQ(top->getPosition().y, -6.f);
    EXPECT_EQ(top->getLayerSize().width, 2.f);
    EXPECT_EQ(top->getTiles(), (std::vector<uint32_t>{9, 10}));
    EXPECT_EQ(top->getMapTileSize().width, 16.f);
    EXPECT_EQ(map->getLayer("spawns"), nullptr);
}

TEST_F(TMXMapReaderTest, RefusesWhatItCannotRead) {
    const std::string raw = littleEndian(kIds);
    const std::string zlibShort = base64Encode(deflated(raw.substr(0, 20), 15));
    const std::string zlibLong = base64Encode(deflated(raw + "abcd", 15));
    struct Case { const char* name; std::string xml; const char* reason; };
    const std::string csvData = csv(kIds);
    const Case cases[] = {
        {"not XML", "<map", "not well-formed XML"},
        {"not a map", "<tileset/>", "no <map> element"},
        {"isometric", "<map orientation=\"isometric\" width=\"1\" height=\"1\" tilewidth=\"1\" tileheight=\"1\"/>",
         "orientation 'isometric' is not supported"},
        {"no tile size", "<map orientation=\"orthogonal\" width=\"1\" height=\"1\"/>", "the map has no size"},
        {"fewer CSV ids", mapXml(" encoding=\"csv\"", "1,2,3,4,5"), "fewer CSV ids"},
        {"more CSV ids", mapXml(" encoding=\"csv\"", "1,2,3,4,5,6,7"), "more CSV ids"},
        {"CSV word", mapXml(" encoding=\"csv\"", "1,2,x,4,5,6"), "not a number"},
        {"CSV id past 32 bits", mapXml(" encoding=\"csv\"", "1,2,4294967296,4,5,6"), "above 32 bits"},
        {"Base64 short", mapXml(" encoding=\"base64\"", base64Encode(raw.substr(0, 23))), "does not hold"},
        {"not Base64", mapXml(" encoding=\"base64\"", "AAAA!AAA"), "not Base64"},
        {"zlib short", mapXml(" encoding=\"base64\" compression=\"zlib\"", zlibShort), "does not inflate"},
        {"zlib long", mapXml(" encoding=\"base64\" compression=\"zlib\"", zlibLong), "does not inflate"},
        {"few bytes claiming a large layer",
         mapXml(" encoding=\"base64\" compression=\"zlib\"", zlibShort, "", "width=\"4096\" height=\"4096\""),
         "does not inflate"},
        {"zstd", mapXml(" encoding=\"base64\" compression=\"zstd\"", base64Encode(raw)), "'zstd' is not supported"},
        {"XML tiles", mapXml("", "<tile gid=\"1\"/>"), "encoding '' is not supported"},
        {"no layer size", mapXml(" encoding=\"csv\"", csvData, "", "width=\"3\""), "has no size"},
        {"huge layer", mapXml(" encoding=\"csv\"", csvData, "", "width=\"65536\" height=\"65536\""),
         "more tiles than"},
        {"too many objects",
         mapXml(" encoding=\"csv\"", csvData, " <objectgroup name=\"crowd\">" + [] {
             std::string objects;
             for (size_t i = 0; i <= kMaxTMXObjects; ++i) objects += "<object x=\"1\"/>";
             return objects;
         }() + "</objectgroup>\n"),
         "too many objects"},
        {"separate tileset",
         mapXml(" encoding=\"csv\"", csvData, " <tileset firstgid=\"20\" source=\"more.tsx\"/>\n"),
         "separate files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMXMapData info;
        std::string error;
        EXPECT_FALSE(readTMXMap(c.xml.data(), c.xml.size(), &info, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        testsupport::LogCapture log;
        EXPECT_EQ(TMXTiledMap::createWithXML(c.xml), nullptr);
        EXPECT_TRUE(log.contains("TMXTiledMap: cannot read '(text)'")) << log.text();
    }
}

// Maps come from files through the search paths; the experimental map makes
// layers of its own kind over the same model.
TEST_F(TMXMapReaderTest, MapsFromFilesInBothKinds) {
    testsupport::TempDir dir;
    dir.write("maps/field.tmx", mapXml(" encoding=\"csv\"", csv(kIds)));
    FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
    TMXTiledMap* plain = TMXTiledMap::create("maps/field.tmx");
    experimental::TMXTiledMap* experimentalMap = experimental::TMXTiledMap::create("maps/field.tmx");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(experimentalMap, nullptr);
    EXPECT_EQ(dynamic_cast<experimental::TMXLayer*>(plain->getLayer("ground")), nullptr);
    auto* layer = dynamic_cast<experimental::TMXLayer*>(experimentalMap->getLayer("ground"));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getTiles(), kIds);
    {
        testsupport::LogCapture log;
        EXPECT_EQ(TMXTiledMap::create("maps/missing.tmx"), nullptr);
        EXPECT_EQ(experimental::TMXTiledMap::create("maps/missing.tmx"), nullptr);
        EXPECT_TRUE(log.contains("TMXTiledMap: cannot find 'maps/missing.tmx'"));
    }
    FileUtils::destroyInstance();
}

// Object groups: their objects with y counted up from the map's bottom edge,
// kept by the map node and by the map description with its layers and tilesets.
TEST_F(TMXMapReaderTest, ObjectGroupsLayersAndTilesetsAsObjects) {
    const std::string groups =
        " <objectgroup name=\"spawns\" offsetx=\"3\" offsety=\"5\">\n"
        "  <properties><property name=\"team\" value=\"red\"/></properties>\n"
        "  <object id=\"7\" name=\"door\" type=\"exit\" x=\"4\" y=\"2\" width=\"6\" height=\"4\">\n"
        "   <properties><property name=\"locked\" type=\"bool\" value=\"true\"/></properties>\n"
        "  </object>\n"
        "  <object id=\"8\" name=\"spot\" x=\"1\" y=\"16\"/>\n"
        " </objectgroup>\n"
        " <objectgroup name=\"empty\"/>\n";
    const std::string xml = mapXml(" encoding=\"csv\"", csv(kIds), groups);
    TMXTiledMap* map = TMXTiledMap::createWithXML(xml);
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(map->getObjectGroups().size(), 2u);
    TMXObjectGroup* spawns = map->getObjectGroup("spawns");
    ASSERT_NE(spawns, nullptr);
    EXPECT_EQ(map->getObjectGroup("nope"), nullptr);
    EXPECT_EQ(spawns->getPositionOffset(), Vec2(3, 5));
    EXPECT_EQ(spawns->getProperty("team").asString(), "red");
    EXPECT_TRUE(spawns->getProperty("none").isNull());
    ASSERT_EQ(spawns->getObjects().size(), 2u);
    const ValueMap door = spawns->getObject("door");
    struct Field { const char* key; std::string value; };
    const Field fields[] = {{"name", "door"}, {"type", "exit"}, {"id", "7"}, {"x", "4"},
                            {"y", "10"}, {"width", "6"}, {"height", "4"}, {"locked", "true"}};
    for (const Field& f : fields) {
        ASSERT_TRUE(door.count(f.key)) << f.key;
        EXPECT_EQ(door.at(f.key).asString(), f.value) << f.key;
    }
    EXPECT_EQ(spawns->getObject("spot").at("y").asString(), "0");
    EXPECT_TRUE(spawns->getObject("nobody").empty());

    TMXMapInfo* info = TMXMapInfo::createWithXML(xml, "field.tmx");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getTMXFileName(), "field.tmx");
    ASSERT_EQ(info->getLayers().size(), 1u);
    EXPECT_EQ(info->getLayers().at(0)->getName(), "ground");
    ASSERT_EQ(info->getTilesets().size(), 2u);
    EXPECT_EQ(info->getObjectGroups().size(), 2u);
    // 16 x 8 tiles, spacing 1, margin 2, in a 64-pixel-wide image: three to a row.
    const TMXTilesetInfo* terrain = info->getTilesets().at(0);
    EXPECT_EQ(terrain->getRectForGID(1), Rect(2, 2, 16, 8));
    EXPECT_EQ(terrain->getRectForGID(0x80000002u), Rect(19, 2, 16, 8));
    EXPECT_EQ(terrain->getRectForGID(5), Rect(19, 11, 16, 8));
    EXPECT_EQ(info->getTilesets().at(1)->getRectForGID(3), Rect());
    testsupport::LogCapture log;
    EXPECT_EQ(TMXMapInfo::createWithXML("<map", "bad.tmx"), nullptr);
    EXPECT_TRUE(log.contains("TMXMapInfo: cannot read 'bad.tmx'"));
}

}  // namespace

