#pragma once
#include <cstddef>
#include <vector>

namespace engine {

class Ref;

// Objects autoreleased during a frame; the director drains the pool once a frame.
class AutoreleasePool {
public:
    static AutoreleasePool* getInstance();
    void addObject(Ref* object);
    // Releases every object once (objects added while clearing are kept for the next drain).
    void clear();
    bool contains(const Ref* object) const;
    size_t size() const { return _objects.size(); }

private:
    std::vector<Ref*> _objects;
};

}  // namespace engine
