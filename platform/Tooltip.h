#pragma once
// The tooltip control of the window-system model ("tooltips_class32") with the
// TTM_ messages the program sends, and the common-controls initialisation.
//
// Contract:
// - Tools are keyed by (owner window, id); with TTF_IDISHWND the id is the tool's
//   window. A TTTOOLINFO record must give one of the sizes Win32 accepts (44, 48
//   or 52 bytes) in cbSize, else the message answers 0 and changes nothing.
// - hoverTool stands in for the mouse resting on a tool window: the tooltip that
//   knows it gets the tool's text as its window text and is shown (without
//   activation). TTM_POP hides it.
// Main thread only.
#include <string>

#include "platform/Window.h"

namespace platform {

inline constexpr char TOOLTIPS_CLASS[] = "tooltips_class32";
inline constexpr uint32_t TTS_ALWAYSTIP = 0x01;
inline constexpr uint32_t TTS_NOPREFIX = 0x02;
inline constexpr UINT TTF_IDISHWND = 0x0001;
inline constexpr UINT TTF_SUBCLASS = 0x0010;

inline constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;    // 0x40D
inline constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;  // 0x418
inline constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;  // 0x419
inline constexpr UINT TTM_POP = WM_USER + 28;             // 0x41C
inline constexpr UINT TTM_ADDTOOLW = WM_USER + 50;        // 0x432
inline constexpr UINT TTM_DELTOOLW = WM_USER + 51;        // 0x433
inline constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;  // 0x439

// Common-controls classes (InitCommonControlsEx); every class is always there.
inline constexpr uint32_t ICC_WIN95_CLASSES = 0xFF;
bool initCommonControlsEx(uint32_t classes);

struct TTTOOLINFO {
    UINT cbSize = 0;
    UINT uFlags = 0;
    HWND hwnd = 0;           // owner of the tool
    uintptr_t uId = 0;       // the tool's id, or its window with TTF_IDISHWND
    RECT rect;
    uintptr_t hinst = 0;
    std::string text;        // UTF-8
    LPARAM lParam = 0;
};

// Shows the tip of the tool window `tool`; returns the tooltip window, 0 when no
// tooltip knows the tool.
HWND hoverTool(HWND tool);
// The text a tooltip holds for a tool ("" when it has no such tool).
std::string tooltipToolText(HWND tooltip, HWND owner, uintptr_t id);

}  // namespace platform
