#pragma once
// The player: the one object through which the desktop host offers its platform
// services (menus, message boxes, file dialogs, edit boxes, tasks). At most one
// exists; a second construction is an assertion failure and leaves the first as
// the instance.
namespace player {

class PlayerFileDialogServiceProtocol;
class PlayerMessageBoxServiceProtocol;
class PlayerMenuServiceProtocol;
class PlayerEditBoxServiceProtocol;
class PlayerTaskServiceProtocol;

class PlayerProtocol {
public:
    virtual ~PlayerProtocol();
    virtual PlayerFileDialogServiceProtocol* getFileDialogService() = 0;
    virtual PlayerMessageBoxServiceProtocol* getMessageBoxService() = 0;
    virtual PlayerMenuServiceProtocol* getMenuService() = 0;
    virtual PlayerEditBoxServiceProtocol* getEditBoxService() = 0;
    virtual PlayerTaskServiceProtocol* getTaskService() = 0;

    // The instance, or null.
    static PlayerProtocol* getInstance();

protected:
    PlayerProtocol();

private:
    bool _registered = false;
};

}  // namespace player
