#pragma once
// The calling thread's last error number of the window-system model (as Win32's
// GetLastError): every model call that fails sets it; calls that succeed leave it.
#include <cstdint>

namespace platform {

using DWORD = uint32_t;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
inline constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

DWORD getLastError();
void setLastError(DWORD error);

}  // namespace platform
