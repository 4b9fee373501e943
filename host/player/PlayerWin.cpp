#include "host/player/PlayerWin.h"

#include "engine/script/ScriptEngineManager.h"
#include "host/player/PlayerMenuServiceWin.h"
#include "host/player/PlayerTaskServiceWin.h"

namespace player {

PlayerWin* PlayerWin::createWithInstanceHandle(platform::HWND hwnd) {
    const bool first = PlayerProtocol::getInstance() == nullptr;
    auto* player = new PlayerWin();
    if (!first) {   // the constructor has reported it
        player->release();
        return nullptr;
    }
    player->_hwnd = hwnd;
    player->initServices();
    return player;
}

PlayerWin::~PlayerWin() {
    // Tasks first: stopping them dispatches their events.
    _taskService.reset();
}

void PlayerWin::initServices() {
    if (_menuService) {
        engine::ScriptEngineManager::sendAssert("CAN'T INITIALIZATION SERVICES MORE THAN ONCE");
        return;
    }
    _menuService = std::make_unique<PlayerMenuServiceWin>(_hwnd);
    _taskService = std::make_unique<PlayerTaskServiceWin>(_hwnd);
}

PlayerFileDialogServiceProtocol* PlayerWin::getFileDialogService() { return nullptr; }
PlayerMessageBoxServiceProtocol* PlayerWin::getMessageBoxService() { return nullptr; }
PlayerMenuServiceProtocol* PlayerWin::getMenuService() { return _menuService.get(); }
PlayerEditBoxServiceProtocol* PlayerWin::getEditBoxService() { return nullptr; }
PlayerTaskServiceProtocol* PlayerWin::getTaskService() { return _taskService.get(); }

}  // namespace player
