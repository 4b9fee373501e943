// Engine records between Lua tables and C++: keys, defaults, failures and round trips.
#include <gtest/gtest.h>

#include <functional>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "LuaTestState.h"
#include "scripting/LuaRecordConversions.h"

namespace {

constexpr const char* kAbsent = "<absent>";

// Whole numbers in full, others at float precision.
std::string join(std::initializer_list<double> values) {
    std::string out;
    char text[32];
    for (double v : values) {
        if (!out.empty()) out += ",";
        std::snprintf(text, sizeof text, v == std::floor(v) ? "%.0f" : "%.7g", v);
        out += text;
    }
    return out;
}

// Each reader starts from a record filled with 9s (or its natural sentinel) so that an
// untouched field shows; the text is "false" or the fields read.
using RecordReader = std::function<std::string(lua_State*, int)>;

template <class T, bool (*Read)(lua_State*, int, T*, const char*), class Describe>
RecordReader reader(T sentinel, Describe describe) {
    return [sentinel, describe](lua_State* L, int index) {
        T out = sentinel;
        bool ok = Read(L, index, &out, "test");
        return (ok ? "" : "false:") + describe(out);
    };
}

const std::map<std::string, RecordReader>& readers() {
    static const std::map<std::string, RecordReader> table = {
        {"affine", reader<engine::AffineTransform, luaconv_read_affine_transform>(
                       engine::AffineTransform{9, 9, 9, 9, 9, 9},
                       [](auto& t) { return join({t.a, t.b, t.c, t.d, t.tx, t.ty}); })},
        {"blend", reader<engine::BlendFunc, luaconv_read_blend_func>(
                      engine::BlendFunc{9, 9}, [](auto& b) { return join({double(b.src), double(b.dst)}); })},
        {"color3b", reader<engine::Color3B, luaconv_read_color3b>(
                        engine::Color3B{9, 9, 9}, [](auto& c) { return join({double(c.r), double(c.g), double(c.b)}); })},
        {"color4b", reader<engine::Color4B, luaconv_read_color4b>(engine::Color4B{9, 9, 9, 9}, [](auto& c) {
             return join({double(c.r), double(c.g), double(c.b), double(c.a)});
         })},
        {"color4f", reader<engine::Color4F, luaconv_read_color4f>(
                        engine::Color4F{9, 9, 9, 9}, [](auto& c) { return join({c.r, c.g, c.b, c.a}); })},
        {"vec2", reader<engine::Vec2, luaconv_read_vec2>(engine::Vec2{9, 9}, [](auto& v) { return join({v.x, v.y}); })},
        {"vec3", reader<engine::Vec3, luaconv_read_vec3>(engine::Vec3{9, 9, 9},
                                                         [](auto& v) { return join({v.x, v.y, v.z}); })},
        {"vec4", reader<engine::Vec4, luaconv_read_vec4>(engine::Vec4{9, 9, 9, 9},
                                                         [](auto& v) { return join({v.x, v.y, v.z, v.w}); })},
        {"quaternion", reader<engine::Quaternion, luaconv_read_quaternion>(
                           engine::Quaternion{9, 9, 9, 9}, [](auto& q) { return join({q.x, q.y, q.z, q.w}); })},
        {"size", reader<engine::Size, luaconv_read_size>(engine::Size{9, 9},
                                                         [](auto& s) { return join({s.width, s.height}); })},
        {"rect", reader<engine::Rect, luaconv_read_rect>(engine::Rect{9, 9, 9, 9}, [](auto& r) {
             return join({r.origin.x, r.origin.y, r.size.width, r.size.height});
         })},
        {"mat4", reader<engine::Mat4, luaconv_read_mat4>(engine::Mat4{}, [](auto& m) {
             std::ostringstream out;
             for (int i = 0; i < 16; ++i) out << (i ? "," : "") << m.m[i];
             return out.str();
         })},
        {"tex params", reader<engine::Texture2D::_TexParams, luaconv_read_tex_params>(
                           engine::Texture2D::_TexParams{9, 9, 9, 9}, [](auto& p) {
                               return join({double(p.minFilter), double(p.magFilter), double(p.wrapS), double(p.wrapT)});
                           })},
        {"material", reader<engine::PhysicsMaterial, luaconv_read_physics_material>(
                         engine::PhysicsMaterial{9, 9, 9},
                         [](auto& m) { return join({m.density, m.restitution, m.friction}); })},
        {"animation", reader<studio::timeline::AnimationInfo, luaconv_read_animation_info>(
                          studio::timeline::AnimationInfo{"keep", 9, 9, nullptr}, [](auto& a) {
                              return a.name + ":" + join({double(a.startIndex), double(a.endIndex)});
                          })},
        {"navmesh", reader<engine::NavMeshAgentParam, luaconv_read_navmesh_agent_param>(
                        engine::NavMeshAgentParam{9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, [](auto& p) {
                            return join({p.radius, p.height, p.maxAcceleration, p.maxSpeed, p.collisionQueryRange,
                                         p.pathOptimizationRange, p.separationWeight, double(p.updateFlags),
                                         double(p.obstacleAvoidanceType), double(p.queryFilterType)});
                        })},
    };
    return table;
}

struct ReadCase {
    const char* record;
    const char* expression;
    const char* expected;
};

TEST(RecordConversionsTest, ReadersTakeKeysAndDefaults) {
#define IDENTITY "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1"
    const ReadCase cases[] = {
        {"color4b", "{r = 1}", "1,0,0,255"},
        {"color4f", "{r = 1}", "1,0,0,0"},
        {"color3b", "{r = 256, g = -1, b = 255.9}", "0,255,255"},
        {"color3b", "{r = '7', g = 'x', b = {}}", "7,0,0"},
        {"affine", "{a = 1, b = 2, d = 4}", "false:1,2,9,9,9,9"},
        {"affine", "{a = 1, b = 2, c = 3, d = 4, tx = 5, ty = 6}", "1,2,3,4,5,6"},
        {"blend", "{src = 1, dst = -1}", "1,4294967295"},
        {"blend", "{}", "0,0"},
        {"vec2", "{x = 1.5}", "1.5,0"},
        {"vec2", "setmetatable({}, {__index = {x = 3, y = 4}})", "3,4"},
        {"vec3", "{x = 1, y = 2, z = 3}", "1,2,3"},
        {"vec4", "{w = 4}", "0,0,0,4"},
        {"quaternion", "{}", "0,0,0,0"},
        {"size", "{width = 10, height = '20'}", "10,20"},
        {"rect", "{x = 1, y = 2, width = 3, height = 4}", "1,2,3,4"},
        {"mat4", "{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15}", "false:" IDENTITY},
        {"mat4", "{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17}", "false:" IDENTITY},
        {"mat4", "{1,2,3,4,5,6,7,'x',9,10,11,12,13,14,15,'16'}", "1,2,3,4,5,6,7,0,9,10,11,12,13,14,15,16"},
        {"tex params", "{minFilter = 9728, wrapT = 10497}", "9728,0,0,10497"},
        {"material", "{density = 1, friction = 0.5}", "1,0,0.5"},
        {"animation", "{name = 5, startIndex = '3', endIndex = true}", "5:3,0"},
        {"animation", "{name = {}, startIndex = -2.7}", ":-2,0"},
        {"navmesh", "{radius = 1}", "1,2,8,3.5,12,30,2,27,3,0"},
        {"navmesh", "{height = 'x', updateFlags = 300, queryFilterType = '2'}", "0.6,2,8,3.5,7.2,18,2,44,3,2"},
    };
#undef IDENTITY
    for (const ReadCase& c : cases) {
        LuaTestState lua;
        int index = lua.push(c.expression);
        EXPECT_EQ(readers().at(c.record)(lua.L, index), c.expected) << c.record << " of " << c.expression;
        EXPECT_EQ(lua.top(), index) << c.record << " of " << c.expression;
    }
}

TEST(RecordConversionsTest, ReadersRefuseNonTablesAndLeaveTheStack) {
    std::vector<std::pair<std::string, RecordReader>> all(readers().begin(), readers().end());
    all.emplace_back("font", [](lua_State* L, int i) {
        engine::FontDefinition f;
        f.fontName = "keep";
        return std::string(luaconv_read_font_definition(L, i, &f) ? "true:" : "false:") + f.fontName;
    });
    all.emplace_back("ttf", [](lua_State* L, int i) {
        engine::TTFConfig t;
        t.fontFilePath = "keep";
        return std::string(luaconv_read_ttf_config(L, i, &t) ? "true:" : "false:") + t.fontFilePath;
    });
    for (const auto& [name, read] : all) {
        for (const char* expression : {"5", "'{}'", "nil", "false", kAbsent}) {
            LuaTestState lua;
            int index = expression == kAbsent ? lua.top() + 1 : lua.push(expression);
            int height = lua.top();
            // A null state fails before reading anything: what an untouched output shows.
            EXPECT_EQ(read(lua.L, index), read(nullptr, 0)) << name << " of " << expression;
            EXPECT_EQ(lua.top(), height) << name << " of " << expression;
        }
    }
}

TEST(RecordConversionsTest, NullStateOrOutputAnswersFalse) {
    LuaTestState lua;
    int index = lua.push("{x = 1}");
    engine::Vec2 v;
    EXPECT_FALSE(luaconv_read_vec2(nullptr, index, &v));
    EXPECT_FALSE(luaconv_read_vec2(lua.L, index, nullptr));
    EXPECT_FALSE(luaconv_read_font_definition(lua.L, index, nullptr));
    luaconv_push_vec2(nullptr, v);   // pushes nothing, does not crash
}

struct FontCase {
    const char* expression;
    std::function<void(const engine::FontDefinition&)> check;
};

TEST(RecordConversionsTest, FontDefinitionDefaultsAndFlags) {
    using engine::Color3B;
    using engine::Size;
    const FontCase cases[] = {
        {"{}",
         [](const engine::FontDefinition& f) {
             EXPECT_EQ(f.fontName, "Arial");
             EXPECT_EQ(f.fontSize, 32);
             EXPECT_EQ(f.alignment, engine::TextHAlignment::LEFT);
             EXPECT_EQ(f.vertAlignment, engine::TextVAlignment::TOP);
             EXPECT_EQ(f.fontFillColor, Color3B::WHITE);
             EXPECT_FALSE(f.shadow.shadowEnabled);
             EXPECT_FALSE(f.stroke.strokeEnabled);
             EXPECT_EQ(f.shadow.shadowBlur, 7);   // no shadow key read
             EXPECT_EQ(f.fontAlpha, 7);           // alphas are not converted
             EXPECT_EQ(f.stroke.strokeAlpha, 7);
         }},
        {"{shadowEnabled = false, shadowBlur = 3}",
         [](const engine::FontDefinition& f) {
             EXPECT_FALSE(f.shadow.shadowEnabled);
             EXPECT_EQ(f.shadow.shadowBlur, 3);
             EXPECT_EQ(f.shadow.shadowOpacity, 7);
         }},
        {"{shadowEnabled = true, shadowOpacity = 0.5}",
         [](const engine::FontDefinition& f) {
             EXPECT_TRUE(f.shadow.shadowEnabled);
             EXPECT_EQ(f.shadow.shadowOffset, Size(5, 5));
             EXPECT_EQ(f.shadow.shadowBlur, 1);
             EXPECT_EQ(f.shadow.shadowOpacity, 0.5f);
         }},
        {"{shadowEnabled = 1, shadowBlur = 2}",   // not a boolean: the flag stays off, the keys still count
         [](const engine::FontDefinition& f) {
             EXPECT_FALSE(f.shadow.shadowEnabled);
             EXPECT_EQ(f.shadow.shadowBlur, 2);
         }},
        {"{strokeEnabled = false, strokeSize = 3}",
         [](const engine::FontDefinition& f) {
             EXPECT_FALSE(f.stroke.strokeEnabled);
             EXPECT_EQ(f.stroke.strokeSize, 7);
         }},
        {"{strokeEnabled = true}",
         [](const engine::FontDefinition& f) {
             EXPECT_TRUE(f.stroke.strokeEnabled);
             EXPECT_EQ(f.stroke.strokeColor, Color3B::BLUE);
             EXPECT_EQ(f.stroke.strokeSize, 1);
         }},
        {"{strokeEnabled = true, strokeColor = {r = 1}, strokeSize = 2}",
         [](const engine::FontDefinition& f) {
             EXPECT_EQ(f.stroke.strokeColor, (Color3B{1, 0, 0}));
             EXPECT_EQ(f.stroke.strokeSize, 2);
         }},
        {"{fontName = 12, fontSize = 20.9, fontAlignmentH = 2, fontFillColor = 5, fontDimensions = {width = 4}}",
         [](const engine::FontDefinition& f) {
             EXPECT_EQ(f.fontName, "12");
             EXPECT_EQ(f.fontSize, 20);
             EXPECT_EQ(f.alignment, engine::TextHAlignment::RIGHT);
             EXPECT_EQ(f.fontFillColor, Color3B::WHITE);
             EXPECT_EQ(f.dimensions, Size(4, 0));
         }},
        {"{fontName = true}", [](const engine::FontDefinition& f) { EXPECT_EQ(f.fontName, "Arial"); }},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.expression);
        LuaTestState lua;
        engine::FontDefinition font;
        font.shadow.shadowBlur = font.shadow.shadowOpacity = 7;
        font.stroke.strokeSize = 7;
        font.fontAlpha = font.stroke.strokeAlpha = 7;
        font.fontFillColor = {9, 9, 9};
        int index = lua.push(c.expression);
        ASSERT_TRUE(luaconv_read_font_definition(lua.L, index, &font));
        EXPECT_EQ(lua.top(), index);
        c.check(font);
    }
}

TEST(RecordConversionsTest, FontDefinitionRoundTrip) {
    engine::FontDefinition font;
    font.fontName = "Roboto";
    font.fontSize = 18;
    font.alignment = engine::TextHAlignment::CENTER;
    font.vertAlignment = engine::TextVAlignment::BOTTOM;
    font.dimensions = {100, 40};
    font.fontFillColor = {1, 2, 3};
    font.shadow = {false, {2, 3}, 0.5f, 0.25f};
    font.stroke = {true, {4, 5, 6}, 255, 1.5f};
    LuaTestState lua;
    luaconv_push_font_definition(lua.L, font);
    ASSERT_EQ(lua.top(), 1);
    EXPECT_EQ(lua.describe(1),
              "{fontAlignmentH=1,fontAlignmentV=2,fontDimensions={height=40,width=100},"
              "fontFillColor={b=3,g=2,r=1},fontName=\"Roboto\",fontSize=18,shadowBlur=0.5,"
              "shadowEnabled=false,shadowOffset={height=3,width=2},shadowOpacity=0.25,"
              "strokeColor={b=6,g=5,r=4},strokeEnabled=true,strokeSize=1.5}");
    engine::FontDefinition back;
    ASSERT_TRUE(luaconv_read_font_definition(lua.L, 1, &back));
    EXPECT_EQ(back.fontName, font.fontName);
    EXPECT_EQ(back.fontSize, font.fontSize);
    EXPECT_EQ(back.alignment, font.alignment);
    EXPECT_EQ(back.vertAlignment, font.vertAlignment);
    EXPECT_EQ(back.dimensions, font.dimensions);
    EXPECT_EQ(back.fontFillColor, font.fontFillColor);
    EXPECT_FALSE(back.shadow.shadowEnabled);
    EXPECT_EQ(back.shadow.shadowOffset, font.shadow.shadowOffset);
    EXPECT_EQ(back.shadow.shadowBlur, font.shadow.shadowBlur);
    EXPECT_TRUE(back.stroke.strokeEnabled);
    EXPECT_EQ(back.stroke.strokeColor, font.stroke.strokeColor);
    EXPECT_EQ(back.stroke.strokeSize, font.stroke.strokeSize);
}

TEST(RecordConversionsTest, TTFConfigReadAndRoundTrip) {
    LuaTestState lua;
    engine::TTFConfig config;
    ASSERT_TRUE(luaconv_read_ttf_config(lua.L, lua.push("{}"), &config));
    EXPECT_EQ(config.fontFilePath, "");
    EXPECT_EQ(config.fontSize, 0);
    EXPECT_EQ(config.glyphs, engine::GlyphCollection::NEHE);
    ASSERT_NE(config.customGlyphs, nullptr);
    EXPECT_STREQ(config.customGlyphs, "");
    EXPECT_FALSE(config.distanceFieldEnabled);

    int index = lua.push("{fontFilePath = 'a.ttf', fontSize = 20.7, glyphs = 3, customGlyphs = 'xyz', "
                         "distanceFieldEnabled = 1, outlineSize = '2'}");
    ASSERT_TRUE(luaconv_read_ttf_config(lua.L, index, &config));
    EXPECT_EQ(config.fontFilePath, "a.ttf");
    EXPECT_EQ(config.fontSize, 20);
    EXPECT_EQ(config.glyphs, engine::GlyphCollection::CUSTOM);
    EXPECT_STREQ(config.customGlyphs, "xyz");
    EXPECT_FALSE(config.distanceFieldEnabled);   // only a boolean counts
    EXPECT_EQ(config.outlineSize, 2);

    // A number's text outlives the table it came from.
    ASSERT_TRUE(luaconv_read_ttf_config(lua.L, lua.push("{customGlyphs = 12345, distanceFieldEnabled = true}"), &config));
    lua_settop(lua.L, 0);
    lua_gc(lua.L, LUA_GCCOLLECT, 0);
    EXPECT_STREQ(config.customGlyphs, "12345");
    EXPECT_TRUE(config.distanceFieldEnabled);

    config.fontFilePath = "a.ttf";
    config.fontSize = 20;
    config.glyphs = engine::GlyphCollection::CUSTOM;
    config.outlineSize = 2;
    config.customGlyphs = nullptr;
    luaconv_push_ttf_config(lua.L, config);
    EXPECT_EQ(lua.describe(1), "{customGlyphs=\"\",distanceFieldEnabled=true,fontFilePath=\"a.ttf\","
                               "fontSize=20,glyphs=3,outlineSize=2}");
    engine::TTFConfig back;
    ASSERT_TRUE(luaconv_read_ttf_config(lua.L, 1, &back));
    EXPECT_EQ(back.fontFilePath, config.fontFilePath);
    EXPECT_EQ(back.glyphs, config.glyphs);
    EXPECT_EQ(back.outlineSize, config.outlineSize);
    EXPECT_TRUE(back.distanceFieldEnabled);
}

struct WriteCase {
    const char* name;
    std::function<void(lua_State*)> push;
    const char* expected;
};

TEST(RecordConversionsTest, WritersPushOneTableWithTheRecordKeys) {
    engine::PhysicsContactData contact;
    contact.points[0] = {1, 2};
    contact.points[1] = {3, 4};
    contact.normal = {0, 1};
    engine::Mat4 matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const WriteCase cases[] = {
        {"affine", [](lua_State* L) { luaconv_push_affine_transform(L, {1, 2, 3, 4, 5, 6}); },
         "{a=1,b=2,c=3,d=4,tx=5,ty=6}"},
        {"blend", [](lua_State* L) { luaconv_push_blend_func(L, {1, 0xFFFFFFFF}); }, "{dst=4294967295,src=1}"},
        {"color3b", [](lua_State* L) { luaconv_push_color3b(L, {255, 0, 1}); }, "{b=1,g=0,r=255}"},
        {"color4b", [](lua_State* L) { luaconv_push_color4b(L, {1, 2, 3, 4}); }, "{a=4,b=3,g=2,r=1}"},
        {"color4f", [](lua_State* L) { luaconv_push_color4f(L, {0.5f, 0, 0, 1}); }, "{a=1,b=0,g=0,r=0.5}"},
        {"vec2", [](lua_State* L) { luaconv_push_vec2(L, {1, 2}); }, "{x=1,y=2}"},
        {"vec3", [](lua_State* L) { luaconv_push_vec3(L, {1, 2, 3}); }, "{x=1,y=2,z=3}"},
        {"vec4", [](lua_State* L) { luaconv_push_vec4(L, {1, 2, 3, 4}); }, "{w=4,x=1,y=2,z=3}"},
        {"quaternion", [](lua_State* L) { luaconv_push_quaternion(L, {}); }, "{w=1,x=0,y=0,z=0}"},
        {"size", [](lua_State* L) { luaconv_push_size(L, {3, 4}); }, "{height=4,width=3}"},
        {"rect", [](lua_State* L) { luaconv_push_rect(L, {1, 2, 3, 4}); }, "{height=4,width=3,x=1,y=2}"},
        {"mat4", [&](lua_State* L) { luaconv_push_mat4(L, matrix); },
         "{[1]=1,[2]=5,[3]=9,[4]=13,[5]=2,[6]=6,[7]=10,[8]=14,[9]=3,[10]=7,[11]=11,[12]=15,[13]=4,[14]=8,[15]=12,[16]=16}"},
        {"uniform", [](lua_State* L) { luaconv_push_uniform(L, {3, 1, 0x8B5C, "u_mvp"}); },
         "{location=3,name=\"u_mvp\",size=1,type=35676}"},
        {"vertex attrib", [](lua_State* L) { luaconv_push_vertex_attrib(L, {0xFFFFFFFF, 4, 0x1406, "a_pos"}); },
         "{index=4294967295,name=\"a_pos\",size=4,type=5126}"},
        {"mesh vertex attrib", [](lua_State* L) { luaconv_push_mesh_vertex_attrib(L, {3, 0x1406, 1, 12}); },
         "{attribSizeBytes=12,size=3,type=5126,vertexAttrib=1}"},
        {"material", [](lua_State* L) { luaconv_push_physics_material(L, {1, 0.5f, 0.25f}); },
         "{density=1,friction=0.25,restitution=0.5}"},
        {"animation", [](lua_State* L) { luaconv_push_animation_info(L, {"walk", 1, 8, nullptr}); },
         "{endIndex=8,name=\"walk\",startIndex=1}"},
        {"offmesh link", [](lua_State* L) { luaconv_push_offmesh_link_data(L, {{1, 2, 3}, {4, 5, 6}}); },
         "{endPosition={x=4,y=5,z=6},startPosition={x=1,y=2,z=3}}"},
        {"contact of 0", [&](lua_State* L) { contact.count = 0; luaconv_push_physics_contact_points(L, &contact); },
         "{POINT_MAX=4,normal={x=0,y=1},points={}}"},
        {"contact of 2", [&](lua_State* L) { contact.count = 2; luaconv_push_physics_contact_points(L, &contact); },
         "{POINT_MAX=4,normal={x=0,y=1},points={[1]={x=1,y=2},[2]={x=3,y=4}}}"},
        {"contact beyond its points", [&](lua_State* L) { contact.count = 1000; luaconv_push_physics_contact_points(L, &contact); },
         "{POINT_MAX=4,normal={x=0,y=1},points={[1]={x=1,y=2},[2]={x=3,y=4},[3]={x=0,y=0},[4]={x=0,y=0}}}"},
    };
    for (const WriteCase& c : cases) {
        LuaTestState lua;
        c.push(lua.L);
        ASSERT_EQ(lua.top(), 1) << c.name;
        EXPECT_EQ(lua.describe(1), c.expected) << c.name;
    }
    LuaTestState lua;
    luaconv_push_physics_contact_points(lua.L, nullptr);
    EXPECT_EQ(lua.top(), 0);
}

TEST(RecordConversionsTest, WriteThenReadRestoresTheRecord) {
    LuaTestState lua;
    auto roundTrip = [&](auto push, auto read, auto value) {
        push(lua.L, value);
        decltype(value) back{};
        EXPECT_TRUE(read(lua.L, lua.top(), &back, ""));
        lua_settop(lua.L, 0);
        return back;
    };
    EXPECT_EQ(roundTrip(luaconv_push_vec2, luaconv_read_vec2, engine::Vec2(1.5f, -2)), engine::Vec2(1.5f, -2));
    EXPECT_EQ(roundTrip(luaconv_push_vec3, luaconv_read_vec3, engine::Vec3(1, 2, 3)), engine::Vec3(1, 2, 3));
    EXPECT_EQ(roundTrip(luaconv_push_vec4, luaconv_read_vec4, engine::Vec4(1, 2, 3, 4)), engine::Vec4(1, 2, 3, 4));
    EXPECT_EQ(roundTrip(luaconv_push_quaternion, luaconv_read_quaternion, engine::Quaternion(0, 0, 1, 0.5f)),
              engine::Quaternion(0, 0, 1, 0.5f));
    EXPECT_EQ(roundTrip(luaconv_push_size, luaconv_read_size, engine::Size(3, 4)), engine::Size(3, 4));
    EXPECT_EQ(roundTrip(luaconv_push_rect, luaconv_read_rect, engine::Rect(1, 2, 3, 4)), engine::Rect(1, 2, 3, 4));
    EXPECT_EQ(roundTrip(luaconv_push_color3b, luaconv_read_color3b, engine::Color3B{1, 2, 255}),
              (engine::Color3B{1, 2, 255}));
    EXPECT_EQ(roundTrip(luaconv_push_color4b, luaconv_read_color4b, engine::Color4B{1, 2, 3, 0}),
              (engine::Color4B{1, 2, 3, 0}));
    EXPECT_EQ(roundTrip(luaconv_push_color4f, luaconv_read_color4f, engine::Color4F{0.5f, 1, 0, 0.25f}),
              (engine::Color4F{0.5f, 1, 0, 0.25f}));
    EXPECT_EQ(roundTrip(luaconv_push_blend_func, luaconv_read_blend_func, engine::BlendFunc{0x0302, 0x0303}),
              (engine::BlendFunc{0x0302, 0x0303}));
    EXPECT_EQ(roundTrip(luaconv_push_affine_transform, luaconv_read_affine_transform,
                        engine::AffineTransform{1, 2, 3, 4, 5, 6}),
              (engine::AffineTransform{1, 2, 3, 4, 5, 6}));
    engine::Mat4 matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(roundTrip(luaconv_push_mat4, luaconv_read_mat4, matrix), matrix);
    auto material = roundTrip(luaconv_push_physics_material, luaconv_read_physics_material,
                              engine::PhysicsMaterial{1, 0.5f, 0.25f});
    EXPECT_EQ(material.density, 1);
    EXPECT_EQ(material.restitution, 0.5f);
    EXPECT_EQ(material.friction, 0.25f);
    auto info = roundTrip(luaconv_push_animation_info, luaconv_read_animation_info,
                          studio::timeline::AnimationInfo{"run", 2, 9, nullptr});
    EXPECT_EQ(info.name, "run");
    EXPECT_EQ(info.startIndex, 2);
    EXPECT_EQ(info.endIndex, 9);
}

}  // namespace
