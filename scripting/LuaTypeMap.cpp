#include "scripting/LuaTypeMap.h"

LuaTypeNameMap luaTypeMap;
std::unordered_map<std::string, std::string> luaClassNameMap;
