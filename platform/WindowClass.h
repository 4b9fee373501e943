#pragma once
// Window classes of the window-system model, by name (compared without ASCII
// case, as Win32 does). A window created with a registered class's name takes its
// procedure and is painted (platform/Paint.h). "BUTTON", "STATIC",
// "tooltips_class32" and the dialog class "#32770" are always registered.
// Main thread only.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Window.h"

namespace platform {

using ATOM = uint16_t;

inline constexpr int IDC_ARROW = 32512;

struct WNDCLASS {
    std::string className;
    WNDPROC proc = nullptr;
    UINT style = 0;
    int cursor = 0;                        // IDC_ value, 0 for none
    std::optional<uint32_t> background;    // ARGB colour WM_ERASEBKGND fills with by default
};

// 0 (ERROR_CLASS_ALREADY_EXISTS) for a name already registered, and for an empty
// name or a null procedure.
ATOM registerClass(const WNDCLASS& wc);
bool unregisterClass(const std::string& className);
bool getClassInfo(const std::string& className, WNDCLASS* wc);

}  // namespace platform
