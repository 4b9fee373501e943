#pragma once
// The engine's zip reader: minizip's reading interface under the engine's namespace.
// The calls keep minizip's shapes and result codes (UNZ_OK, UNZ_END_OF_LIST_OF_FILE,
// ...), but run on its 64-bit entry points, so entry counts, sizes and offsets are
// 64-bit and archives beyond 4 GiB (zip64) are read.
#include <minizip/unzip.h>

#include <string>

namespace engine {

using unzFile = ::unzFile;
using unz_global_info = ::unz_global_info64;
using unz_file_info = ::unz_file_info64;

// Opens a zip file for reading, positioned on its first entry; nullptr when the file
// is missing or is not a zip.
unzFile unzOpen(const char* path);
unzFile unzOpen(const std::string& path);
int unzClose(unzFile file);

int unzGetGlobalInfo(unzFile file, unz_global_info* info);

int unzGoToFirstFile(unzFile file);
// UNZ_END_OF_LIST_OF_FILE after the last entry.
int unzGoToNextFile(unzFile file);

// Information on the current entry. The name is NUL-terminated only when it is
// shorter than fileNameBufferSize (info->size_filename tells its full length).
int unzGetCurrentFileInfo(unzFile file, unz_file_info* info, char* fileName,
                          unsigned long fileNameBufferSize, void* extraField,
                          unsigned long extraFieldBufferSize, char* comment,
                          unsigned long commentBufferSize);

int unzOpenCurrentFile(unzFile file);
// Bytes read into buf, 0 at the end of the entry, below 0 on an error.
int unzReadCurrentFile(unzFile file, void* buf, unsigned len);
// UNZ_CRCERROR when the whole entry was read and its checksum does not match.
int unzCloseCurrentFile(unzFile file);

}  // namespace engine
