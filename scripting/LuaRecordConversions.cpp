#include "scripting/LuaRecordConversions.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <type_traits>
#include <unordered_set>

#include "scripting/LuaConvSupport.h"
#include "scripting/LuaValueConversions.h"

using namespace luaconv;

namespace {

// Common entry of every reader: a state, an output and a table at index.
bool canRead(lua_State* L, const void* out, int& index) {
    if (!L || !out) return false;
    index = absIndex(L, index);
    return isTable(L, index);
}

// Pushes key, then the nested table that `push` leaves, into the table on top.
template <class Push>
void setTable(lua_State* L, const char* key, Push push) {
    lua_pushstring(L, key);
    push();
    lua_rawset(L, -3);
}

// The text of t[key] when it is a string or a number, else `absent`.
std::string textField(lua_State* L, int index, const char* key, const char* absent) {
    std::string text = absent;
    pushField(L, index, key);
    if (lua_isstring(L, -1)) {
        size_t len = 0;
        const char* s = lua_tolstring(L, -1, &len);   // converts the stack copy only
        text.assign(s, len);
    }
    lua_pop(L, 1);
    return text;
}

// Stores t[key] in *value when lua_isnumber passes it; answers whether it did.
bool numberIfNumeric(lua_State* L, int index, const char* key, double* value) {
    pushField(L, index, key);
    bool numeric = lua_isnumber(L, -1) != 0;
    if (numeric) *value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return numeric;
}

// One number key of a record: its Lua name, the field and the value an absent key gives.
template <class R, class T>
struct Key {
    const char* name;
    T R::*field;
    double absent = 0;
};

// A Lua number as a field: floats narrowed, bytes the low 8 bits of the truncated
// number, GL enums its low 32 bits.
template <class T>
T fieldFromNumber(double v) {
    if constexpr (std::is_same_v<T, uint8_t>) {
        return static_cast<uint8_t>(wrapToInt32(v));
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return wrapToUInt32(v);
    } else {
        return static_cast<T>(v);
    }
}

template <class R, class T, size_t N>
bool readKeys(lua_State* L, int index, R* out, const Key<R, T> (&keys)[N]) {
    if (!canRead(L, out, index)) return false;
    for (const auto& key : keys) out->*key.field = fieldFromNumber<T>(numberField(L, index, key.name, key.absent));
    return true;
}

template <class R, class T, size_t N>
void pushKeys(lua_State* L, const R& value, const Key<R, T> (&keys)[N]) {
    if (!L) return;
    lua_createtable(L, 0, static_cast<int>(N));
    for (const auto& key : keys) setNumber(L, key.name, value.*key.field);
}

using engine::AffineTransform;
using engine::BlendFunc;
using engine::Color3B;
using engine::Color4B;
using engine::Color4F;
using engine::PhysicsMaterial;
using engine::Quaternion;
using engine::Size;
using engine::Vec2;
using engine::Vec3;
using engine::Vec4;
using TexParams = engine::Texture2D::_TexParams;

const Key<AffineTransform, float> kAffineKeys[] = {
    {"a", &AffineTransform::a}, {"b", &AffineTransform::b},   {"c", &AffineTransform::c},
    {"d", &AffineTransform::d}, {"tx", &AffineTransform::tx}, {"ty", &AffineTransform::ty}};
const Key<BlendFunc, uint32_t> kBlendKeys[] = {{"src", &BlendFunc::src}, {"dst", &BlendFunc::dst}};
const Key<Color3B, uint8_t> kColor3BKeys[] = {{"r", &Color3B::r}, {"g", &Color3B::g}, {"b", &Color3B::b}};
const Key<Color4B, uint8_t> kColor4BKeys[] = {
    {"r", &Color4B::r}, {"g", &Color4B::g}, {"b", &Color4B::b}, {"a", &Color4B::a, 255}};
const Key<Color4F, float> kColor4FKeys[] = {{"r", &Color4F::r}, {"g", &Color4F::g}, {"b", &Color4F::b}, {"a", &Color4F::a}};
const Key<Vec2, float> kVec2Keys[] = {{"x", &Vec2::x}, {"y", &Vec2::y}};
const Key<Vec3, float> kVec3Keys[] = {{"x", &Vec3::x}, {"y", &Vec3::y}, {"z", &Vec3::z}};
const Key<Vec4, float> kVec4Keys[] = {{"x", &Vec4::x}, {"y", &Vec4::y}, {"z", &Vec4::z}, {"w", &Vec4::w}};
const Key<Quaternion, float> kQuaternionKeys[] = {
    {"x", &Quaternion::x}, {"y", &Quaternion::y}, {"z", &Quaternion::z}, {"w", &Quaternion::w}};
const Key<Size, float> kSizeKeys[] = {{"width", &Size::width}, {"height", &Size::height}};
const Key<TexParams, uint32_t> kTexParamsKeys[] = {{"minFilter", &TexParams::minFilter},
                                                   {"magFilter", &TexParams::magFilter},
                                                   {"wrapS", &TexParams::wrapS},
                                                   {"wrapT", &TexParams::wrapT}};
const Key<PhysicsMaterial, float> kMaterialKeys[] = {{"density", &PhysicsMaterial::density},
                                                     {"restitution", &PhysicsMaterial::restitution},
                                                     {"friction", &PhysicsMaterial::friction}};

// Texts of numbers given as custom glyphs: they must outlive the read, so they are
// kept for the life of the process (one copy per distinct text).
const char* keepGlyphText(const char* text) {
    static std::mutex mutex;
    static std::unordered_set<std::string> texts;
    std::lock_guard<std::mutex> lock(mutex);
    return texts.emplace(text).first->c_str();
}

}  // namespace

// ---- AffineTransform

bool luaconv_read_affine_transform(lua_State* L, int index, engine::AffineTransform* out,
                                   const char*) {
    if (!canRead(L, out, index)) return false;
    // Stops at the first absent key, the fields before it already stored.
    for (const auto& key : kAffineKeys) {
        bool present = pushField(L, index, key.name);
        if (present) out->*key.field = static_cast<float>(lua_tonumber(L, -1));
        lua_pop(L, 1);
        if (!present) return false;
    }
    return true;
}

void luaconv_push_affine_transform(lua_State* L, const engine::AffineTransform& value) {
    pushKeys(L, value, kAffineKeys);
}

// ---- BlendFunc

bool luaconv_read_blend_func(lua_State* L, int index, engine::BlendFunc* out, const char*) {
    return readKeys(L, index, out, kBlendKeys);
}

void luaconv_push_blend_func(lua_State* L, const engine::BlendFunc& value) {
    pushKeys(L, value, kBlendKeys);
}

// ---- Colours

bool luaconv_read_color3b(lua_State* L, int index, engine::Color3B* out, const char*) {
    return readKeys(L, index, out, kColor3BKeys);
}

bool luaconv_read_color4b(lua_State* L, int index, engine::Color4B* out, const char*) {
    return readKeys(L, index, out, kColor4BKeys);
}

bool luaconv_read_color4f(lua_State* L, int index, engine::Color4F* out, const char*) {
    return readKeys(L, index, out, kColor4FKeys);
}

void luaconv_push_color3b(lua_State* L, const engine::Color3B& value) {
    pushKeys(L, value, kColor3BKeys);
}

void luaconv_push_color4b(lua_State* L, const engine::Color4B& value) {
    pushKeys(L, value, kColor4BKeys);
}

void luaconv_push_color4f(lua_State* L, const engine::Color4F& value) {
    pushKeys(L, value, kColor4FKeys);
}

// ---- Vectors and quaternion

bool luaconv_read_vec2(lua_State* L, int index, engine::Vec2* out, const char*) {
    return readKeys(L, index, out, kVec2Keys);
}

bool luaconv_read_vec3(lua_State* L, int index, engine::Vec3* out, const char*) {
    return readKeys(L, index, out, kVec3Keys);
}

bool luaconv_read_vec4(lua_State* L, int index, engine::Vec4* out, const char*) {
    return readKeys(L, index, out, kVec4Keys);
}

bool luaconv_read_quaternion(lua_State* L, int index, engine::Quaternion* out, const char*) {
    return readKeys(L, index, out, kQuaternionKeys);
}

void luaconv_push_vec2(lua_State* L, const engine::Vec2& value) {
    pushKeys(L, value, kVec2Keys);
}

void luaconv_push_vec3(lua_State* L, const engine::Vec3& value) {
    pushKeys(L, value, kVec3Keys);
}

void luaconv_push_vec4(lua_State* L, const engine::Vec4& value) {
    pushKeys(L, value, kVec4Keys);
}

void luaconv_push_quaternion(lua_State* L, const engine::Quaternion& value) {
    pushKeys(L, value, kQuaternionKeys);
}

// ---- Size and Rect

bool luaconv_read_size(lua_State* L, int index, engine::Size* out, const char*) {
    return readKeys(L, index, out, kSizeKeys);
}

bool luaconv_read_rect(lua_State* L, int index, engine::Rect* out, const char*) {
    if (!canRead(L, out, index)) return false;
    out->origin.x = floatField(L, index, "x");
    out->origin.y = floatField(L, index, "y");
    out->size.width = floatField(L, index, "width");
    out->size.height = floatField(L, index, "height");
    return true;
}

void luaconv_push_size(lua_State* L, const engine::Size& value) {
    pushKeys(L, value, kSizeKeys);
}

void luaconv_push_rect(lua_State* L, const engine::Rect& value) {
    if (!L) return;
    lua_createtable(L, 0, 4);
    setNumber(L, "x", value.origin.x);
    setNumber(L, "y", value.origin.y);
    setNumber(L, "width", value.size.width);
    setNumber(L, "height", value.size.height);
}

// ---- Mat4

bool luaconv_read_mat4(lua_State* L, int index, engine::Mat4* out, const char*) {
    if (!canRead(L, out, index)) return false;
    if (lua_objlen(L, index) != 16) return false;
    tolua_Error err;
    for (int i = 0; i < 16; ++i) {
        lua_rawgeti(L, index, i + 1);
        out->m[i] = tolua_isnumber(L, -1, 0, &err) ? static_cast<float>(lua_tonumber(L, -1)) : 0.f;
        lua_pop(L, 1);
    }
    return true;
}

void luaconv_push_mat4(lua_State* L, const engine::Mat4& value) {
    if (!L) return;
    lua_createtable(L, 16, 0);
    for (int i = 0; i < 16; ++i) {
        lua_pushnumber(L, value.m[i]);
        lua_rawseti(L, -2, i + 1);
    }
}

// ---- Texture parameters

bool luaconv_read_tex_params(lua_State* L, int index, engine::Texture2D::_TexParams* out,
                             const char*) {
    return readKeys(L, index, out, kTexParamsKeys);
}

// ---- FontDefinition

bool luaconv_read_font_definition(lua_State* L, int index, engine::FontDefinition* out,
                                  const char*) {
    if (!canRead(L, out, index)) return false;
    out->shadow.shadowEnabled = false;
    out->stroke.strokeEnabled = false;
    out->fontFillColor = engine::Color3B::WHITE;

    out->fontName = textField(L, index, "fontName", "Arial");
    out->fontSize = clampToInt32(numberField(L, index, "fontSize", 32));
    out->alignment = static_cast<engine::TextHAlignment>(clampToInt32(numberField(L, index, "fontAlignmentH")));
    out->vertAlignment = static_cast<engine::TextVAlignment>(clampToInt32(numberField(L, index, "fontAlignmentV")));

    if (pushField(L, index, "fontFillColor")) luaconv_read_color3b(L, lua_gettop(L), &out->fontFillColor);
    lua_pop(L, 1);
    if (pushField(L, index, "fontDimensions")) luaconv_read_size(L, lua_gettop(L), &out->dimensions);
    lua_pop(L, 1);

    bool shadowGiven = pushField(L, index, "shadowEnabled");
    if (shadowGiven) {
        // A value that is not a boolean leaves the flag false.
        luaconv_read_bool(L, lua_gettop(L), &out->shadow.shadowEnabled);
    }
    lua_pop(L, 1);
    if (shadowGiven) {
        if (out->shadow.shadowEnabled) {
            out->shadow.shadowOffset = engine::Size(5, 5);
            out->shadow.shadowBlur = 1.f;
            out->shadow.shadowOpacity = 1.f;
        }
        if (pushField(L, index, "shadowOffset")) luaconv_read_size(L, lua_gettop(L), &out->shadow.shadowOffset);
        lua_pop(L, 1);
        out->shadow.shadowBlur = floatField(L, index, "shadowBlur", out->shadow.shadowBlur);
        out->shadow.shadowOpacity = floatField(L, index, "shadowOpacity", out->shadow.shadowOpacity);
    }

    if (pushField(L, index, "strokeEnabled")) luaconv_read_bool(L, lua_gettop(L), &out->stroke.strokeEnabled);
    lua_pop(L, 1);
    if (out->stroke.strokeEnabled) {
        out->stroke.strokeSize = 1.f;
        out->stroke.strokeColor = engine::Color3B::BLUE;
        if (pushField(L, index, "strokeColor")) luaconv_read_color3b(L, lua_gettop(L), &out->stroke.strokeColor);
        lua_pop(L, 1);
        out->stroke.strokeSize = floatField(L, index, "strokeSize", out->stroke.strokeSize);
    }
    return true;
}

void luaconv_push_font_definition(lua_State* L, const engine::FontDefinition& value) {
    if (!L) return;
    lua_createtable(L, 0, 13);
    setString(L, "fontName", value.fontName.c_str());
    setNumber(L, "fontSize", value.fontSize);
    setNumber(L, "fontAlignmentH", static_cast<int32_t>(value.alignment));
    setNumber(L, "fontAlignmentV", static_cast<int32_t>(value.vertAlignment));
    setTable(L, "fontFillColor", [&] { luaconv_push_color3b(L, value.fontFillColor); });
    setTable(L, "fontDimensions", [&] { luaconv_push_size(L, value.dimensions); });
    setBoolean(L, "shadowEnabled", value.shadow.shadowEnabled);
    setTable(L, "shadowOffset", [&] { luaconv_push_size(L, value.shadow.shadowOffset); });
    setNumber(L, "shadowBlur", value.shadow.shadowBlur);
    setNumber(L, "shadowOpacity", value.shadow.shadowOpacity);
    setBoolean(L, "strokeEnabled", value.stroke.strokeEnabled);
    setTable(L, "strokeColor", [&] { luaconv_push_color3b(L, value.stroke.strokeColor); });
    setNumber(L, "strokeSize", value.stroke.strokeSize);
}

// ---- TTFConfig

bool luaconv_read_ttf_config(lua_State* L, int index, engine::TTFConfig* out, const char*) {
    if (!canRead(L, out, index)) return false;
    double number = 0;
    out->fontFilePath = textField(L, index, "fontFilePath", "");
    out->fontSize = numberIfNumeric(L, index, "fontSize", &number) ? clampToInt32(number) : 0;
    out->glyphs = static_cast<engine::GlyphCollection>(
        numberIfNumeric(L, index, "glyphs", &number) ? clampToInt32(number) : 1);

    pushField(L, index, "customGlyphs");
    if (lua_type(L, -1) == LUA_TSTRING) {
        out->customGlyphs = lua_tostring(L, -1);   // the table keeps the string alive
    } else if (lua_isstring(L, -1)) {
        out->customGlyphs = keepGlyphText(lua_tostring(L, -1));
    } else {
        out->customGlyphs = "";
    }
    lua_pop(L, 1);

    pushField(L, index, "distanceFieldEnabled");
    out->distanceFieldEnabled = lua_isboolean(L, -1) && lua_toboolean(L, -1);
    lua_pop(L, 1);
    out->outlineSize = numberIfNumeric(L, index, "outlineSize", &number) ? clampToInt32(number) : 0;
    return true;
}

void luaconv_push_ttf_config(lua_State* L, const engine::TTFConfig& value) {
    if (!L) return;
    lua_createtable(L, 0, 6);
    setString(L, "fontFilePath", value.fontFilePath.c_str());
    setNumber(L, "fontSize", value.fontSize);
    setNumber(L, "glyphs", static_cast<int32_t>(value.glyphs));
    setString(L, "customGlyphs", value.customGlyphs ? value.customGlyphs : "");
    setBoolean(L, "distanceFieldEnabled", value.distanceFieldEnabled);
    setNumber(L, "outlineSize", value.outlineSize);
}

// ---- Shader and mesh descriptions

void luaconv_push_uniform(lua_State* L, const engine::Uniform& value) {
    if (!L) return;
    lua_createtable(L, 0, 4);
    setNumber(L, "location", value.location);
    setNumber(L, "size", value.size);
    setNumber(L, "type", value.type);
    setString(L, "name", value.name.c_str());
}

void luaconv_push_vertex_attrib(lua_State* L, const engine::VertexAttrib& value) {
    if (!L) return;
    lua_createtable(L, 0, 4);
    setNumber(L, "index", value.index);
    setNumber(L, "size", value.size);
    setNumber(L, "type", value.type);
    setString(L, "name", value.name.c_str());
}

void luaconv_push_mesh_vertex_attrib(lua_State* L, const engine::MeshVertexAttrib& value) {
    if (!L) return;
    lua_createtable(L, 0, 4);
    setNumber(L, "size", value.size);
    setNumber(L, "type", value.type);
    setNumber(L, "vertexAttrib", value.vertexAttrib);
    setNumber(L, "attribSizeBytes", value.attribSizeBytes);
}

// ---- Physics

bool luaconv_read_physics_material(lua_State* L, int index, engine::PhysicsMaterial* out,
                                   const char*) {
    return readKeys(L, index, out, kMaterialKeys);
}

void luaconv_push_physics_material(lua_State* L, const engine::PhysicsMaterial& value) {
    pushKeys(L, value, kMaterialKeys);
}

void luaconv_push_physics_contact_points(lua_State* L, const engine::PhysicsContactData* data) {
    if (!L || !data) return;
    // A count beyond the record's points would read past them.
    int count = data->count < engine::PhysicsContactData::POINT_MAX ? data->count
                                                                    : engine::PhysicsContactData::POINT_MAX;
    lua_createtable(L, 0, 3);
    setTable(L, "points", [&] { luaconv_push_vec2_array(L, data->points, count); });
    setTable(L, "normal", [&] { luaconv_push_vec2(L, data->normal); });
    setNumber(L, "POINT_MAX", engine::PhysicsContactData::POINT_MAX);
}

// ---- AnimationInfo

bool luaconv_read_animation_info(lua_State* L, int index, studio::timeline::AnimationInfo* out,
                                 const char*) {
    if (!canRead(L, out, index)) return false;
    double number = 0;
    out->name = textField(L, index, "name", "");
    out->startIndex = numberIfNumeric(L, index, "startIndex", &number) ? clampToInt32(number) : 0;
    out->endIndex = numberIfNumeric(L, index, "endIndex", &number) ? clampToInt32(number) : 0;
    return true;
}

void luaconv_push_animation_info(lua_State* L, const studio::timeline::AnimationInfo& value) {
    if (!L) return;
    lua_createtable(L, 0, 3);
    setString(L, "name", value.name.c_str());
    setNumber(L, "startIndex", value.startIndex);
    setNumber(L, "endIndex", value.endIndex);
}

// ---- Navigation mesh

bool luaconv_read_navmesh_agent_param(lua_State* L, int index, engine::NavMeshAgentParam* out,
                                      const char*) {
    if (!canRead(L, out, index)) return false;
    auto number = [&](const char* key, double absent) {
        double v = 0;
        return numberIfNumeric(L, index, key, &v) ? v : absent;
    };
    auto byte = [&](const char* key, uint8_t absent) {
        double v = 0;
        return numberIfNumeric(L, index, key, &v) ? static_cast<uint8_t>(wrapToInt32(v)) : absent;
    };
    out->radius = static_cast<float>(number("radius", 0.6));
    out->height = static_cast<float>(number("height", 2.0));
    out->maxAcceleration = static_cast<float>(number("maxAcceleration", 8.0));
    out->maxSpeed = static_cast<float>(number("maxSpeed", 3.5));
    out->collisionQueryRange = static_cast<float>(number("collisionQueryRange", double(out->radius) * 12.0));
    out->pathOptimizationRange = static_cast<float>(number("pathOptimizationRange", double(out->radius) * 30.0));
    out->separationWeight = static_cast<float>(number("separationWeight", 2.0));
    out->updateFlags = byte("updateFlags", 27);
    out->obstacleAvoidanceType = byte("obstacleAvoidanceType", 3);
    out->queryFilterType = byte("queryFilterType", 0);
    return true;
}

void luaconv_push_offmesh_link_data(lua_State* L, const engine::OffMeshLinkData& value) {
    if (!L) return;
    lua_createtable(L, 0, 2);
    setTable(L, "startPosition", [&] { luaconv_push_vec3(L, value.startPosition); });
    setTable(L, "endPosition", [&] { luaconv_push_vec3(L, value.endPosition); });
}
