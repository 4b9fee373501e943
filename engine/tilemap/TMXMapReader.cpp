#include "engine/tilemap/TMXMapReader.h"

#include <tinyxml2.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "engine/base/Base64.h"
#include "engine/tilemap/TMXLayer.h"

namespace engine {

namespace {

using tinyxml2::XMLElement;

struct Failure {
    std::string reason;
};

float floatAttribute(const XMLElement* element, const char* name, float fallback = 0) {
    return element->FloatAttribute(name, fallback);
}

// A whole, positive count read from an attribute; 0 when absent or not one.
long countAttribute(const XMLElement* element, const char* name) {
    const char* text = element->Attribute(name);
    if (!text) return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && value > 0 && value <= (1L << 30) ? value : 0;
}

// <properties><property name= value= [type=]/>...</properties> under element.
ValueMap readProperties(const XMLElement* element) {
    ValueMap out;
    const XMLElement* properties = element->FirstChildElement("properties");
    if (!properties) return out;
    for (const XMLElement* property = properties->FirstChildElement("property"); property;
         property = property->NextSiblingElement("property")) {
        const char* name = property->Attribute("name");
        if (!name) continue;
        const char* value = property->Attribute("value");
        // A long text may stand in the element's body instead.
        if (!value) value = property->GetText();
        const char* type = property->Attribute("type");
        const std::string_view kind = type ? type : "string";
        if (kind == "int") {
            out[name] = Value(property->IntAttribute("value"));
        } else if (kind == "float") {
            out[name] = Value(property->FloatAttribute("value"));
        } else if (kind == "bool") {
            out[name] = Value(property->BoolAttribute("value"));
        } else {
            out[name] = Value(value ? value : "");
        }
    }
    return out;
}

// The ids of a layer from CSV text: exactly count unsigned numbers.
bool readCsv(const char* text, size_t count, std::vector<uint32_t>* tiles, std::string* reason) {
    const char* at = text;
    while (*at) {
        while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
        if (!*at) break;
        if (*at < '0' || *at > '9') {
            *reason = "a CSV id is not a number";
            return false;
        }
        uint64_t value = 0;
        while (*at >= '0' && *at <= '9') {
            value = value * 10 + static_cast<uint64_t>(*at - '0');
            if (value > 0xffffffffull) {
                *reason = "a CSV id is above 32 bits";
                return false;
            }
            ++at;
        }
        if (tiles->size() == count) {
            *reason = "more CSV ids than the layer holds";
            return false;
        }
        tiles->push_back(static_cast<uint32_t>(value));
        while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
        if (*at == ',') ++at;
        else if (*at) {
            *reason = "CSV ids are not separated by commas";
            return false;
        }
    }
    if (tiles->size() != count) {
        *reason = "fewer CSV ids than the layer holds";
        return false;
    }
    return true;
}

// Inflates zlib or gzip data into exactly size bytes (more or less fails).
bool inflateExactly(const std::string& packed, size_t size, std::string* out) {
    // Deflate packs at most about 1032 bytes into one: data claiming more is not
    // inflated at all.
    if (size / 1032 > packed.size() + 64) return false;
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) return false;   // 32: zlib or gzip header
    out->assign(size, '\0');
    unsigned char spare = 0;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out->data());
    stream.avail_out = static_cast<uInt>(size);
    int rc = inflate(&stream, Z_FINISH);
    // Filled up: one more byte must not come.
    if (rc != Z_STREAM_END && stream.avail_out == 0) {
        stream.next_out = &spare;
        stream.avail_out = 1;
        rc = inflate(&stream, Z_FINISH);
        if (stream.avail_out == 0) rc = Z_DATA_ERROR;
    }
    const bool ok = rc == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    return ok;
}

bool readBase64(const char* text, const char* compression, size_t count, std::vector<uint32_t>* tiles,
                std::string* reason) {
    std::string bytes;
    if (!base64Decode(text, bytes)) {
        *reason = "layer data is not Base64";
        return false;
    }
    const size_t size = count * 4;
    const std::string_view method = compression ? compression : "";
    if (method == "zlib" || method == "gzip") {
        std::string plain;
        if (!inflateExactly(bytes, size, &plain)) {
            *reason = "compressed layer data does not inflate to the layer's size";
            return false;
        }
        bytes.swap(plain);
    } else if (!method.empty()) {
        *reason = "layer data compression '" + std::string(method) + "' is not supported";
        return false;
    }
    if (bytes.size() != size) {
        *reason = "layer data does not hold the layer's size";
        return false;
    }
    tiles->resize(count);
    for (size_t i = 0; i < count; ++i) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.data()) + i * 4;
        (*tiles)[i] = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                      static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
    }
    return true;
}

bool readLayer(const XMLElement* element, TMXLayerData* layer, std::string* reason) {
    const char* name = element->Attribute("name");
    layer->name = name ? name : "";
    const long width = countAttribute(element, "width");
    const long height = countAttribute(element, "height");
    if (width == 0 || height == 0) {
        *reason = "layer '" + layer->name + "' has no size";
        return false;
    }
    if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > TMXLayer::kMaxTiles) {
        *reason = "layer '" + layer->name + "' has more tiles than a layer holds";
        return false;
    }
    layer->layerSize = Size(static_cast<float>(width), static_cast<float>(height));
    layer->visible = element->IntAttribute("visible", 1) != 0;
    const float opacity = element->FloatAttribute("opacity", 1.f);
    layer->opacity = static_cast<unsigned char>(opacity >= 1.f ? 255 : opacity > 0.f ? opacity * 255.f : 0);
    layer->offset = Vec2(floatAttribute(element, "offsetx"), floatAttribute(element, "offsety"));
    layer->properties = readProperties(element);
    const XMLElement* data = element->FirstChildElement("data");
    if (!data) {
        *reason = "layer '" + layer->name + "' has no data";
        return false;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    const char* encoding = data->Attribute("encoding");
    const char* text = data->GetText();
    if (!text) text = "";
    bool ok = false;
    if (encoding && std::strcmp(encoding, "csv") == 0) {
        ok = readCsv(text, count, &layer->tiles, reason);
    } else if (encoding && std::strcmp(encoding, "base64") == 0) {
        ok = readBase64(text, data->Attribute("compression"), count, &layer->tiles, reason);
    } else {
        *reason = "layer data encoding '" + std::string(encoding ? encoding : "") + "' is not supported";
    }
    if (!ok) *reason = "layer '" + layer->name + "': " + *reason;
    return ok;
}

bool readTileset(const XMLElement* element, TMXMapData* map, std::string* reason) {
    if (element->Attribute("source")) {
        *reason = "tilesets in separate files are not supported";
        return false;
    }
    TMXTilesetData tileset;
    const char* name = element->Attribute("name");
    tileset.name = name ? name : "";
    const long firstGid = countAttribute(element, "firstgid");
    tileset.firstGid = firstGid > 0 ? static_cast<uint32_t>(firstGid) : 1;
    tileset.tileSize = Size(floatAttribute(element, "tilewidth"), floatAttribute(element, "tileheight"));
    tileset.spacing = element->IntAttribute("spacing");
    tileset.margin = element->IntAttribute("margin");
    if (const XMLElement* image = element->FirstChildElement("image")) {
        const char* source = image->Attribute("source");
        tileset.sourceImage = source ? source : "";
        tileset.imageSize = Size(floatAttribute(image, "width"), floatAttribute(image, "height"));
    }
    for (const XMLElement* tile = element->FirstChildElement("tile"); tile; tile = tile->NextSiblingElement("tile")) {
        const long id = tile->Attribute("id") ? tile->IntAttribute("id", -1) : -1;
        if (id < 0 || id >= (1L << 29)) continue;
        ValueMap properties = readProperties(tile);
        if (properties.empty()) continue;
        const uint64_t gid = static_cast<uint64_t>(tileset.firstGid) + static_cast<uint64_t>(id);
        if (gid > static_cast<uint64_t>(kTMXFlippedMask) || gid > 0x7fffffffull) continue;
        map->tileProperties[static_cast<int>(gid)] = Value(std::move(properties));
    }
    map->tilesets.push_back(std::move(tileset));
    (void)reason;
    return true;
}

// An object group; false when the map would hold more than kMaxTMXObjects objects.
bool readObjectGroup(const XMLElement* element, const TMXMapData& map, size_t* objects, TMXObjectGroupData* group) {
    const char* name = element->Attribute("name");
    group->name = name ? name : "";
    group->positionOffset = Vec2(floatAttribute(element, "offsetx"), floatAttribute(element, "offsety"));
    group->properties = readProperties(element);
    const float mapHeight = map.mapSize.height * map.tileSize.height;
    for (const XMLElement* object = element->FirstChildElement("object"); object;
         object = object->NextSiblingElement("object")) {
        if (++*objects > kMaxTMXObjects) return false;
        ValueMap fields = readProperties(object);
        const char* objectName = object->Attribute("name");
        const char* type = object->Attribute("type");
        fields["name"] = Value(objectName ? objectName : "");
        fields["type"] = Value(type ? type : "");
        fields["id"] = Value(object->IntAttribute("id"));
        const float x = floatAttribute(object, "x"), y = floatAttribute(object, "y");
        const float width = floatAttribute(object, "width"), height = floatAttribute(object, "height");
        fields["x"] = Value(x);
        fields["y"] = Value(mapHeight - y - height);
        fields["width"] = Value(width);
        fields["height"] = Value(height);
        group->objects.push_back(Value(std::move(fields)));
    }
    return true;
}

}  // namespace

bool readTMXMap(const char* xml, size_t size, TMXMapData* out, std::string* error) {
    std::string reason;
    TMXMapData map;
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    tinyxml2::XMLDocument document;
    if (!xml || document.Parse(xml, size) != tinyxml2::XML_SUCCESS) return fail("not well-formed XML");
    const XMLElement* root = document.RootElement();
    if (!root || std::strcmp(root->Name(), "map") != 0) return fail("no <map> element");
    const char* orientation = root->Attribute("orientation");
    if (!orientation || std::strcmp(orientation, "orthogonal") != 0)
        return fail("orientation '" + std::string(orientation ? orientation : "") + "' is not supported");
    const long width = countAttribute(root, "width"), height = countAttribute(root, "height");
    const long tileWidth = countAttribute(root, "tilewidth"), tileHeight = countAttribute(root, "tileheight");
    if (!width || !height || !tileWidth || !tileHeight) return fail("the map has no size or tile size");
    map.mapSize = Size(static_cast<float>(width), static_cast<float>(height));
    map.tileSize = Size(static_cast<float>(tileWidth), static_cast<float>(tileHeight));
    map.properties = readProperties(root);
    size_t tiles = 0;     // in every layer so far
    size_t objects = 0;   // in every object group so far
    for (const XMLElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string_view name = child->Name();
        if (name == "layer" && tiles + static_cast<size_t>(countAttribute(child, "width")) *
                                           static_cast<size_t>(countAttribute(child, "height")) > TMXLayer::kMaxTiles)
            return fail("the layers hold more tiles than a map holds");
        if (name == "tileset") {
            if (!readTileset(child, &map, &reason)) return fail(reason);
        } else if (name == "layer") {
            TMXLayerData layer;
            if (!readLayer(child, &layer, &reason)) return fail(reason);
            tiles += layer.tiles.size();
            map.layers.push_back(std::move(layer));
        } else if (name == "objectgroup") {
            TMXObjectGroupData group;
            if (!readObjectGroup(child, map, &objects, &group)) return fail("the map holds too many objects");
            map.objectGroups.push_back(std::move(group));
        }
    }
    *out = std::move(map);
    return true;
}

}  // namespace engine
