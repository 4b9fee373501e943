#pragma once
// The message-box, file-dialog and edit-box services of the player. Text is UTF-8.
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "host/player/PlayerServiceProtocol.h"

namespace player {

class PlayerMessageBoxServiceProtocol : public PlayerServiceProtocol {
public:
    // Button sets; any other value shows an information box with OK.
    static constexpr int BUTTONS_OK_CANCEL = 1;
    static constexpr int BUTTONS_YES_NO = 2;
    static constexpr int BUTTONS_YES_NO_CANCEL = 3;
    // Answers.
    static constexpr int BUTTON_OK = 0;
    static constexpr int BUTTON_CANCEL = 1;
    static constexpr int BUTTON_YES = 2;
    static constexpr int BUTTON_NO = 3;

    // Blocks until answered.
    virtual int showMessageBox(const std::string& title, const std::string& message, int buttons) = 0;
};

class PlayerFileDialogServiceProtocol : public PlayerServiceProtocol {
public:
    // `extensions`: groups cut at ';', each "Description|pattern,pattern" or just the
    // patterns; "" offers all files. Empty results mean cancelled.
    virtual std::string openFile(const std::string& title, const std::string& directory,
                                 const std::string& extensions) = 0;
    virtual std::vector<std::string> openMultiple(const std::string& title, const std::string& directory,
                                                  const std::string& extensions) = 0;
    virtual std::string saveFile(const std::string& title, const std::string& path) = 0;
    virtual std::string openDirectory(const std::string& title, const std::string& directory) = 0;
};

class PlayerEditBoxServiceProtocol : public PlayerServiceProtocol {
public:
    // `rect` in the window's client coordinates: moves the edit field there, shows it
    // and gives it the keyboard focus.
    virtual void showSingleLineEditBox(const engine::Rect& rect) = 0;
    virtual void showMultiLineEditBox(const engine::Rect& rect) = 0;
    // `size` in points; replaces the font of both fields.
    virtual void setFont(const std::string& name, int size) = 0;
};

}  // namespace player
