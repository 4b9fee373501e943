#include <lua.hpp>
#include <tolua++.h>

#include <cstdint>
#include <cstdio>

#include "bindings/LuaChecks.h"
#include "bindings/LuaGuard.h"
#include "bindings/deprecated/LuaDeprecated.h"
#include "bindings/deprecated/LuaDeprecatedLabels.h"
#include "engine/base/Director.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

using engine::__Array;
using engine::__String;
using engine::Ref;

// The tolua++ tests of one call, one letter per argument from index 1:
//   A self "CCArray"   S self "const CCString"   C class table of the name given
//   a an array         o an engine object ("cc.Ref")
//   n a number         s a string                 t a table
//   b an optional boolean (may be absent)
// and nothing after the last one.
bool argumentsFit(lua_State* L, const char* spec, const char* classTable, tolua_Error* err) {
    int index = 1;
    for (const char* c = spec; *c; ++c, ++index) {
        bool ok = false;
        switch (*c) {
            case 'A': case 'a': ok = tolua_isusertype(L, index, "CCArray", 0, err); break;
            case 'S': ok = tolua_isusertype(L, index, "const CCString", 0, err); break;
            case 'C': ok = tolua_isusertable(L, index, classTable, 0, err); break;
            case 'o': ok = tolua_isusertype(L, index, "cc.Ref", 0, err); break;
            case 'n': ok = tolua_isnumber(L, index, 0, err); break;
            case 's': ok = tolua_isstring(L, index, 0, err); break;
            case 't': ok = tolua_istable(L, index, 0, err); break;
            case 'b': ok = tolua_isboolean(L, index, 1, err); break;
            default: break;
        }
        if (!ok) return false;
    }
    return tolua_isnoobj(L, index, err) != 0;
}

// Raises the tolua++ argument error of function name when the arguments do not fit.
void requireArguments(lua_State* L, const char* name, const char* spec, const char* classTable = nullptr) {
    tolua_Error err;
    if (argumentsFit(L, spec, classTable, &err)) return;
    char text[128];
    std::snprintf(text, sizeof text, "#ferror in function '%s'.", name);
    tolua_error(L, text, &err);
}

template <class T>
T* selfOf(lua_State* L, const char* name) {
    void* stored = tolua_tousertype(L, 1, nullptr);
    T* self = stored ? objectFromUserdata<T>(stored) : nullptr;
    if (!self) luaL_error(L, "invalid 'self' in function '%s'", name);
    return self;
}

Ref* objectArg(lua_State* L, int index) {
    void* stored = tolua_tousertype(L, index, nullptr);
    return stored ? objectFromUserdata<Ref>(stored) : nullptr;
}

__Array* arrayArg(lua_State* L, int index) {
    void* stored = tolua_tousertype(L, index, nullptr);
    return stored ? objectFromUserdata<__Array>(stored) : nullptr;
}

// A number truncated to an unsigned index.
size_t indexArg(lua_State* L, int index) {
    uint32_t value = 0;
    luaconv_read_uint32(L, index, &value);
    return value;
}

// A capacity: a whole number from 0 to the array's limit, else the argument
// error of the function.
size_t capacityArg(lua_State* L, int index, const char* name) {
    const lua_Number value = lua_tonumber(L, index);
    if (!(value >= 0 && value <= static_cast<lua_Number>(__Array::kMaxCapacity))) {
        tolua_Error err{index, 0, "number from 0 to 4194304"};
        char text[128];
        std::snprintf(text, sizeof text, "#ferror in function '%s'.", name);
        tolua_error(L, text, &err);
    }
    return static_cast<size_t>(value);
}

bool releaseArg(lua_State* L, int index) { return lua_isnoneornil(L, index) ? true : lua_toboolean(L, index) != 0; }

int pushUnsigned(lua_State* L, size_t value) {
    lua_pushnumber(L, static_cast<lua_Number>(static_cast<uint32_t>(value)));
    return 1;
}

int pushArray(lua_State* L, __Array* array) {
    luaconv_push_object(L, "CCArray", array);
    return 1;
}

int pushElement(lua_State* L, Ref* object) {
    luaconv_push_object(L, "cc.Ref", object);
    return 1;
}

int pushString(lua_State* L, __String* text) {
    luaconv_push_object(L, "CCString", text);
    return 1;
}

// ---- CCPoint, CCRect, CCSize: plain tables

// The overloaded constructor: the form with numbers, else the one without arguments.
int pointNew(lua_State* L) {
    tolua_Error err;
    if (tolua_isusertable(L, 1, "CCPoint", 0, &err) && tolua_isnumber(L, 2, 0, &err) &&
        tolua_isnumber(L, 3, 0, &err) && tolua_isnoobj(L, 4, &err)) {
        luaconv_push_vec2(L, engine::Vec2(static_cast<float>(lua_tonumber(L, 2)), static_cast<float>(lua_tonumber(L, 3))));
        return 1;
    }
    requireArguments(L, "new", "C", "CCPoint");
    luaconv_push_vec2(L, engine::Vec2(0, 0));
    return 1;
}

int rectNew(lua_State* L) {
    tolua_Error err;
    if (tolua_isusertable(L, 1, "CCRect", 0, &err) && tolua_isnumber(L, 2, 0, &err) &&
        tolua_isnumber(L, 3, 0, &err) && tolua_isnumber(L, 4, 0, &err) && tolua_isnumber(L, 5, 0, &err) &&
        tolua_isnoobj(L, 6, &err)) {
        luaconv_push_rect(L, engine::Rect(static_cast<float>(lua_tonumber(L, 2)), static_cast<float>(lua_tonumber(L, 3)),
                                          static_cast<float>(lua_tonumber(L, 4)), static_cast<float>(lua_tonumber(L, 5))));
        return 1;
    }
    requireArguments(L, "new", "C", "CCRect");
    luaconv_push_rect(L, engine::Rect(0, 0, 0, 0));
    return 1;
}

int sizeNew(lua_State* L) {
    tolua_Error err;
    if (tolua_isusertable(L, 1, "CCSize", 0, &err) && tolua_isnumber(L, 2, 0, &err) &&
        tolua_isnumber(L, 3, 0, &err) && tolua_isnoobj(L, 4, &err)) {
        luaconv_push_size(L, engine::Size(static_cast<float>(lua_tonumber(L, 2)), static_cast<float>(lua_tonumber(L, 3))));
        return 1;
    }
    requireArguments(L, "new", "C", "CCSize");
    luaconv_push_size(L, engine::Size(0, 0));
    return 1;
}

// ---- CCArray

// Each function runs under the exception guard: the engine's containers may
// throw while the call is inside a Lua frame.
#define VEXO_ARRAY_FN(name, spec, body)                                \
    int array_##name##_body(lua_State* L) {                            \
        requireArguments(L, #name, spec);                              \
        __Array* self = selfOf<__Array>(L, #name);                     \
        body                                                           \
    }                                                                  \
    int array_##name(lua_State* L) { return guarded(L, array_##name##_body); }
#define VEXO_ARRAY_CLASS_FN(name, spec, body)                          \
    int array_##name##_body(lua_State* L) {                            \
        requireArguments(L, #name, spec, "CCArray");                   \
        body                                                           \
    }                                                                  \
    int array_##name(lua_State* L) { return guarded(L, array_##name##_body); }

VEXO_ARRAY_CLASS_FN(create, "C", return pushArray(L, __Array::create());)
VEXO_ARRAY_CLASS_FN(createWithObject, "Co", return pushArray(L, __Array::createWithObject(objectArg(L, 2)));)
VEXO_ARRAY_CLASS_FN(createWithArray, "Ca", return pushArray(L, __Array::createWithArray(arrayArg(L, 2)));)
VEXO_ARRAY_CLASS_FN(createWithCapacity, "Cn",
                    return pushArray(L, __Array::createWithCapacity(capacityArg(L, 2, "createWithCapacity")));)
VEXO_ARRAY_CLASS_FN(createWithContentsOfFile, "Cs",
                    return pushArray(L, __Array::createWithContentsOfFile(lua_tostring(L, 2)));)

VEXO_ARRAY_FN(count, "A", return pushUnsigned(L, self->count());)
VEXO_ARRAY_FN(capacity, "A", return pushUnsigned(L, self->capacity());)
VEXO_ARRAY_FN(indexOfObject, "Ao", return pushUnsigned(L, self->getIndexOfObject(objectArg(L, 2)));)
VEXO_ARRAY_FN(objectAtIndex, "An", return pushElement(L, self->getObjectAtIndex(indexArg(L, 2)));)
VEXO_ARRAY_FN(lastObject, "A", return pushElement(L, self->getLastObject());)
VEXO_ARRAY_FN(randomObject, "A", return pushElement(L, self->getRandomObject());)
VEXO_ARRAY_FN(isEqualToArray, "Aa", lua_pushboolean(L, self->isEqualToArray(arrayArg(L, 2))); return 1;)
VEXO_ARRAY_FN(containsObject, "Ao", lua_pushboolean(L, self->containsObject(objectArg(L, 2))); return 1;)
VEXO_ARRAY_FN(addObject, "Ao", self->addObject(objectArg(L, 2)); return 0;)
VEXO_ARRAY_FN(addObjectsFromArray, "Aa", self->addObjectsFromArray(arrayArg(L, 2)); return 0;)
VEXO_ARRAY_FN(insertObject, "Aon", self->insertObject(objectArg(L, 2), indexArg(L, 3)); return 0;)
VEXO_ARRAY_FN(removeLastObject, "Ab", self->removeLastObject(releaseArg(L, 2)); return 0;)
VEXO_ARRAY_FN(removeObject, "Aob", self->removeObject(objectArg(L, 2), releaseArg(L, 3)); return 0;)
VEXO_ARRAY_FN(removeObjectAtIndex, "Anb", self->removeObjectAtIndex(indexArg(L, 2), releaseArg(L, 3)); return 0;)
VEXO_ARRAY_FN(removeObjectsInArray, "Aa", self->removeObjectsInArray(arrayArg(L, 2)); return 0;)
VEXO_ARRAY_FN(removeAllObjects, "A", self->removeAllObjects(); return 0;)
VEXO_ARRAY_FN(fastRemoveObject, "Ao", self->fastRemoveObject(objectArg(L, 2)); return 0;)
VEXO_ARRAY_FN(fastRemoveObjectAtIndex, "An", self->fastRemoveObjectAtIndex(indexArg(L, 2)); return 0;)
VEXO_ARRAY_FN(exchangeObject, "Aoo", self->exchangeObject(objectArg(L, 2), objectArg(L, 3)); return 0;)
VEXO_ARRAY_FN(exchangeObjectAtIndex, "Ann", self->exchangeObjectAtIndex(indexArg(L, 2), indexArg(L, 3)); return 0;)
VEXO_ARRAY_FN(reverseObjects, "A", self->reverseObjects(); return 0;)
VEXO_ARRAY_FN(reduceMemoryFootprint, "A", self->reduceMemoryFootprint(); return 0;)
VEXO_ARRAY_FN(replaceObjectAtIndex, "Anob",
              self->replaceObjectAtIndex(indexArg(L, 2), objectArg(L, 3), releaseArg(L, 4)); return 0;)

// ---- CCString

#define VEXO_STRING_FN(name, spec, body)                               \
    int string_##name##_body(lua_State* L) {                           \
        requireArguments(L, #name, spec);                              \
        const __String* self = selfOf<__String>(L, #name);             \
        body                                                           \
    }                                                                  \
    int string_##name(lua_State* L) { return guarded(L, string_##name##_body); }

VEXO_STRING_FN(intValue, "S", lua_pushnumber(L, self->intValue()); return 1;)
VEXO_STRING_FN(uintValue, "S", return pushUnsigned(L, self->uintValue());)
VEXO_STRING_FN(floatValue, "S", lua_pushnumber(L, self->floatValue()); return 1;)
VEXO_STRING_FN(doubleValue, "S", lua_pushnumber(L, self->doubleValue()); return 1;)
VEXO_STRING_FN(boolValue, "S", lua_pushboolean(L, self->boolValue()); return 1;)
VEXO_STRING_FN(getCString, "S", lua_pushstring(L, self->getCString()); return 1;)
VEXO_STRING_FN(length, "S", return pushUnsigned(L, self->length());)
VEXO_STRING_FN(compare, "Ss", lua_pushnumber(L, self->compare(lua_tostring(L, 2))); return 1;)
VEXO_STRING_FN(isEqual, "So", lua_pushboolean(L, self->isEqual(objectArg(L, 2))); return 1;)

int string_create_body(lua_State* L) {
    requireArguments(L, "create", "Cs", "CCString");
    size_t size = 0;
    const char* text = lua_tolstring(L, 2, &size);
    return pushString(L, __String::create(std::string(text, size)));
}

int string_createWithData_body(lua_State* L) {
    requireArguments(L, "createWithData", "Csn", "CCString");
    size_t size = 0;
    const char* data = lua_tolstring(L, 2, &size);
    const size_t length = indexArg(L, 3);
    return pushString(L, __String::createWithData(std::string(data, size), length));
}

int string_createWithContentsOfFile_body(lua_State* L) {
    requireArguments(L, "createWithContentsOfFile", "Cs", "CCString");
    return pushString(L, __String::createWithContentsOfFile(lua_tostring(L, 2)));
}

int string_create(lua_State* L) { return guarded(L, string_create_body); }
int string_createWithData(lua_State* L) { return guarded(L, string_createWithData_body); }
int string_createWithContentsOfFile(lua_State* L) { return guarded(L, string_createWithContentsOfFile_body); }

// ---- kmGL: the director's model-view stack

constexpr auto kModelView = engine::MATRIX_STACK_TYPE::MATRIX_STACK_MODELVIEW;

int kmGLPushMatrix(lua_State* L) {
    requireArguments(L, "kmGLPushMatrix", "");
    engine::Director::getInstance()->pushMatrix(kModelView);
    return 0;
}

int kmGLPopMatrix(lua_State* L) {
    requireArguments(L, "kmGLPopMatrix", "");
    engine::Director::getInstance()->popMatrix(kModelView);
    return 0;
}

int kmGLTranslatef(lua_State* L) {
    requireArguments(L, "kmGLTranslatef", "nnn");
    engine::Mat4 translation;
    engine::Mat4::createTranslation(static_cast<float>(lua_tonumber(L, 1)), static_cast<float>(lua_tonumber(L, 2)),
                                    static_cast<float>(lua_tonumber(L, 3)), &translation);
    engine::Director::getInstance()->multiplyMatrix(kModelView, translation);
    return 0;
}

// The table's numbers fill the matrix in element order; past the sixteenth they are
// not read. A missing number keeps the identity's element.
int kmGLLoadMatrix(lua_State* L) {
    requireArguments(L, "kmGLLoadMatrix", "t");
    engine::Mat4 matrix = engine::Mat4::IDENTITY;
    const size_t length = lua_objlen(L, 1);
    for (size_t i = 0; i < length && i < 16; ++i) {
        lua_rawgeti(L, 1, static_cast<int>(i + 1));
        if (lua_type(L, -1) != LUA_TNUMBER) {
            lua_pop(L, 1);
            tolua_Error err;
            tolua_isnumber(L, 1, 0, &err);
            tolua_error(L, "#ferror in function 'kmGLLoadMatrix'.", &err);
            return 0;
        }
        matrix.m[i] = static_cast<float>(lua_tonumber(L, -1));
        lua_pop(L, 1);
    }
    engine::Director::getInstance()->loadMatrix(kModelView, matrix);
    return 0;
}

// ---- Registration

void registerPlainTableClass(lua_State* L, const char* name, lua_CFunction constructor) {
    tolua_cclass(L, name, name, "", nullptr);
    tolua_beginmodule(L, name);
    tolua_function(L, "new", constructor);
    tolua_function(L, "new_local", constructor);
    tolua_function(L, ".call", constructor);
    tolua_endmodule(L);
}

#define VEXO_ROW(prefix, name) tolua_function(L, #name, prefix##_##name)

}  // namespace

int register_deprecated_classes(lua_State* L) {
    tolua_open(L);
    tolua_usertype(L, "CCPoint");
    tolua_usertype(L, "CCRect");
    tolua_usertype(L, "CCSize");
    tolua_usertype(L, "CCObject");
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);

    registerPlainTableClass(L, "CCPoint", pointNew);
    registerPlainTableClass(L, "CCRect", rectNew);
    registerPlainTableClass(L, "CCSize", sizeNew);

    // Old scripts test engine objects against CCObject: it stands for cc.Ref.
    tolua_cclass(L, "CCObject", "CCObject", "cc.Ref", &luaconv_collect<Ref>);
    luaconv_register_class<__Array>(L, "CCArray", "CCArray", "CCObject");
    tolua_beginmodule(L, "CCArray");
    VEXO_ROW(array, create);
    VEXO_ROW(array, createWithObject);
    VEXO_ROW(array, createWithArray);
    VEXO_ROW(array, createWithCapacity);
    VEXO_ROW(array, createWithContentsOfFile);
    VEXO_ROW(array, count);
    VEXO_ROW(array, capacity);
    VEXO_ROW(array, indexOfObject);
    VEXO_ROW(array, objectAtIndex);
    VEXO_ROW(array, lastObject);
    VEXO_ROW(array, randomObject);
    VEXO_ROW(array, isEqualToArray);
    VEXO_ROW(array, containsObject);
    VEXO_ROW(array, addObject);
    VEXO_ROW(array, addObjectsFromArray);
    VEXO_ROW(array, insertObject);
    VEXO_ROW(array, removeLastObject);
    VEXO_ROW(array, removeObject);
    VEXO_ROW(array, removeObjectAtIndex);
    VEXO_ROW(array, removeObjectsInArray);
    VEXO_ROW(array, removeAllObjects);
    VEXO_ROW(array, fastRemoveObject);
    VEXO_ROW(array, fastRemoveObjectAtIndex);
    VEXO_ROW(array, exchangeObject);
    VEXO_ROW(array, exchangeObjectAtIndex);
    VEXO_ROW(array, reverseObjects);
    VEXO_ROW(array, reduceMemoryFootprint);
    VEXO_ROW(array, replaceObjectAtIndex);
    tolua_endmodule(L);

    luaconv_register_class<__String>(L, "CCString", "CCString", "cc.Ref");
    tolua_beginmodule(L, "CCString");
    VEXO_ROW(string, intValue);
    VEXO_ROW(string, uintValue);
    VEXO_ROW(string, floatValue);
    VEXO_ROW(string, doubleValue);
    VEXO_ROW(string, boolValue);
    VEXO_ROW(string, getCString);
    VEXO_ROW(string, length);
    VEXO_ROW(string, compare);
    VEXO_ROW(string, isEqual);
    VEXO_ROW(string, create);
    VEXO_ROW(string, createWithData);
    VEXO_ROW(string, createWithContentsOfFile);
    tolua_endmodule(L);

    registerClassTable(L, deprecatedLabelRows());

    tolua_function(L, "kmGLPushMatrix", kmGLPushMatrix);
    tolua_function(L, "kmGLTranslatef", kmGLTranslatef);
    tolua_function(L, "kmGLPopMatrix", kmGLPopMatrix);
    tolua_function(L, "kmGLLoadMatrix", kmGLLoadMatrix);
    tolua_endmodule(L);
    return 1;
}

}  // namespace bindings
