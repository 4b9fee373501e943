#pragma once
// Allocation hooks and file access of the skeleton runtime. Every record of the
// runtime is allocated through skeleton_malloc/skeleton_calloc with the allocating
// source file's name and line, and freed through skeleton_free. The hooks are
// process-wide and meant to be set before the first allocation. The engine glue
// (SkeletonHooks.cpp) supplies the three engine hooks declared at the end.
#include <cstddef>

void* skeleton_malloc(size_t size, const char* file, int line);
// count * size zero bytes; an overflowing product aborts like a failed allocation.
void* skeleton_calloc(size_t count, size_t size, const char* file, int line);
void skeleton_free(void* ptr);

// A null hook restores the default (C library malloc/free, no debug hook).
void skeleton_setMallocHook(void* (*malloc)(size_t size));
void skeleton_setDebugMallocHook(void* (*malloc)(size_t size, const char* file, int line));
void skeleton_setFreeHook(void (*free)(void* ptr));

// Whole file read in binary mode into a skeleton_malloc buffer without terminator;
// *length is its size. Null (length 0) when the file cannot be opened or read.
char* skeleton_readFile(const char* path, int* length);

// Copy of a string through the hooks; null for null.
char* skeleton_strdup(const char* text, const char* file, int line);

// Engine hooks.
struct spAtlasPage;
// Loads the page texture from path and stores it in page->rendererObject with the
// page's width and height taken from its pixel size.
void skeleton_createTexture(spAtlasPage* page, const char* path);
void skeleton_disposeTexture(spAtlasPage* page);
// Whole file through the engine's file utilities, in a skeleton_malloc buffer of
// exactly *length bytes (no terminator); null when it cannot be read.
char* skeleton_readFileHook(const char* path, int* length);

#if defined(__FILE_NAME__)
#define SK_SOURCE_NAME __FILE_NAME__
#else
#define SK_SOURCE_NAME __FILE__
#endif

#define SK_MALLOC(TYPE, COUNT) \
    (static_cast<TYPE*>(skeleton_malloc(sizeof(TYPE) * static_cast<size_t>(COUNT), SK_SOURCE_NAME, __LINE__)))
#define SK_CALLOC(TYPE, COUNT) \
    (static_cast<TYPE*>(skeleton_calloc(static_cast<size_t>(COUNT), sizeof(TYPE), SK_SOURCE_NAME, __LINE__)))
#define SK_NEW(TYPE) SK_CALLOC(TYPE, 1)
#define SK_FREE(PTR) skeleton_free(const_cast<void*>(static_cast<const void*>(PTR)))
#define SK_STRDUP(TEXT) skeleton_strdup((TEXT), SK_SOURCE_NAME, __LINE__)
