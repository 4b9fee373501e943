#pragma once
// Script handlers of the assets managers and the particle pool's list.
//
// cc.AssetsManager:setDelegate(f, type) enters f under kind
// ASSETSMANAGER_PROGRESS + type (0 progress, 1 success, 2 error) on one native
// delegate per manager, made on the first call and owned by the manager (its
// user object): later calls add to it, and a second call of a type replaces
// that type's handler. A type outside 0..2 files nothing and keeps no
// reference. The delegate drops its handlers when it is destroyed with its
// manager. Handlers hear (percent), () and (error code).
//
// cc.EventListenerAssetsManagerEx:create(manager, f) makes a listener of the
// manager's events that calls f with the event as "cc.EventAssetsManagerEx";
// f's handler id belongs to the listener (a custom kind), released with it.
//
// cc.ParticlePool:getActiveDataList() gives one entry per live particle, each
// the pool itself, as nothing reads the particles from scripts. Main thread only.
#include <lua.hpp>

namespace bindings {

void register_assets_manager_functions(lua_State* L);

}  // namespace bindings
