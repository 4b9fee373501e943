#pragma once
// File access of the engine: resource root, search paths, reading and writing,
// the writable folder. Paths use "/"; a path is absolute when it begins with "/".
#include <string>
#include <vector>

#include "engine/base/Data.h"

namespace engine {

class FileUtils {
public:
    static FileUtils* getInstance();
    static void destroyInstance();

    // Resource root: relative search paths are resolved against it. Stored with a
    // trailing "/" when not empty.
    void setDefaultResourceRootPath(const std::string& path);
    const std::string& getDefaultResourceRootPath() const { return _defaultResRootPath; }

    // Search paths are stored resolved (relative ones prefixed with the resource
    // root) and with a trailing "/"; getSearchPaths returns that form, so a
    // get/modify/set round trip is stable. Duplicates are kept.
    void setSearchPaths(const std::vector<std::string>& paths);
    void addSearchPath(const std::string& path, bool front = false);
    const std::vector<std::string>& getSearchPaths() const { return _searchPaths; }

    // An absolute name is returned as given when it exists; a relative one is looked
    // up along the search paths (then the resource root) and the first existing file
    // or folder wins. Not found: "" (and a log line when popup notify is on).
    std::string fullPathForFilename(const std::string& filename) const;

    bool isFileExist(const std::string& filename) const;
    bool isDirectoryExist(const std::string& dirPath) const;
    bool isAbsolutePath(const std::string& path) const;

    std::string getStringFromFile(const std::string& filename) const;
    Data getDataFromFile(const std::string& filename) const;
    // Whole file in a malloc'd buffer the caller frees; nullptr (size 0) when missing.
    unsigned char* getFileData(const std::string& filename, const char* mode, ptrdiff_t* size) const;
    // Size in bytes, -1 when missing.
    long getFileSize(const std::string& filename) const;

    bool writeStringToFile(const std::string& text, const std::string& fullPath) const;
    bool writeDataToFile(const Data& data, const std::string& fullPath) const;

    // Writable folder, always with a trailing "/". Before anything sets it:
    // "$XDG_DATA_HOME/vexo-client/" or "~/.local/share/vexo-client/".
    std::string getWritablePath() const;
    void setWritablePath(const std::string& path);

    bool createDirectory(const std::string& path) const;   // with missing parents
    bool removeDirectory(const std::string& path) const;   // recursively
    bool removeFile(const std::string& path) const;
    bool renameFile(const std::string& oldFullPath, const std::string& newFullPath) const;
    bool renameFile(const std::string& dirPath, const std::string& oldName,
                    const std::string& newName) const;

    void setPopupNotify(bool notify) { _popupNotify = notify; }
    bool isPopupNotify() const { return _popupNotify; }

private:
    FileUtils() = default;
    std::string _defaultResRootPath;
    std::vector<std::string> _searchPaths;
    std::string _writablePath;
    bool _popupNotify = true;
};

}  // namespace engine
