#pragma once
// Reference-counted base of every engine object.
#include <cstdint>

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

}  // namespace engine
