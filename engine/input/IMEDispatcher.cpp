#include "engine/input/IMEDispatcher.h"

#include "engine/input/IMEDelegate.h"

namespace engine {

IMEDelegate::~IMEDelegate() { IMEDispatcher::sharedDispatcher()->removeDelegate(this); }

bool IMEDelegate::attachWithIME() { return IMEDispatcher::sharedDispatcher()->attachDelegateWithIME(this); }

bool IMEDelegate::detachWithIME() { return IMEDispatcher::sharedDispatcher()->detachDelegateWithIME(this); }

const std::string& IMEDelegate::getContentText() {
    static const std::string empty;
    return empty;
}

IMEDispatcher* IMEDispatcher::sharedDispatcher() {
    static IMEDispatcher dispatcher;
    return &dispatcher;
}

bool IMEDispatcher::attachDelegateWithIME(IMEDelegate* delegate) {
    if (!delegate) return false;
    _attached = delegate;
    if (++_lastSerial == 0) ++_lastSerial;
    _serial = _lastSerial;
    return true;
}

bool IMEDispatcher::detachDelegateWithIME(IMEDelegate* delegate) {
    if (!delegate || delegate != _attached) return false;
    _attached = nullptr;
    _serial = 0;
    return true;
}

void IMEDispatcher::removeDelegate(IMEDelegate* delegate) { detachDelegateWithIME(delegate); }

IMEDelegate* IMEDispatcher::getAttachedDelegate(unsigned int* serial) const {
    if (serial) *serial = _serial;
    return _attached;
}

void IMEDispatcher::dispatchInsertText(const char* text, size_t length) {
    if (_attached && text && length) _attached->insertText(text, length);
}

void IMEDispatcher::dispatchDeleteBackward() {
    if (_attached) _attached->deleteBackward();
}

}  // namespace engine
