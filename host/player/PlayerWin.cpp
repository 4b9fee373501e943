#include "host/player/PlayerWin.h"

#include "engine/script/ScriptEngineManager.h"
#include "host/player/PlayerDialogServicesWin.h"
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
    _messageBoxService = std::make_unique<PlayerMessageBoxServiceWin>(_hwnd);
    _fileDialogService = std::make_unique<PlayerFileDialogServiceWin>(_hwnd);
    _editBoxService = std::make_unique<PlayerEditBoxServiceWin>(_hwnd);
    _taskService = std::make_unique<PlayerTaskServiceWin>(_hwnd);
}

PlayerFileDialogServiceProtocol* PlayerWin::getFileDialogService() { return _fileDialogService.get(); }
PlayerMessageBoxServiceProtocol* PlayerWin::getMessageBoxService() { return _messageBoxService.get(); }
PlayerMenuServiceProtocol* PlayerWin::getMenuService() { return _menuService.get(); }
PlayerEditBoxServiceProtocol* PlayerWin::getEditBoxService() { return _editBoxService.get(); }
PlayerTaskServiceProtocol* PlayerWin::getTaskService() { return _taskService.get(); }

}  // namespace player
