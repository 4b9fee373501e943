#pragma once
// The fixed resource prefetcher, a Lua module kept in the program. The client-fix
// script swaps it in for the game's own prefetcher when the downloaded copy is the
// known faulty one.
//
// preloadFixedPrefetch(L) loads the embedded chunk under the name
// "FixedPrefetch.lua" (so its errors name that file and a line) and stores the
// loaded chunk in package.preload["vexo_native_fixed_prefetch_1011"]: requiring
// that name runs the chunk, which returns the module table with new(ctx).
// A chunk that does not load is logged and nothing is stored. Never raises; the
// Lua stack is left as it was. Main thread only.
#include <lua.hpp>

namespace host {

inline constexpr const char* kFixedPrefetchPreloadName = "vexo_native_fixed_prefetch_1011";

void preloadFixedPrefetch(lua_State* L);

}  // namespace host
