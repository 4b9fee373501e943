#pragma once
// Conversions of the engine's plain records between Lua tables and C++.
//
// A reader luaconv_read_<record>(L, index, out) takes the table at the absolute stack
// index `index` and fills *out. It answers false, reports nothing and leaves the
// stack as it found it when L or out is null or the value is not a table (an absent
// argument included); a few records add their own failures, listed below. Each key
// is looked up with lua_gettable (metamethods take part); an absent key gives 0 or
// the record's stated default, a present value is taken through lua_tonumber (a
// numeric string counts, anything else is 0). Floats are narrowed to float; byte
// fields keep the low 8 bits of the number truncated toward zero (256 gives 0, -1
// gives 255); enum fields take it truncated toward zero as unsigned 32 bits.
// A trailing funcName, where accepted, is the calling binding's name and unused: the
// binding raises its own error on false.
//
// A writer luaconv_push_<record>(L, value) pushes exactly one new table holding the
// record's keys (nothing when L is null).
#include <lua.hpp>

#include "engine/base/Geometry.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"
#include "engine/label/FontDefinition.h"
#include "engine/label/TTFConfig.h"
#include "engine/navmesh/NavMeshRecords.h"
#include "engine/physics/PhysicsRecords.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/renderer/Texture2D.h"
#include "engine/studio/AnimationInfo.h"

// {a, b, c, d, tx, ty}. Read in that order; the first absent key stops the read with
// false, the fields before it already stored and the rest untouched.
bool luaconv_read_affine_transform(lua_State* L, int index, engine::AffineTransform* out,
                                   const char* funcName = "");
void luaconv_push_affine_transform(lua_State* L, const engine::AffineTransform& value);

// {src, dst}
bool luaconv_read_blend_func(lua_State* L, int index, engine::BlendFunc* out,
                             const char* funcName = "");
void luaconv_push_blend_func(lua_State* L, const engine::BlendFunc& value);

// {r, g, b}; Color4B adds a (absent gives 255); Color4F holds floats (absent a gives 0).
bool luaconv_read_color3b(lua_State* L, int index, engine::Color3B* out, const char* funcName = "");
bool luaconv_read_color4b(lua_State* L, int index, engine::Color4B* out, const char* funcName = "");
bool luaconv_read_color4f(lua_State* L, int index, engine::Color4F* out, const char* funcName = "");
void luaconv_push_color3b(lua_State* L, const engine::Color3B& value);
void luaconv_push_color4b(lua_State* L, const engine::Color4B& value);
void luaconv_push_color4f(lua_State* L, const engine::Color4F& value);

// {x, y}, {x, y, z}, {x, y, z, w}; a quaternion's absent w gives 0.
bool luaconv_read_vec2(lua_State* L, int index, engine::Vec2* out, const char* funcName = "");
bool luaconv_read_vec3(lua_State* L, int index, engine::Vec3* out, const char* funcName = "");
bool luaconv_read_vec4(lua_State* L, int index, engine::Vec4* out, const char* funcName = "");
bool luaconv_read_quaternion(lua_State* L, int index, engine::Quaternion* out,
                             const char* funcName = "");
void luaconv_push_vec2(lua_State* L, const engine::Vec2& value);
void luaconv_push_vec3(lua_State* L, const engine::Vec3& value);
void luaconv_push_vec4(lua_State* L, const engine::Vec4& value);
void luaconv_push_quaternion(lua_State* L, const engine::Quaternion& value);

// {width, height}; a rectangle is {x, y, width, height}.
bool luaconv_read_size(lua_State* L, int index, engine::Size* out, const char* funcName = "");
bool luaconv_read_rect(lua_State* L, int index, engine::Rect* out, const char* funcName = "");
void luaconv_push_size(lua_State* L, const engine::Size& value);
void luaconv_push_rect(lua_State* L, const engine::Rect& value);

// An array of exactly 16 entries in the matrix's storage order; any other length
// answers false with *out untouched. An entry that is not a number gives 0.
bool luaconv_read_mat4(lua_State* L, int index, engine::Mat4* out, const char* funcName = "");
void luaconv_push_mat4(lua_State* L, const engine::Mat4& value);

// {minFilter, magFilter, wrapS, wrapT}; read only.
bool luaconv_read_tex_params(lua_State* L, int index, engine::Texture2D::_TexParams* out,
                             const char* funcName = "");

// Keys fontName ("Arial" when absent), fontSize (32), fontAlignmentH, fontAlignmentV,
// fontFillColor (white), fontDimensions, shadowEnabled with shadowOffset, shadowBlur
// and shadowOpacity (read whenever shadowEnabled is given; true starts from offset
// (5, 5), blur 1, opacity 1), strokeEnabled with strokeColor and strokeSize (read only
// when strokeEnabled is true, starting from blue and 1). The alphas are left as they were.
bool luaconv_read_font_definition(lua_State* L, int index, engine::FontDefinition* out,
                                  const char* funcName = "");
void luaconv_push_font_definition(lua_State* L, const engine::FontDefinition& value);

// Keys fontFilePath, fontSize, glyphs (1 when not a number), customGlyphs,
// distanceFieldEnabled (only a boolean counts), outlineSize. A string customGlyphs is
// borrowed from the table (valid while the table keeps it); a number's text is kept
// for the life of the process; anything else gives an empty text.
bool luaconv_read_ttf_config(lua_State* L, int index, engine::TTFConfig* out,
                             const char* funcName = "");
void luaconv_push_ttf_config(lua_State* L, const engine::TTFConfig& value);

// Shader and mesh descriptions; written only.
void luaconv_push_uniform(lua_State* L, const engine::Uniform& value);
void luaconv_push_vertex_attrib(lua_State* L, const engine::VertexAttrib& value);
void luaconv_push_mesh_vertex_attrib(lua_State* L, const engine::MeshVertexAttrib& value);

// {density, restitution, friction}
bool luaconv_read_physics_material(lua_State* L, int index, engine::PhysicsMaterial* out,
                                   const char* funcName = "");
void luaconv_push_physics_material(lua_State* L, const engine::PhysicsMaterial& value);

// {points = {Vec2...} (the first count, at most POINT_MAX), normal = Vec2,
// POINT_MAX = 4}. A null record pushes nothing.
void luaconv_push_physics_contact_points(lua_State* L, const engine::PhysicsContactData* data);

// {name, startIndex, endIndex}; the callback does not cross.
bool luaconv_read_animation_info(lua_State* L, int index, studio::timeline::AnimationInfo* out,
                                 const char* funcName = "");
void luaconv_push_animation_info(lua_State* L, const studio::timeline::AnimationInfo& value);

// Every key that holds a number overrides its default: radius 0.6, height 2,
// maxAcceleration 8, maxSpeed 3.5, collisionQueryRange radius*12,
// pathOptimizationRange radius*30, separationWeight 2, updateFlags 27,
// obstacleAvoidanceType 3, queryFilterType 0.
bool luaconv_read_navmesh_agent_param(lua_State* L, int index, engine::NavMeshAgentParam* out,
                                      const char* funcName = "");

// {startPosition = Vec3, endPosition = Vec3}
void luaconv_push_offmesh_link_data(lua_State* L, const engine::OffMeshLinkData& value);
