#include "bindings/core/LuaGLProgramMethods.h"

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

using engine::GLProgram;
using engine::GLProgramState;

constexpr const char* kProgram = "cc.GLProgram";

int lua_GLProgram_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2)
        return luaL_error(L, "%s wrong number of arguments: %d, was expecting %d\n", "cc.GLProgram:create", argc, 2);
    std::string vertexFile, fragmentFile;
    if (!luaconv_read_std_string(L, 2, &vertexFile) || !luaconv_read_std_string(L, 3, &fragmentFile)) return 0;
    GLProgram* program = GLProgram::createWithByteArrays("", "");
    program->initWithFilenames(vertexFile, fragmentFile);
    luaconv_push_object(L, kProgram, program);
    return 1;
}

int lua_GLProgram_getProgram(lua_State* L) {
    GLProgram* program = checkSelf<GLProgram>(L, kProgram, "getProgram");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.GLProgram:getProgram", argc, 0);
    lua_pushnumber(L, program->getProgram());
    return 1;
}

int lua_GLProgram_setUniformLocationF32(lua_State* L) {
    GLProgram* program = checkSelf<GLProgram>(L, kProgram, "setUniformLocationF32");
    const int argc = argumentCount(L);
    if (argc < 2 || argc > 5)
        return luaL_error(L, " %s has wrong number of arguments: %d, was expecting %d\n",
                          "cc.GLProgram:setUniformLocationF32", argc, 2);
    const GLint location = intAt(L, 2);
    float v[4] = {};
    for (int i = 0; i < argc - 1; ++i) v[i] = static_cast<float>(numberAt(L, 3 + i));
    switch (argc) {
        case 2: program->setUniformLocationWith1f(location, v[0]); break;
        case 3: program->setUniformLocationWith2f(location, v[0], v[1]); break;
        case 4: program->setUniformLocationWith3f(location, v[0], v[1], v[2]); break;
        default: program->setUniformLocationWith4f(location, v[0], v[1], v[2], v[3]); break;
    }
    return 0;
}

template <bool Attribute>
int lua_GLProgram_getRecord(lua_State* L) {
    constexpr const char* method = Attribute ? "getVertexAttrib" : "getUniform";
    GLProgram* program = checkSelf<GLProgram>(L, kProgram, method);
    const int argc = argumentCount(L);
    if (argc != 1)
        return countError(L, Attribute ? "cc.GLProgram:getVertexAttrib" : "cc.GLProgram:getUniform", argc, 1, " \n");
    std::string name;
    if (!luaconv_read_std_string(L, 2, &name)) return 0;
    if constexpr (Attribute) {
        const engine::VertexAttrib* attrib = program->getVertexAttrib(name);
        if (attrib)
            luaconv_push_vertex_attrib(L, *attrib);
        else
            lua_pushnil(L);
    } else {
        const engine::Uniform* uniform = program->getUniform(name);
        if (uniform)
            luaconv_push_uniform(L, *uniform);
        else
            lua_pushnil(L);
    }
    return 1;
}

template <class Value>
Value valueAt(lua_State* L, int index);
template <>
GLint valueAt<GLint>(lua_State* L, int index) {
    return intAt(L, index);
}
template <>
GLfloat valueAt<GLfloat>(lua_State* L, int index) {
    return static_cast<GLfloat>(numberAt(L, index));
}

// Runs after every check that may raise: nothing here raises.
template <class Value, void (GLProgram::*Set)(GLint, const Value*, unsigned int)>
void sendUniformArray(lua_State* L, GLProgram* program, GLint location, size_t values, unsigned int count) {
    std::vector<Value> array(values, Value{});
    if (lua_istable(L, 3)) {
        for (size_t i = 0; i < values; ++i) {
            lua_rawgeti(L, 3, static_cast<int>(i + 1));
            array[i] = valueAt<Value>(L, lua_gettop(L));
            lua_pop(L, 1);
        }
    }
    (program->*Set)(location, array.data(), count);
}

template <class Value, int PerElement, void (GLProgram::*Set)(GLint, const Value*, unsigned int)>
int uniformArray(lua_State* L, const char* method) {
    // Plain buffers: a raise leaves this frame without running destructors.
    char fullName[96], bindingName[96];
    std::snprintf(fullName, sizeof fullName, "%s:%s", kProgram, method);
    std::snprintf(bindingName, sizeof bindingName, "lua_engine_GLProgram_%s", method);
    GLProgram* program = checkSelf<GLProgram>(L, kProgram, method);
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, fullName, argc, 3, " \n");
    int32_t location = 0;
    long count = 0;
    const bool locationRead = luaconv_read_int32(L, 2, &location, fullName);
    const bool countRead = luaconv_read_long(L, 4, &count, fullName);
    if (!locationRead || !countRead) return luaL_error(L, "Parse params error in the %s", bindingName);
    if (count < 0 || count > kMaxUniformValues / PerElement) {
        return luaL_error(L, "Allocate %s in the %s failed!",
                          std::is_same_v<Value, GLint> ? "intArray" : "matrixArry", bindingName);
    }
    sendUniformArray<Value, Set>(L, program, location, static_cast<size_t>(count) * PerElement,
                                 static_cast<unsigned int>(count));
    lua_settop(L, 1);
    return 1;
}

int lua_setUniformLocationWith2iv(lua_State* L) {
    return uniformArray<GLint, 2, &GLProgram::setUniformLocationWith2iv>(L, "setUniformLocationWith2iv");
}
int lua_setUniformLocationWith3iv(lua_State* L) {
    return uniformArray<GLint, 3, &GLProgram::setUniformLocationWith3iv>(L, "setUniformLocationWith3iv");
}
int lua_setUniformLocationWith4iv(lua_State* L) {
    return uniformArray<GLint, 4, &GLProgram::setUniformLocationWith4iv>(L, "setUniformLocationWith4iv");
}
int lua_setUniformLocationWithMatrix2fv(lua_State* L) {
    return uniformArray<GLfloat, 4, &GLProgram::setUniformLocationWithMatrix2fv>(L,
                                                                                      "setUniformLocationWithMatrix2fv");
}
int lua_setUniformLocationWithMatrix3fv(lua_State* L) {
    return uniformArray<GLfloat, 9, &GLProgram::setUniformLocationWithMatrix3fv>(L,
                                                                                      "setUniformLocationWithMatrix3fv");
}
int lua_setUniformLocationWithMatrix4fv(lua_State* L) {
    return uniformArray<GLfloat, 16, &GLProgram::setUniformLocationWithMatrix4fv>(
        L, "setUniformLocationWithMatrix4fv");
}

int lua_GLProgramState_setVertexAttribPointer(lua_State* L) {
    constexpr const char* fullName = "cc.GLProgramState:setVertexAttribPointer";
    GLProgramState* state = checkSelf<GLProgramState>(L, "cc.GLProgramState", "setVertexAttribPointer");
    const int argc = argumentCount(L);
    if (argc != 6) return countError(L, fullName, argc, 6, " \n");
    std::string name;
    int32_t size = 0, stride = 0;
    long type = 0;
    bool normalized = false;
    uint32_t offset = 0;
    bool ok = luaconv_read_std_string(L, 2, &name, fullName);
    ok = luaconv_read_int32(L, 3, &size, fullName) && ok;
    ok = luaconv_read_long(L, 4, &type, fullName) && ok;
    ok = luaconv_read_bool(L, 5, &normalized, fullName) && ok;
    ok = luaconv_read_int32(L, 6, &stride, fullName) && ok;
    ok = luaconv_read_uint32(L, 7, &offset, fullName) && ok;
    if (!ok) return 0;
    state->setVertexAttribPointer(name, size, static_cast<GLenum>(type), normalized ? GL_TRUE : GL_FALSE, stride,
                                  reinterpret_cast<const GLvoid*>(static_cast<uintptr_t>(offset)));
    lua_settop(L, 1);
    return 1;
}

}  // namespace

void register_gl_program_manual(lua_State* L) {
    const ClassFunction functions[] = {
        {"create", lua_GLProgram_create},
        {"getProgram", lua_GLProgram_getProgram},
        {"setUniformLocationF32", lua_GLProgram_setUniformLocationF32},
        {"getUniform", lua_GLProgram_getRecord<false>},
        {"getVertexAttrib", lua_GLProgram_getRecord<true>},
        {"setUniformLocationWith2iv", lua_setUniformLocationWith2iv},
        {"setUniformLocationWith3iv", lua_setUniformLocationWith3iv},
        {"setUniformLocationWith4iv", lua_setUniformLocationWith4iv},
        {"setUniformLocationWithMatrix2fv", lua_setUniformLocationWithMatrix2fv},
        {"setUniformLocationWithMatrix3fv", lua_setUniformLocationWithMatrix3fv},
        {"setUniformLocationWithMatrix4fv", lua_setUniformLocationWithMatrix4fv},
    };
    addClassFunctions(L, kProgram, functions);
}

void register_gl_program_state_manual(lua_State* L) {
    const ClassFunction functions[] = {{"setVertexAttribPointer", lua_GLProgramState_setVertexAttribPointer}};
    addClassFunctions(L, "cc.GLProgramState", functions);
}

}  // namespace bindings
