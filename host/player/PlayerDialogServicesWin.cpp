#include "host/player/PlayerDialogServicesWin.h"

#include <unistd.h>

#include <cmath>
#include <memory>

#include "engine/base/Log.h"
#include "platform/Dialogs.h"
#include "platform/Monitor.h"

namespace player {

namespace {

constexpr uint32_t kOpenFlags = platform::OFN_HIDEREADONLY | platform::OFN_PATHMUSTEXIST |
                                platform::OFN_FILEMUSTEXIST | platform::OFN_LONGNAMES |
                                platform::OFN_ENABLESIZING | platform::OFN_DONTADDTORECENT;
constexpr uint32_t kSaveFlags = platform::OFN_HIDEREADONLY | platform::OFN_PATHMUSTEXIST |
                                platform::OFN_LONGNAMES | platform::OFN_ENABLESIZING |
                                platform::OFN_DONTADDTORECENT;

const std::string kAllFilesFilter = std::string("All Files (*.*)") + '\0' + "*.*" + '\0' + '\0';

std::string currentDirectory() {
    std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string();
}

}  // namespace

// ---------------------------------------------------------------------------
// Message box

int PlayerMessageBoxServiceWin::showMessageBox(const std::string& title, const std::string& message,
                                               int buttons) {
    engine::log("PlayerMessageBoxServiceWin::showMessageBox() - title = %s, message = %s", title.c_str(),
                message.c_str());
    platform::UINT style;
    switch (buttons) {
    case BUTTONS_OK_CANCEL: style = platform::MB_OKCANCEL | platform::MB_ICONQUESTION; break;
    case BUTTONS_YES_NO: style = platform::MB_YESNO | platform::MB_ICONQUESTION; break;
    case BUTTONS_YES_NO_CANCEL: style = platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION; break;
    default: style = platform::MB_OK | platform::MB_ICONINFORMATION; break;
    }
    const int answer = platform::messageBox(_hwnd, message, title, style);
    int result = BUTTON_OK;
    if (answer == platform::IDCANCEL) result = BUTTON_CANCEL;
    if (answer == platform::IDYES) result = BUTTON_YES;
    if (answer == platform::IDNO) result = BUTTON_NO;
    engine::log("PlayerMessageBoxServiceWin::showMessageBox() - result = %d", result);
    return result;
}

// ---------------------------------------------------------------------------
// File dialogs

std::string PlayerFileDialogServiceWin::buildFilter(const std::string& extensions) {
    if (extensions.empty()) return kAllFilesFilter;
    std::string filter;
    size_t pos = 0;
    while (pos <= extensions.size()) {
        size_t end = extensions.find(';', pos);
        if (end == std::string::npos) end = extensions.size();
        const std::string group = extensions.substr(pos, end - pos);
        pos = end + 1;
        const size_t bar = group.find('|');
        const std::string description = bar == std::string::npos ? group : group.substr(0, bar);
        std::string patterns = bar == std::string::npos ? group : group.substr(bar + 1);
        // An empty pattern would end the dialog's list early.
        if (patterns.empty()) continue;
        for (char& c : patterns) {
            if (c == ',') c = ';';
        }
        filter += description + " (" + patterns + ")" + '\0' + patterns + '\0';
    }
    if (filter.empty()) return kAllFilesFilter;
    filter += '\0';
    return filter;
}

std::vector<std::string> PlayerFileDialogServiceWin::splitSelection(const std::string& buffer) {
    const std::vector<std::string> parts = platform::splitZeroList(buffer);
    if (parts.size() <= 1) return parts;   // one chosen file: its full path
    const std::string& folder = parts.front();
    std::vector<std::string> paths;
    for (size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(folder + (folder.back() == '/' ? "" : "/") + parts[i]);
    }
    return paths;
}

std::vector<std::string> PlayerFileDialogServiceWin::openMultipleInternal(const std::string& title,
                                                                          const std::string& directory,
                                                                          const std::string& extensions,
                                                                          bool multiple) {
    platform::OpenFileName ofn;
    ofn.owner = _hwnd;
    ofn.title = title;
    ofn.initialDir = directory.empty() ? currentDirectory() : directory;
    ofn.filter = buildFilter(extensions);
    ofn.flags = kOpenFlags | (multiple ? platform::OFN_ALLOWMULTISELECT | platform::OFN_EXPLORER : 0);
    if (!platform::getOpenFileName(ofn)) {
        if (const platform::DWORD error = platform::commDlgExtendedError()) {
            engine::log("PlayerFileDialogServiceWin::openMultipleInternal() - failed, title (%s),  error code = %u",
                        title.c_str(), error);
        }
        return {};
    }
    if (!multiple) return ofn.file.empty() ? std::vector<std::string>{} : std::vector<std::string>{ofn.file};
    return splitSelection(ofn.file);
}

std::string PlayerFileDialogServiceWin::openFile(const std::string& title, const std::string& directory,
                                                 const std::string& extensions) {
    const auto paths = openMultipleInternal(title, directory, extensions, false);
    return paths.empty() ? std::string() : paths.front();
}

std::vector<std::string> PlayerFileDialogServiceWin::openMultiple(const std::string& title,
                                                                  const std::string& directory,
                                                                  const std::string& extensions) {
    return openMultipleInternal(title, directory, extensions, true);
}

std::string PlayerFileDialogServiceWin::saveFile(const std::string& title, const std::string& path) {
    platform::OpenFileName ofn;
    ofn.owner = _hwnd;
    ofn.title = title;
    ofn.file = path;
    ofn.filter = kAllFilesFilter;
    ofn.flags = kSaveFlags;
    if (!platform::getSaveFileName(ofn)) {
        if (const platform::DWORD error = platform::commDlgExtendedError()) {
            engine::log("PlayerFileDialogServiceWin::saveFile() - failed, title (%s),  error code = %u",
                        title.c_str(), error);
        }
        return {};
    }
    return ofn.file;
}

std::string PlayerFileDialogServiceWin::openDirectory(const std::string& title, const std::string& directory) {
    platform::BrowseInfo info;
    info.owner = _hwnd;
    info.title = title;
    info.flags = platform::BIF_RETURNONLYFSDIRS | platform::BIF_NEWDIALOGSTYLE | platform::BIF_NONEWFOLDERBUTTON;
    info.initialFolder = directory.empty() ? currentDirectory() : directory;
    return platform::browseForFolder(info);
}

// ---------------------------------------------------------------------------
// Edit boxes

PlayerEditBoxServiceWin::PlayerEditBoxServiceWin(platform::HWND hwnd) : _hwnd(hwnd) {
    platform::WindowDesc desc;
    desc.className = "Edit";
    desc.parent = hwnd;
    desc.visible = false;
    desc.frameLeft = desc.frameTop = desc.frameRight = desc.frameBottom = 0;
    desc.exStyle = platform::WS_EX_CLIENTEDGE;
    desc.style = kSingleLineStyle;
    _single = platform::createWindow(desc);
    desc.style = kMultiLineStyle;
    _multi = platform::createWindow(desc);
}

PlayerEditBoxServiceWin::~PlayerEditBoxServiceWin() {
    dropFont();
    platform::destroyWindow(_single);
    platform::destroyWindow(_multi);
}

void PlayerEditBoxServiceWin::show(platform::HWND edit, const engine::Rect& rect) {
    platform::POINT origin{static_cast<int>(rect.origin.x), static_cast<int>(rect.origin.y)};
    platform::clientToScreen(_hwnd, &origin);   // the model places children on the screen
    platform::moveWindow(edit, origin.x, origin.y, static_cast<int>(rect.size.width),
                         static_cast<int>(rect.size.height), true);
    platform::showWindow(edit, true);
    platform::setFocus(edit);
}

void PlayerEditBoxServiceWin::showSingleLineEditBox(const engine::Rect& rect) { show(_single, rect); }
void PlayerEditBoxServiceWin::showMultiLineEditBox(const engine::Rect& rect) { show(_multi, rect); }

void PlayerEditBoxServiceWin::dropFont() {
    if (!_font) return;
    platform::sendMessage(_single, platform::WM_SETFONT, 0, 0);
    platform::sendMessage(_multi, platform::WM_SETFONT, 0, 0);
    platform::deleteObject(_font);
    _font = 0;
}

void PlayerEditBoxServiceWin::setFont(const std::string& name, int size) {
    dropFont();
    const int dpi = platform::getScreenDeviceCaps(platform::LOGPIXELSY);
    platform::FontDesc desc;
    desc.height = -static_cast<int>(std::lround(static_cast<double>(size) * dpi / 72.0));   // MulDiv rounding
    desc.weight = 400;
    desc.faceName = name;
    const platform::HFONT font = platform::createFont(desc);
    if (!font) {
        engine::log("PlayerEditBoxServiceWin::setFont() - create HFONT for font \"%s\" failed, error code = 0x%08x",
                    name.c_str(), platform::getLastError());
        return;
    }
    _font = font;
    platform::sendMessage(_single, platform::WM_SETFONT, _font, 0);
    platform::sendMessage(_multi, platform::WM_SETFONT, _font, 0);
}

}  // namespace player
