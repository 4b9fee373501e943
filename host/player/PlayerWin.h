#pragma once
// The player of the game window: creates its five services for the window once and
// owns them until it is destroyed (the program keeps it to the end).
#include <memory>

#include "engine/base/Ref.h"
#include "host/player/PlayerProtocol.h"
#include "platform/Window.h"

namespace player {

class PlayerMenuServiceWin;
class PlayerMessageBoxServiceWin;
class PlayerFileDialogServiceWin;
class PlayerEditBoxServiceWin;
class PlayerTaskServiceWin;

class PlayerWin : public PlayerProtocol, public engine::Ref {
public:
    // Creates the player for the window and its services. Not autoreleased.
    static PlayerWin* createWithInstanceHandle(platform::HWND hwnd);
    ~PlayerWin() override;

    PlayerFileDialogServiceProtocol* getFileDialogService() override;
    PlayerMessageBoxServiceProtocol* getMessageBoxService() override;
    PlayerMenuServiceProtocol* getMenuService() override;
    PlayerEditBoxServiceProtocol* getEditBoxService() override;
    PlayerTaskServiceProtocol* getTaskService() override;

    platform::HWND getWindowHandle() const { return _hwnd; }

protected:
    PlayerWin() = default;
    // Creates the services; a second call is an assertion failure and changes nothing.
    void initServices();

private:
    std::unique_ptr<PlayerMenuServiceWin> _menuService;
    std::unique_ptr<PlayerMessageBoxServiceWin> _messageBoxService;
    std::unique_ptr<PlayerFileDialogServiceWin> _fileDialogService;
    std::unique_ptr<PlayerEditBoxServiceWin> _editBoxService;
    std::unique_ptr<PlayerTaskServiceWin> _taskService;
    platform::HWND _hwnd = 0;
};

}  // namespace player
