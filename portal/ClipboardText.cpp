#include "portal/ClipboardText.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/Clipboard.h"
#include "platform/NativeWindow.h"
#include "platform/Utf16.h"
#include "portal/GameWindow.h"

namespace portal {
namespace {

constexpr int kOpenAttempts = 5;
constexpr auto kOpenRetryDelay = std::chrono::milliseconds(15);
constexpr size_t kMaxReadUnits = 65536;

bool openWithRetries(platform::HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (platform::openClipboard(owner)) return true;
        std::this_thread::sleep_for(kOpenRetryDelay);
    }
    return false;
}

}  // namespace

bool readClipboardText(std::u16string* text) {
    if (text) text->clear();
    // The desktop's clipboard when there is a display, the window model's otherwise.
    if (platform::nativeDisplayAvailable()) {
        std::string utf8;
        if (!platform::readNativeClipboardText(&utf8)) return false;
        std::u16string read = platform::utf8ToWide(utf8);
        if (read.size() > kMaxReadUnits) read.resize(kMaxReadUnits);
        if (size_t zero = read.find(u'\0'); zero != std::u16string::npos) read.resize(zero);
        if (text) *text = std::move(read);
        return true;
    }
    if (!platform::isClipboardFormatAvailable(platform::CF_UNICODETEXT)) return false;
    if (!openWithRetries(gameWindow())) return false;
    bool ok = false;
    if (platform::HGLOBAL block = platform::getClipboardData(platform::CF_UNICODETEXT)) {
        if (const void* data = platform::globalLock(block)) {
            const size_t units = std::min(platform::globalSize(block) / 2, kMaxReadUnits);
            std::u16string read(units, u'\0');
            if (units) std::memcpy(read.data(), data, units * 2);
            if (size_t zero = read.find(u'\0'); zero != std::u16string::npos) read.resize(zero);
            if (text) *text = std::move(read);
            platform::globalUnlock(block);
            ok = true;
        }
    }
    platform::closeClipboard();
    return ok;
}

bool getClipText(std::string* utf8) {
    std::u16string text;
    const bool ok = readClipboardText(&text);
    if (utf8) *utf8 = ok ? platform::wideToUtf8(text) : std::string();
    return ok;
}

bool setClipText(const std::string& utf8) {
    if (platform::nativeDisplayAvailable()) return platform::writeNativeClipboardText(utf8);
    const platform::HWND owner = gameWindow();
    if (!owner) return false;
    const std::u16string text = platform::utf8ToWide(utf8);
    if (!openWithRetries(owner)) return false;
    bool ok = false;
    if (platform::emptyClipboard()) {
        const size_t bytes = (text.size() + 1) * sizeof(char16_t);
        if (platform::HGLOBAL block = platform::globalAlloc(platform::GMEM_MOVEABLE, bytes)) {
            if (void* data = platform::globalLock(block)) {
                std::memcpy(data, text.c_str(), bytes);
                platform::globalUnlock(block);
                ok = platform::setClipboardData(platform::CF_UNICODETEXT, block) != 0;
            }
            if (!ok) platform::globalFree(block);
        }
    }
    platform::closeClipboard();
    return ok;
}

}  // namespace portal
