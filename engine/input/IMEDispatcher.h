#pragma once
// The input method's dispatcher: at most one delegate is attached at a time, and
// typed text and deletions go to it. Main thread only.
//
// Contract:
// - Each attachment gets a serial one above the previous one (never 0), also when
//   the same delegate attaches again; a reader can so tell a new attachment (a new
//   click into the same field) from the old one.
// - Dispatching with nothing attached does nothing.
#include <cstddef>

namespace engine {

class IMEDelegate;

class IMEDispatcher {
public:
    static IMEDispatcher* sharedDispatcher();

    bool attachDelegateWithIME(IMEDelegate* delegate);   // false for null
    bool detachDelegateWithIME(IMEDelegate* delegate);   // false when not attached
    // A delegate going away: detached when attached.
    void removeDelegate(IMEDelegate* delegate);

    // The attached delegate (null when none); `serial` (optional) gets the serial
    // of its attachment, 0 when none.
    IMEDelegate* getAttachedDelegate(unsigned int* serial = nullptr) const;

    void dispatchInsertText(const char* text, size_t length);
    void dispatchDeleteBackward();

private:
    IMEDispatcher() = default;
    IMEDelegate* _attached = nullptr;
    unsigned int _serial = 0;
    unsigned int _lastSerial = 0;
};

}  // namespace engine
