#include "engine/zip/Unzip.h"

namespace engine {

unzFile unzOpen(const char* path) {
    if (!path) return nullptr;
    return ::unzOpen64(path);
}

unzFile unzOpen(const std::string& path) { return ::unzOpen64(path.c_str()); }

int unzClose(unzFile file) { return ::unzClose(file); }

int unzGetGlobalInfo(unzFile file, unz_global_info* info) {
    return ::unzGetGlobalInfo64(file, info);
}

int unzGoToFirstFile(unzFile file) { return ::unzGoToFirstFile(file); }

int unzGoToNextFile(unzFile file) { return ::unzGoToNextFile(file); }

int unzGetCurrentFileInfo(unzFile file, unz_file_info* info, char* fileName,
                          unsigned long fileNameBufferSize, void* extraField,
                          unsigned long extraFieldBufferSize, char* comment,
                          unsigned long commentBufferSize) {
    return ::unzGetCurrentFileInfo64(file, info, fileName, fileNameBufferSize, extraField,
                                     extraFieldBufferSize, comment, commentBufferSize);
}

int unzOpenCurrentFile(unzFile file) { return ::unzOpenCurrentFile(file); }

int unzReadCurrentFile(unzFile file, void* buf, unsigned len) {
    return ::unzReadCurrentFile(file, buf, len);
}

int unzCloseCurrentFile(unzFile file) { return ::unzCloseCurrentFile(file); }

}  // namespace engine
