#pragma once
// The image a polygon is to be traced from, named by its file. It holds the
// name only: the image is neither read nor traced yet.
//
// Not reference counted: whoever creates one deletes it. Not thread-safe.
#include <string>
#include <utility>

namespace engine {

class AutoPolygon {
public:
    explicit AutoPolygon(std::string filename) : _filename(std::move(filename)) {}

    const std::string& getFilename() const { return _filename; }

private:
    std::string _filename;
};

}  // namespace engine
