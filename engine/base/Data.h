#pragma once
// An owned byte buffer (malloc'd, so buffers from C readers can be taken over).
#include <cstddef>
#include <cstdint>

namespace engine {

class Data {
public:
    static const Data Null;

    Data() = default;
    Data(const Data& other);
    Data(Data&& other) noexcept;
    ~Data();
    Data& operator=(const Data& other);
    Data& operator=(Data&& other) noexcept;

    unsigned char* getBytes() const { return _bytes; }
    ptrdiff_t getSize() const { return _size; }
    bool isNull() const { return _bytes == nullptr || _size == 0; }

    void copy(const unsigned char* bytes, ptrdiff_t size);   // copies
    void fastSet(unsigned char* bytes, ptrdiff_t size);      // takes a malloc'd buffer
    void clear();
    // Hands the buffer (malloc'd) to the caller and leaves this empty.
    unsigned char* takeBuffer(ptrdiff_t* size);

private:
    unsigned char* _bytes = nullptr;
    ptrdiff_t _size = 0;
};

}  // namespace engine
