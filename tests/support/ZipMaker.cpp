#include "support/ZipMaker.h"

#include <minizip/zip.h>

#include "support/TestSupport.h"

namespace testsupport {

std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
    TempDir scratch;
    const std::string path = scratch.file("p.zip");
    zipFile zf = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    for (const auto& [name, content] : entries) {
        zip_fileinfo info{};
        zipOpenNewFileInZip64(zf, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, 0);
        zipWriteInFileInZip(zf, content.data(), static_cast<unsigned>(content.size()));
        zipCloseFileInZip(zf);
    }
    zipClose(zf, nullptr);
    return readFile(path);
}

}  // namespace testsupport
