#pragma once
// The dialog and edit-box services on the window system's message boxes, file
// dialogs and "Edit" child windows of the game window.
#include <string>
#include <vector>

#include "host/player/PlayerDialogServiceProtocols.h"
#include "platform/Font.h"
#include "platform/Window.h"

namespace player {

class PlayerMessageBoxServiceWin : public PlayerMessageBoxServiceProtocol {
public:
    explicit PlayerMessageBoxServiceWin(platform::HWND hwnd) : _hwnd(hwnd) {}
    int showMessageBox(const std::string& title, const std::string& message, int buttons) override;

private:
    platform::HWND _hwnd;
};

class PlayerFileDialogServiceWin : public PlayerFileDialogServiceProtocol {
public:
    explicit PlayerFileDialogServiceWin(platform::HWND hwnd) : _hwnd(hwnd) {}
    std::string openFile(const std::string& title, const std::string& directory,
                         const std::string& extensions) override;
    std::vector<std::string> openMultiple(const std::string& title, const std::string& directory,
                                          const std::string& extensions) override;
    std::string saveFile(const std::string& title, const std::string& path) override;
    std::string openDirectory(const std::string& title, const std::string& directory) override;

    // The dialog's filter list for `extensions` (display text and pattern pairs, each
    // ended by '\0', the list by one more); empty groups are left out.
    static std::string buildFilter(const std::string& extensions);
    // The chosen paths of a multiple-selection answer buffer.
    static std::vector<std::string> splitSelection(const std::string& buffer);

private:
    std::vector<std::string> openMultipleInternal(const std::string& title, const std::string& directory,
                                                  const std::string& extensions, bool multiple);
    platform::HWND _hwnd;
};

class PlayerEditBoxServiceWin : public PlayerEditBoxServiceProtocol {
public:
    explicit PlayerEditBoxServiceWin(platform::HWND hwnd);
    ~PlayerEditBoxServiceWin() override;

    void showSingleLineEditBox(const engine::Rect& rect) override;
    void showMultiLineEditBox(const engine::Rect& rect) override;
    void setFont(const std::string& name, int size) override;

    platform::HWND getSingleLineEdit() const { return _single; }
    platform::HWND getMultiLineEdit() const { return _multi; }
    platform::HFONT getFont() const { return _font; }

    static constexpr uint32_t kSingleLineStyle = platform::WS_CHILD | platform::ES_AUTOHSCROLL;
    static constexpr uint32_t kMultiLineStyle = platform::WS_CHILD | platform::WS_VSCROLL | platform::ES_MULTILINE |
                                                platform::ES_AUTOVSCROLL | platform::ES_WANTRETURN;

private:
    void show(platform::HWND edit, const engine::Rect& rect);
    void dropFont();

    platform::HWND _hwnd;
    platform::HWND _single = 0;
    platform::HWND _multi = 0;
    platform::HFONT _font = 0;
};

}  // namespace player
