#pragma once
// The record WM_COPYDATA carries (lParam), as Win32 has it: a caller-chosen tag,
// a byte count and the bytes, valid only while the message is being handled.
#include <cstdint>

#include "platform/Window.h"

namespace platform {

struct COPYDATASTRUCT {
    uintptr_t dwData = 0;
    uint32_t cbData = 0;
    const void* lpData = nullptr;
};

}  // namespace platform
