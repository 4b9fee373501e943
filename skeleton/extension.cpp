#include "skeleton/extension.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/base/Log.h"

namespace {

void* (*mallocHook)(size_t) = std::malloc;
void* (*debugMallocHook)(size_t, const char*, int) = nullptr;
void (*freeHook)(void*) = std::free;

[[noreturn]] void outOfMemory(size_t size, const char* file, int line) {
    engine::log("skeleton: allocation of %zu bytes failed (%s:%d)", size, file ? file : "?", line);
    std::abort();
}

}  // namespace

void* skeleton_malloc(size_t size, const char* file, int line) {
    void* p = debugMallocHook ? debugMallocHook(size, file, line) : mallocHook(size);
    if (!p && size != 0) outOfMemory(size, file, line);
    return p;
}

void* skeleton_calloc(size_t count, size_t size, const char* file, int line) {
    if (size != 0 && count > static_cast<size_t>(-1) / size) outOfMemory(static_cast<size_t>(-1), file, line);
    void* p = skeleton_malloc(count * size, file, line);
    if (p) std::memset(p, 0, count * size);
    return p;
}

void skeleton_free(void* ptr) { freeHook(ptr); }

void skeleton_setMallocHook(void* (*malloc)(size_t)) { mallocHook = malloc ? malloc : std::malloc; }
void skeleton_setDebugMallocHook(void* (*malloc)(size_t, const char*, int)) { debugMallocHook = malloc; }
void skeleton_setFreeHook(void (*free)(void*)) { freeHook = free ? free : std::free; }

char* skeleton_strdup(const char* text, const char* file, int line) {
    if (!text) return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(skeleton_malloc(n, file, line));
    std::memcpy(copy, text, n);
    return copy;
}

char* skeleton_readFile(const char* path, int* length) {
    *length = 0;
    FILE* file = path ? std::fopen(path, "rbe") : nullptr;
    if (!file) return nullptr;
    char* data = nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size >= 0 && size <= 0x7fffffff && std::fseek(file, 0, SEEK_SET) == 0) {
        data = SK_MALLOC(char, size > 0 ? size : 1);
        if (std::fread(data, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size)) {
            *length = static_cast<int>(size);
        } else {
            SK_FREE(data);
            data = nullptr;
        }
    }
    std::fclose(file);
    return data;
}
