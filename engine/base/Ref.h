#pragma once
// Reference-counted base of every engine object.
#include <cstdint>
#include <type_traits>

namespace engine {

class Ref {
public:
    virtual ~Ref();

    void retain();
    void release();          // deletes the object when the count reaches 0
    Ref* autorelease();      // adds to the current autorelease pool
    unsigned int getReferenceCount() const { return _referenceCount; }

    // Unique for every object ever created, never 0.
    unsigned int _ID = 0;
    // Object id under which the script engine knows this object; 0 until first pushed.
    int _luaID = 0;

protected:
    Ref();

private:
    unsigned int _referenceCount = 1;
};

// The end of a create() that cannot fail: the new object, autoreleased.
template <class T>
T* autoreleased(T* object) {
    object->autorelease();
    return object;
}

// The end of a create() whose init may fail: the object, autoreleased, when its
// init succeeded; otherwise it is deleted and the answer is nullptr.
template <class T>
T* autoreleased(T* object, bool initialised) {
    if (!initialised) {
        delete object;
        return nullptr;
    }
    return autoreleased(object);
}

// Points slot at object: the object is retained and the one the slot held
// released (either may be null; the object already held stays as it is).
template <class T>
void assignRetained(T*& slot, std::type_identity_t<T>* object) {
    if (object == slot) return;
    if (object) object->retain();
    if (slot) slot->release();
    slot = object;
}

}  // namespace engine
