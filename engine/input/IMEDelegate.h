#pragma once
// A receiver of text input: whatever is attached to the input method gets the
// typed text and the deletions (through the IMEDispatcher).
#include <cstddef>
#include <string>

namespace engine {

class IMEDelegate {
public:
    // Detaches itself when it is the attached delegate.
    virtual ~IMEDelegate();

    // Becomes the attached delegate; every attachment, of the same delegate too,
    // gets a new serial.
    virtual bool attachWithIME();
    // Stops being the attached delegate; false when it was not.
    virtual bool detachWithIME();

    virtual void insertText(const char* /*text*/, size_t /*length*/) {}
    virtual void deleteBackward() {}
    virtual const std::string& getContentText();

protected:
    IMEDelegate() = default;
};

}  // namespace engine
