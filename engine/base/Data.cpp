#include "engine/base/Data.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace engine {

const Data Data::Null;

Data::Data(const Data& other) { copy(other._bytes, other._size); }

Data::Data(Data&& other) noexcept
    : _bytes(std::exchange(other._bytes, nullptr)), _size(std::exchange(other._size, 0)) {}

Data::~Data() { clear(); }

Data& Data::operator=(const Data& other) {
    if (this != &other) copy(other._bytes, other._size);
    return *this;
}

Data& Data::operator=(Data&& other) noexcept {
    if (this != &other) {
        clear();
        _bytes = std::exchange(other._bytes, nullptr);
        _size = std::exchange(other._size, 0);
    }
    return *this;
}

void Data::copy(const unsigned char* bytes, ptrdiff_t size) {
    if (bytes == nullptr || size <= 0) {
        clear();
        return;
    }
    // Allocate before releasing, so copying from our own buffer stays valid.
    auto* fresh = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (fresh == nullptr) {
        clear();
        return;
    }
    std::memcpy(fresh, bytes, static_cast<size_t>(size));
    clear();
    _bytes = fresh;
    _size = size;
}

void Data::fastSet(unsigned char* bytes, ptrdiff_t size) {
    if (bytes != _bytes) std::free(_bytes);
    _bytes = bytes;
    _size = bytes != nullptr && size > 0 ? size : 0;
}

void Data::clear() {
    std::free(_bytes);
    _bytes = nullptr;
    _size = 0;
}

unsigned char* Data::takeBuffer(ptrdiff_t* size) {
    if (size != nullptr) *size = _size;
    _size = 0;
    return std::exchange(_bytes, nullptr);
}

}  // namespace engine
