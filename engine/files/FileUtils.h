#pragma once
// File access of the engine: resource root, search paths, reading and writing,
// the writable folder. Paths use "/"; a path is absolute when it begins with "/".
// The resource root, search paths, writable path and popup flag are set on the main
// thread (normally at start-up); the operations that take full paths touch none of
// them and may be called from any thread.
// Resolved names are remembered: a name found once is answered from memory until the
// resource root, the search paths or the resolution order change, a file or folder is
// written, created, renamed or removed through this class, or purgeCachedEntries is
// called. Names not found are not remembered (a file that appears later is found).
// The memory is under a mutex: any thread may read through it, write or purge.
// Every operation that takes a name refuses one holding a zero byte (it would reach
// the system cut short, naming another file): it logs a line and answers false, ""
// or nothing, and setters keep their previous value (setSearchPaths drops such
// entries).
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
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

    // Resolution folders ("hd/", "sd/"...), tried in order inside each search path
    // between the name's folder part and its file part: "ui/ok.png" under search
    // path P with order {"hd", ""} is P + "ui/hd/ok.png", then P + "ui/ok.png".
    // Stored with a trailing "/"; "" (the folder itself) is always there, last
    // unless placed otherwise, and is the whole order by default.
    void setSearchResolutionsOrder(const std::vector<std::string>& order);
    void addSearchResolutionsOrder(const std::string& order, bool front = false);
    const std::vector<std::string>& getSearchResolutionsOrder() const { return _resolutionsOrder; }

    // An absolute name is returned as given when it exists; a relative one is looked
    // up along the search paths (then the resource root), each with every resolution
    // folder, and the first existing file or folder wins. Not found: "" (and, for a
    // relative name, a log line when popup notify is on).
    std::string fullPathForFilename(const std::string& filename) const;

    // Forgets remembered name lookups, for callers that changed files on disk by
    // other means than this class. Any thread.
    void purgeCachedEntries();

    bool isFileExist(const std::string& filename) const;
    bool isDirectoryExist(const std::string& dirPath) const;
    bool isAbsolutePath(const std::string& path) const;

    std::string getStringFromFile(const std::string& filename) const;
    Data getDataFromFile(const std::string& filename) const;
    // Whole file in a malloc'd buffer the caller frees; nullptr (size 0) when missing.
    // An empty file gives a valid buffer of size 0. The mode is accepted for
    // compatibility: every file is read as bytes.
    unsigned char* getFileData(const std::string& filename, const char* mode, ptrdiff_t* size) const;
    // Size in bytes, -1 when missing.
    long getFileSize(const std::string& filename) const;

    // The file is replaced all at once through a temporary "<fullPath>.vexo-tmp-<pid>-<n>"
    // beside it, flushed to disk before the rename: readers see the old content or the
    // new, never a part, and a link at fullPath is replaced, not written through.
    bool writeStringToFile(const std::string& text, const std::string& fullPath) const;
    bool writeDataToFile(const Data& data, const std::string& fullPath) const;

    // Writable folder, always with a trailing "/". Before anything sets it (or after
    // it is set to ""): "$XDG_DATA_HOME/vexo-client/", "$HOME/.local/share/vexo-client/",
    // or "/tmp/vexo-client/" when neither variable is set.
    std::string getWritablePath() const;
    void setWritablePath(const std::string& path);

    // The full paths of the entries of a folder (found as fullPathForFilename finds
    // it), sorted, folders with a trailing "/"; "." and ".." are left out. Not a
    // folder: empty.
    std::vector<std::string> listFiles(const std::string& dirPath) const;

    bool createDirectory(const std::string& path) const;   // with missing parents; true if it exists
    // Recursively; true when nothing is left under that name. Links are never followed:
    // a link under the name (spelt "lnk", "lnk/" or "lnk/.") is removed as a link and
    // its target stays, and links met inside the folder go the same way. A file under
    // the name is not removed (false); a name whose last part is "..", or "." or "/"
    // themselves, is refused (false).
    bool removeDirectory(const std::string& path) const;
    bool removeFile(const std::string& path) const;
    // rename(2): an existing target file is replaced.
    bool renameFile(const std::string& oldFullPath, const std::string& newFullPath) const;
    bool renameFile(const std::string& dirPath, const std::string& oldName,
                    const std::string& newName) const;

    void setPopupNotify(bool notify) { _popupNotify = notify; }
    bool isPopupNotify() const { return _popupNotify; }

    // Test seam: how many stat/lstat/open calls this class has made, process-wide.
    static uint64_t fileSystemCallsForTesting();

private:
    FileUtils() = default;
    // A search path as stored: relative ones prefixed with the root, trailing "/".
    std::string resolveSearchPath(const std::string& path) const;
    // fullPathForFilename without the log line, answered from the remembered names
    // when it can be.
    std::string lookUp(const std::string& filename) const;
    void forgetResolved() const;
    // The search itself, on the disk.
    std::string search(const std::string& filename) const;

    std::string _defaultResRootPath;
    std::vector<std::string> _searchPaths;
    std::vector<std::string> _resolutionsOrder{""};
    std::string _writablePath;
    bool _popupNotify = true;
    // Name as given -> its full path; only names that were found.
    mutable std::mutex _resolvedMutex;
    mutable std::unordered_map<std::string, std::string> _resolved;
    mutable uint64_t _resolvedGeneration = 0;   // counts purges
};

}  // namespace engine
