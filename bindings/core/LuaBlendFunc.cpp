#include "bindings/core/LuaBlendFunc.h"

#include <cstdint>
#include <string>

#include "scripting/LuaValueConversions.h"

namespace bindings {

void setBlendFuncFromNumbers(lua_State* L, const char* className, engine::BlendProtocol* self) {
    if (!className || !*className || !self) return;
    const std::string name = std::string(className) + ":setBlendFunc";
    int32_t src = 0, dst = 0;
    if (!luaconv_read_int32(L, 2, &src, name.c_str())) return;
    if (!luaconv_read_int32(L, 3, &dst, name.c_str())) return;
    self->setBlendFunc(engine::BlendFunc{static_cast<uint32_t>(src), static_cast<uint32_t>(dst)});
}

}  // namespace bindings
