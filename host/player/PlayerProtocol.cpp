#include "host/player/PlayerProtocol.h"

#include "engine/script/ScriptEngineManager.h"

namespace player {

namespace {
PlayerProtocol* s_instance = nullptr;
}

PlayerProtocol::PlayerProtocol() {
    if (s_instance) {
        engine::ScriptEngineManager::sendAssert("CAN NOT CREATE MORE PLAYER INSTANCE");
        return;
    }
    s_instance = this;
    _registered = true;
}

PlayerProtocol::~PlayerProtocol() {
    if (_registered) s_instance = nullptr;
}

PlayerProtocol* PlayerProtocol::getInstance() { return s_instance; }

}  // namespace player
