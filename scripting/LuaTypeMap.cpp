#include "scripting/LuaTypeMap.h"

std::unordered_map<std::string, std::string> luaTypeMap;
std::unordered_map<std::string, std::string> luaClassNameMap;
