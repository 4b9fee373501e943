#pragma once
// The object that script handlers of armature events are filed under: one per
// registration (a movement or frame callback of an armature animation, or an
// asynchronous armature load). The callback that uses it holds it; when the last
// holder lets go, the wrapper is destroyed and its handlers are released with it,
// since no script ever sees the wrapper to release them. Main thread only.
#include "engine/base/Ref.h"

namespace bindings {

class LuaArmatureWrapper : public engine::Ref {
public:
    // Autoreleased.
    static LuaArmatureWrapper* create();
    ~LuaArmatureWrapper() override;

    // The asynchronous load's progress: the wrapper's armature handler gets the percent.
    void addArmatureFileInfoAsyncCallback(float percent);

private:
    LuaArmatureWrapper() = default;
};

// Hands an armature event record (engine/script/ScriptEvent.h) to the Lua engine
// under the wrapper's handler. Nothing when no Lua engine runs.
void sendArmatureEvent(LuaArmatureWrapper* wrapper, int eventType, void* record);

}  // namespace bindings
