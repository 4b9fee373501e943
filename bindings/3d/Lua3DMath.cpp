#include "bindings/3d/Lua3DMath.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/3d/AABB.h"
#include "engine/3d/OBB.h"
#include "engine/3d/Ray.h"

namespace bindings {

namespace {

using engine::AABB;
using engine::Mat4;
using engine::OBB;
using engine::Ray;
using engine::Vec3;

constexpr const char* kBlankEnd = " \n";

// The usertype at index of luaClass (never nil); null for anything else.
template <class T>
T* valueAt(lua_State* L, int index, const char* luaClass) {
    if (lua_type(L, index) != LUA_TUSERDATA) return nullptr;
    tolua_Error err;
    if (!tolua_isusertype(L, index, luaClass, 0, &err)) return nullptr;
    return static_cast<T*>(tolua_tousertype(L, index, nullptr));
}

template <class T>
T* selfOf(lua_State* L, const char* luaClass, const char* bindingName) {
    T* self = valueAt<T>(L, 1, luaClass);
    if (!self) luaL_error(L, "invalid 'cobj' in function '%s'", bindingName);
    return self;
}

bool readVec3(lua_State* L, int index, Vec3* out) { return lua_istable(L, index) && luaconv_read_vec3(L, index, out); }

// ---- Fields: get pushes {x, y, z}; set with exactly one value reads a vector table.

template <class T, Vec3 T::*Field>
int getField(lua_State* L) {
    T* self = static_cast<T*>(tolua_tousertype(L, 1, nullptr));
    if (!self) return luaL_error(L, "invalid 'self' in accessing variable");
    luaconv_push_vec3(L, self->*Field);
    return 1;
}

template <class T, Vec3 T::*Field>
int setField(lua_State* L) {
    T* self = static_cast<T*>(tolua_tousertype(L, 1, nullptr));
    if (!self) return luaL_error(L, "invalid 'self' in accessing variable");
    Vec3 value;
    if (lua_gettop(L) - 1 == 1 && luaconv_read_vec3(L, 2, &value)) self->*Field = value;
    return 0;
}

// Pushes a new object the script owns.
template <class T>
int pushOwned(lua_State* L, T* object, const char* luaClass) {
    luaconv_push_owned_usertype(L, luaClass, object);
    return 1;
}

// ---- cc.AABB

int aabb_new(lua_State* L) {
    const int argc = argumentCount(L);
    Vec3 min, max;
    if (argc == 0) return pushOwned(L, new AABB(), "cc.AABB");
    if (argc == 2 && readVec3(L, 2, &min) && readVec3(L, 3, &max)) return pushOwned(L, new AABB(min, max), "cc.AABB");
    return countError(L, "cc.AABB:AABB", argc, 0, kBlankEnd);
}

int aabb_reset(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_reset");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.AABB:reset", argc, 0, kBlankEnd);
    self->reset();
    return 0;
}

int aabb_set(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_set");
    const int argc = argumentCount(L);
    Vec3 min, max;
    if (argc != 2 || !readVec3(L, 2, &min) || !readVec3(L, 3, &max)) return countError(L, "cc.AABB:set", argc, 2, kBlankEnd);
    self->set(min, max);
    return 0;
}

int aabb_transform(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_transform");
    const int argc = argumentCount(L);
    Mat4 matrix;
    if (argc != 1 || !luaconv_read_mat4(L, 2, &matrix)) return countError(L, "cc.AABB:transform", argc, 1, kBlankEnd);
    self->transform(matrix);
    return 0;
}

int aabb_getCenter(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_getCenter");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.AABB:getCenter", argc, 0, kBlankEnd);
    luaconv_push_vec3(L, self->getCenter());
    return 1;
}

int aabb_isEmpty(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_isEmpty");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.AABB:isEmpty", argc, 0, kBlankEnd);
    lua_pushboolean(L, self->isEmpty());
    return 1;
}

// The engine writes eight corners: into a buffer of eight, of which the one
// vector given takes the first.
int aabb_getCorners(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_getCorners");
    const int argc = argumentCount(L);
    Vec3* out = argc == 1 ? valueAt<Vec3>(L, 2, "cc.Vec3") : nullptr;
    if (!out) return countError(L, "cc.AABB:getCorners", argc, 1, kBlankEnd);
    Vec3 corners[AABB::kCornerCount];
    self->getCorners(corners);
    *out = corners[0];
    return 0;
}

// One point per vector given: the count is honoured up to that one.
int aabb_updateMinMax(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_updateMinMax");
    const int argc = argumentCount(L);
    Vec3* points = argc == 2 ? valueAt<Vec3>(L, 2, "cc.Vec3") : nullptr;
    long count = 0;
    if (!points || !luaconv_read_long(L, 3, &count)) return countError(L, "cc.AABB:updateMinMax", argc, 2, kBlankEnd);
    self->updateMinMax(points, count >= 1 ? 1 : 0);
    return 0;
}

int aabb_containPoint(lua_State* L) {
    AABB* self = selfOf<AABB>(L, "cc.AABB", "lua_engine_3d_AABB_containPoint");
    const int argc = argumentCount(L);
    Vec3 point;
    if (argc != 1 || !readVec3(L, 2, &point)) return countError(L, "cc.AABB:containPoint", argc, 1, kBlankEnd);
    lua_pushboolean(L, self->containPoint(point));
    return 1;
}

// ---- cc.OBB

int obb_new(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc == 0) return pushOwned(L, new OBB(), "cc.OBB");
    if (argc == 1) {
        if (AABB* box = valueAt<AABB>(L, 2, "cc.AABB")) return pushOwned(L, new OBB(*box), "cc.OBB");
    } else if (argc == 2) {
        Vec3* points = valueAt<Vec3>(L, 2, "cc.Vec3");
        long count = 0;
        if (points && luaconv_read_long(L, 3, &count)) return pushOwned(L, new OBB(points, count >= 1 ? 1 : 0), "cc.OBB");
    }
    return countError(L, "cc.OBB:OBB", argc, 2, kBlankEnd);
}

int obb_reset(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_reset");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.OBB:reset", argc, 0, kBlankEnd);
    self->reset();
    return 0;
}

int obb_set(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_set");
    const int argc = argumentCount(L);
    Vec3 v[5];
    bool read = argc == 5;
    for (int i = 0; read && i < 5; ++i) read = readVec3(L, i + 2, &v[i]);
    if (!read) return countError(L, "cc.OBB:set", argc, 5, kBlankEnd);
    self->set(v[0], v[1], v[2], v[3], v[4]);
    return 0;
}

int obb_transform(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_transform");
    const int argc = argumentCount(L);
    Mat4 matrix;
    if (argc != 1 || !luaconv_read_mat4(L, 2, &matrix)) return countError(L, "cc.OBB:transform", argc, 1, kBlankEnd);
    self->transform(matrix);
    return 0;
}

int obb_containPoint(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_containPoint");
    const int argc = argumentCount(L);
    Vec3 point;
    if (argc != 1 || !readVec3(L, 2, &point)) return countError(L, "cc.OBB:containPoint", argc, 1, kBlankEnd);
    lua_pushboolean(L, self->containPoint(point));
    return 1;
}

int obb_intersects(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_intersects");
    const int argc = argumentCount(L);
    OBB* other = argc == 1 ? valueAt<OBB>(L, 2, "cc.OBB") : nullptr;
    if (!other) return countError(L, "cc.OBB:intersects", argc, 1, kBlankEnd);
    lua_pushboolean(L, self->intersects(*other));
    return 1;
}

// A scratch block freed by the collector of its userdata, so that a Lua error
// raised while it is in use loses nothing.
int freeScratch(lua_State* L) {
    auto** block = static_cast<Vec3**>(lua_touserdata(L, 1));
    if (block && *block) {
        std::free(*block);
        *block = nullptr;
    }
    return 0;
}

// The corners into an array as long as the table (eight at least, for the
// engine writes eight); the table's length decides how many come back.
int obb_getCorners(lua_State* L) {
    OBB* self = selfOf<OBB>(L, "cc.OBB", "lua_engine_3d_OBB_getCorners");
    const int argc = argumentCount(L);
    if (argc != 1 || !lua_istable(L, 2)) return countError(L, "cc.OBB:getCorners", argc, 1, kBlankEnd);
    const size_t n = lua_objlen(L, 2);
    if (n == 0) return luaL_error(L, "Table's len equal 0");
    const size_t slots = n < AABB::kCornerCount ? AABB::kCornerCount : n;
    auto** block = static_cast<Vec3**>(lua_newuserdata(L, sizeof(Vec3*)));
    *block = nullptr;
    lua_newtable(L);
    lua_pushcfunction(L, freeScratch);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    const int scratch = lua_gettop(L);
    if (slots <= SIZE_MAX / sizeof(Vec3)) *block = static_cast<Vec3*>(std::calloc(slots, sizeof(Vec3)));
    if (!*block) return luaL_error(L, "Allocate engine::Vec3 array in the lua_engine_3d_OBB_getCorners failed!");
    Vec3* corners = *block;
    for (size_t i = 1; i <= n; ++i) {
        lua_rawgeti(L, 2, static_cast<int>(i));
        if (!lua_isnil(L, -1)) luaconv_read_vec3(L, lua_gettop(L), &corners[i - 1]);
        lua_pop(L, 1);
    }
    self->getCorners(corners);
    lua_createtable(L, static_cast<int>(n), 0);
    for (size_t i = 1; i <= n; ++i) {
        luaconv_push_vec3(L, corners[i - 1]);
        lua_rawseti(L, -2, static_cast<int>(i));
    }
    std::free(*block);   // now; the emptied userdata is collected later
    *block = nullptr;
    lua_remove(L, scratch);
    return 1;
}

// ---- cc.Ray

int ray_new(lua_State* L) {
    const int argc = argumentCount(L);
    Vec3 origin, direction;
    if (argc == 0) return pushOwned(L, new Ray(), "cc.Ray");
    if (argc == 2 && readVec3(L, 2, &origin) && readVec3(L, 3, &direction))
        return pushOwned(L, new Ray(origin, direction), "cc.Ray");
    return countError(L, "cc.Ray:Ray", argc, 0, kBlankEnd);
}

int ray_set(lua_State* L) {
    Ray* self = selfOf<Ray>(L, "cc.Ray", "lua_engine_3d_Ray_set");
    const int argc = argumentCount(L);
    Vec3 origin, direction;
    if (argc != 2 || !readVec3(L, 2, &origin) || !readVec3(L, 3, &direction))
        return countError(L, "cc.Ray:set", argc, 2, kBlankEnd);
    self->set(origin, direction);
    return 0;
}

int ray_transform(lua_State* L) {
    Ray* self = selfOf<Ray>(L, "cc.Ray", "lua_engine_3d_Ray_transform");
    const int argc = argumentCount(L);
    Mat4 matrix;
    if (argc != 1 || !luaconv_read_mat4(L, 2, &matrix)) return countError(L, "cc.Ray:transform", argc, 1, kBlankEnd);
    self->transform(matrix);
    return 0;
}

int ray_intersects(lua_State* L) {
    Ray* self = selfOf<Ray>(L, "cc.Ray", "lua_engine_3d_Ray_intersects");
    const int argc = argumentCount(L);
    OBB* box = argc == 1 ? valueAt<OBB>(L, 2, "cc.OBB") : nullptr;
    if (!box) return countError(L, "cc.Ray:intersects", argc, 1, kBlankEnd);
    lua_pushboolean(L, self->intersects(*box));
    return 1;
}

const ClassEntry kMathClasses[] = {
    ownedClassEntry<AABB>("cc.AABB", nullptr),
    ownedClassEntry<OBB>("cc.OBB", nullptr),
    ownedClassEntry<Ray>("cc.Ray", nullptr),
};

const ClassFunction kAABBFunctions[] = {
    {"new", aabb_new},
    {"reset", aabb_reset},
    {"set", aabb_set},
    {"transform", aabb_transform},
    {"getCenter", aabb_getCenter},
    {"isEmpty", aabb_isEmpty},
    {"getCorners", aabb_getCorners},
    {"updateMinMax", aabb_updateMinMax},
    {"containPoint", aabb_containPoint},
};

const ClassFunction kOBBFunctions[] = {
    {"new", obb_new},
    {"reset", obb_reset},
    {"set", obb_set},
    {"transform", obb_transform},
    {"containPoint", obb_containPoint},
    {"intersects", obb_intersects},
    {"getCorners", obb_getCorners},
};

const ClassFunction kRayFunctions[] = {
    {"new", ray_new},
    {"set", ray_set},
    {"transform", ray_transform},
    {"intersects", ray_intersects},
};

struct Field {
    const char* name;
    lua_CFunction get;
    lua_CFunction set;
};

template <class T, Vec3 T::*F>
constexpr Field field(const char* name) {
    return Field{name, &getField<T, F>, &setField<T, F>};
}

const Field kAABBFields[] = {field<AABB, &AABB::_min>("_min"), field<AABB, &AABB::_max>("_max")};
const Field kOBBFields[] = {field<OBB, &OBB::_center>("_center"), field<OBB, &OBB::_xAxis>("_xAxis"),
                            field<OBB, &OBB::_yAxis>("_yAxis"), field<OBB, &OBB::_zAxis>("_zAxis"),
                            field<OBB, &OBB::_extents>("_extents")};
const Field kRayFields[] = {field<Ray, &Ray::_origin>("_origin"), field<Ray, &Ray::_direction>("_direction")};

void addFields(lua_State* L, const char* shortName, std::span<const Field> fields) {
    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    tolua_beginmodule(L, shortName);
    for (const Field& f : fields) tolua_variable(L, f.name, f.get, f.set);
    tolua_endmodule(L);
    tolua_endmodule(L);
}

}  // namespace

void register_3d_math_classes(lua_State* L) {
    registerClassTable(L, kMathClasses);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    addFields(L, "AABB", kAABBFields);
    addFields(L, "OBB", kOBBFields);
    addFields(L, "Ray", kRayFields);
    for (const char* name : {"cc.Vec2", "cc.Vec3", "cc.Vec4", "cc.Mat4", "cc.Quaternion"}) tolua_usertype(L, name);
    tolua_endmodule(L);
    addClassFunctions(L, "cc.AABB", kAABBFunctions);
    addClassFunctions(L, "cc.OBB", kOBBFunctions);
    addClassFunctions(L, "cc.Ray", kRayFunctions);
}

}  // namespace bindings
