#include "engine/files/FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "engine/base/Log.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

std::mutex& instanceMutex() {
    static std::mutex m;
    return m;
}

FileUtils*& instanceSlot() {
    static FileUtils* instance = nullptr;
    return instance;
}

std::atomic<uint64_t> systemCalls{0};

// Every stat, lstat and open on a name goes through these, so that they are counted.
int statName(const std::string& path, struct stat* st) {
    systemCalls.fetch_add(1, std::memory_order_relaxed);
    return ::stat(path.c_str(), st);
}

int lstatName(const std::string& path, struct stat* st) {
    systemCalls.fetch_add(1, std::memory_order_relaxed);
    return ::lstat(path.c_str(), st);
}

int openName(const std::string& path, int flags) {
    systemCalls.fetch_add(1, std::memory_order_relaxed);
    return ::open(path.c_str(), flags);
}

enum class Kind { Missing, File, Directory, Other };

Kind kindOf(const std::string& path) {
    if (path.empty()) return Kind::Missing;
    struct stat st {};
    if (statName(path, &st) != 0) return Kind::Missing;
    if (S_ISREG(st.st_mode)) return Kind::File;
    if (S_ISDIR(st.st_mode)) return Kind::Directory;
    return Kind::Other;
}

std::string withTrailingSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

std::string errorText(int err) { return std::error_code(err, std::generic_category()).message(); }

// Reads a whole file into a malloc'd buffer. Folders and unreadable paths give
// nullptr; an empty file gives a valid buffer of size 0.
unsigned char* readWhole(const std::string& path, ptrdiff_t* outSize) {
    *outSize = 0;
    if (path.empty()) return nullptr;
    int fd = openName(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    // The reported size is a hint only: files that grow or report 0 (/proc) are
    // read to their end all the same.
    size_t capacity = st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 4096;
    auto* buffer = static_cast<unsigned char*>(std::malloc(capacity));
    size_t used = 0;
    while (buffer != nullptr) {
        if (used == capacity) {
            capacity *= 2;
            auto* grown = static_cast<unsigned char*>(std::realloc(buffer, capacity));
            if (grown == nullptr) {
                std::free(buffer);
                buffer = nullptr;
                break;
            }
            buffer = grown;
        }
        ssize_t n = ::read(fd, buffer + used, capacity - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::free(buffer);
            buffer = nullptr;
            break;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    if (buffer != nullptr) *outSize = static_cast<ptrdiff_t>(used);
    return buffer;
}

// Replaces the file at path all at once (see platform/AtomicFile.h): a reader never
// sees half a file, and a link at path is replaced rather than written through.
bool writeWhole(const std::string& path, const unsigned char* bytes, size_t size) {
    if (path.empty()) return false;
    static std::atomic<unsigned> sequence{0};
    const std::string temp = path + ".vexo-tmp-" + std::to_string(::getpid()) + "-" +
                             std::to_string(sequence.fetch_add(1));
    platform::AtomicFileWriter writer;
    if (writer.open(temp) && writer.write(bytes, size) && writer.commit(path)) return true;
    log("FileUtils: cannot write %s: %s", path.c_str(), errorText(writer.error()).c_str());
    return false;
}

// Names reach the system as C strings: a zero byte would silently cut the name and
// act on another file, so such names are refused outright.
bool acceptName(const char* operation, const std::string& name) {
    if (name.find('\0') == std::string::npos) return true;
    log("FileUtils::%s: refused a name holding a zero byte: %s", operation, name.c_str());
    return false;
}

// After a failed lstat: the name leads to nothing (not even through a file).
bool nothingThere() { return errno == ENOENT || errno == ENOTDIR; }

// The name of the thing removeDirectory acts on: trailing "/" and "/." are dropped,
// as they would make the system resolve a link standing at that name. "" when the
// last component is "." or ".." (or the name is the root), which is never removed.
std::string removalName(const std::string& path) {
    std::string name = path;
    for (;;) {
        if (name.size() > 1 && name.back() == '/') {
            name.pop_back();
        } else if (name.size() > 2 && name.ends_with("/.")) {
            name.resize(name.size() - 2);
        } else {
            break;
        }
    }
    const size_t slash = name.rfind('/');
    const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    if (last.empty() || last == "." || last == "..") return {};
    return name;
}

// Runs its function when the scope ends (forgetting the remembered names after a
// change on disk that may alter an answer, on every way out).
template <class F>
struct AtScopeEnd {
    F run;
    ~AtScopeEnd() { run(); }
};
template <class F>
AtScopeEnd(F) -> AtScopeEnd<F>;

}  // namespace

FileUtils* FileUtils::getInstance() {
    std::lock_guard<std::mutex> lock(instanceMutex());
    FileUtils*& slot = instanceSlot();
    if (slot == nullptr) slot = new FileUtils();
    return slot;
}

void FileUtils::destroyInstance() {
    std::lock_guard<std::mutex> lock(instanceMutex());
    FileUtils*& slot = instanceSlot();
    delete slot;
    slot = nullptr;
}

uint64_t FileUtils::fileSystemCallsForTesting() { return systemCalls.load(std::memory_order_relaxed); }

void FileUtils::purgeCachedEntries() { forgetResolved(); }

void FileUtils::forgetResolved() const {
    std::lock_guard<std::mutex> lock(_resolvedMutex);
    _resolved.clear();
    ++_resolvedGeneration;
}

void FileUtils::setDefaultResourceRootPath(const std::string& path) {
    if (!acceptName("setDefaultResourceRootPath", path)) return;
    _defaultResRootPath = withTrailingSlash(path);
    forgetResolved();
}

std::string FileUtils::resolveSearchPath(const std::string& path) const {
    if (path.empty()) return _defaultResRootPath;
    if (path[0] == '/') return withTrailingSlash(path);
    return withTrailingSlash(_defaultResRootPath + path);
}

void FileUtils::setSearchPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> resolved;
    resolved.reserve(paths.size());
    for (const auto& p : paths) {
        if (acceptName("setSearchPaths", p)) resolved.push_back(resolveSearchPath(p));
    }
    _searchPaths = std::move(resolved);
    forgetResolved();
}

void FileUtils::addSearchPath(const std::string& path, bool front) {
    if (!acceptName("addSearchPath", path)) return;
    std::string resolved = resolveSearchPath(path);
    if (front) {
        _searchPaths.insert(_searchPaths.begin(), std::move(resolved));
    } else {
        _searchPaths.push_back(std::move(resolved));
    }
    forgetResolved();
}

void FileUtils::setSearchResolutionsOrder(const std::vector<std::string>& order) {
    std::vector<std::string> stored;
    for (const auto& folder : order) {
        if (acceptName("setSearchResolutionsOrder", folder)) stored.push_back(folder.empty() ? folder : withTrailingSlash(folder));
    }
    if (std::find(stored.begin(), stored.end(), "") == stored.end()) stored.emplace_back();
    _resolutionsOrder = std::move(stored);
    forgetResolved();
}

void FileUtils::addSearchResolutionsOrder(const std::string& order, bool front) {
    if (!acceptName("addSearchResolutionsOrder", order) || order.empty()) return;
    std::string folder = withTrailingSlash(order);
    if (front) {
        _resolutionsOrder.insert(_resolutionsOrder.begin(), std::move(folder));
    } else {
        // Before the folder itself, which stays last.
        auto last = _resolutionsOrder.end();
        if (!_resolutionsOrder.empty() && _resolutionsOrder.back().empty()) --last;
        _resolutionsOrder.insert(last, std::move(folder));
    }
    forgetResolved();
}

std::string FileUtils::lookUp(const std::string& filename) const {
    if (filename.empty()) return {};
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(_resolvedMutex);
        if (auto found = _resolved.find(filename); found != _resolved.end()) return found->second;
        generation = _resolvedGeneration;
    }
    std::string full = search(filename);
    if (!full.empty()) {
        // A purge during the search may have made the answer stale: not remembered then.
        std::lock_guard<std::mutex> lock(_resolvedMutex);
        if (generation == _resolvedGeneration) _resolved.emplace(filename, full);
    }
    return full;
}

std::string FileUtils::search(const std::string& filename) const {
    if (filename[0] == '/') return kindOf(filename) != Kind::Missing ? filename : std::string();
    const size_t slash = filename.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : filename.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? filename : filename.substr(slash + 1);
    auto under = [&](const std::string& dir) -> std::string {
        for (const auto& resolution : _resolutionsOrder) {
            std::string candidate = dir + folder + resolution + file;
            if (kindOf(candidate) != Kind::Missing) return candidate;
        }
        return {};
    };
    for (const auto& dir : _searchPaths) {
        if (std::string found = under(dir); !found.empty()) return found;
    }
    return under(_defaultResRootPath);
}

std::vector<std::string> FileUtils::listFiles(const std::string& dirPath) const {
    std::vector<std::string> entries;
    if (!acceptName("listFiles", dirPath)) return entries;
    std::string dir = lookUp(dirPath);
    if (kindOf(dir) != Kind::Directory) return entries;
    dir = withTrailingSlash(dir);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        std::string path = dir + entry.path().filename().string();
        if (kindOf(path) == Kind::Directory) path += '/';
        entries.push_back(std::move(path));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string FileUtils::fullPathForFilename(const std::string& filename) const {
    if (!acceptName("fullPathForFilename", filename)) return {};
    std::string full = lookUp(filename);
    if (full.empty() && !filename.empty() && filename[0] != '/' && _popupNotify) {
        log("fullPathForFilename: No file found at %s. Possible missing file.", filename.c_str());
    }
    return full;
}

bool FileUtils::isFileExist(const std::string& filename) const {
    if (!acceptName("isFileExist", filename)) return false;
    return kindOf(lookUp(filename)) == Kind::File;
}

bool FileUtils::isDirectoryExist(const std::string& dirPath) const {
    if (dirPath.empty() || !acceptName("isDirectoryExist", dirPath)) return false;
    if (dirPath[0] == '/') return kindOf(dirPath) == Kind::Directory;
    for (const auto& dir : _searchPaths) {
        if (kindOf(dir + dirPath) == Kind::Directory) return true;
    }
    return kindOf(_defaultResRootPath + dirPath) == Kind::Directory;
}

bool FileUtils::isAbsolutePath(const std::string& path) const {
    return !path.empty() && path[0] == '/' && acceptName("isAbsolutePath", path);
}

std::string FileUtils::getStringFromFile(const std::string& filename) const {
    ptrdiff_t size = 0;
    unsigned char* bytes = readWhole(fullPathForFilename(filename), &size);
    if (bytes == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
    std::free(bytes);
    return text;
}

Data FileUtils::getDataFromFile(const std::string& filename) const {
    Data data;
    ptrdiff_t size = 0;
    unsigned char* bytes = readWhole(fullPathForFilename(filename), &size);
    if (bytes != nullptr) data.fastSet(bytes, size);
    return data;
}

unsigned char* FileUtils::getFileData(const std::string& filename, const char* /*mode*/,
                                      ptrdiff_t* size) const {
    ptrdiff_t read = 0;
    unsigned char* bytes = readWhole(fullPathForFilename(filename), &read);
    if (size != nullptr) *size = read;
    return bytes;
}

long FileUtils::getFileSize(const std::string& filename) const {
    std::string full = fullPathForFilename(filename);
    struct stat st {};
    if (full.empty() || statName(full, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<long>(st.st_size);
}

bool FileUtils::writeStringToFile(const std::string& text, const std::string& fullPath) const {
    if (!acceptName("writeStringToFile", fullPath)) return false;
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    return writeWhole(fullPath, reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

bool FileUtils::writeDataToFile(const Data& data, const std::string& fullPath) const {
    if (!acceptName("writeDataToFile", fullPath)) return false;
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    return writeWhole(fullPath, data.getBytes(), static_cast<size_t>(data.getSize()));
}

std::string FileUtils::getWritablePath() const {
    if (!_writablePath.empty()) return _writablePath;
    std::string home = platform::userDataHome();
    if (home.empty()) return "/tmp/vexo-client/";
    return withTrailingSlash(home) + "vexo-client/";
}

void FileUtils::setWritablePath(const std::string& path) {
    if (!acceptName("setWritablePath", path)) return;
    _writablePath = withTrailingSlash(path);
}

bool FileUtils::createDirectory(const std::string& path) const {
    if (path.empty() || !acceptName("createDirectory", path)) return false;
    if (kindOf(path) == Kind::Directory) return true;
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    // Every prefix ending before a "/" is a parent; existing ones fail harmlessly.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    ::mkdir(path.c_str(), 0755);
    return kindOf(path) == Kind::Directory;
}

bool FileUtils::removeDirectory(const std::string& path) const {
    if (path.empty() || !acceptName("removeDirectory", path)) return false;
    const std::string name = removalName(path);
    if (name.empty()) {
        log("FileUtils: refused to remove %s", path.c_str());
        return false;
    }
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    struct stat st {};
    if (lstatName(name, &st) != 0) return nothingThere();
    // A link goes as a link, whatever it points to.
    if (S_ISLNK(st.st_mode)) return ::unlink(name.c_str()) == 0;
    // A file under that name is not a folder: leave it alone.
    if (!S_ISDIR(st.st_mode)) return false;
    // remove_all never follows the links it meets below the folder.
    std::error_code ec;
    fs::remove_all(name, ec);
    if (ec) log("FileUtils: cannot remove %s: %s", name.c_str(), ec.message().c_str());
    return lstatName(name, &st) != 0 && nothingThere();
}

bool FileUtils::removeFile(const std::string& path) const {
    if (path.empty() || !acceptName("removeFile", path)) return false;
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    return ::unlink(path.c_str()) == 0;
}

bool FileUtils::renameFile(const std::string& oldFullPath, const std::string& newFullPath) const {
    if (oldFullPath.empty() || newFullPath.empty()) return false;
    if (!acceptName("renameFile", oldFullPath) || !acceptName("renameFile", newFullPath)) return false;
    const AtScopeEnd forget{[this] { forgetResolved(); }};
    if (std::rename(oldFullPath.c_str(), newFullPath.c_str()) != 0) {
        log("FileUtils: cannot rename %s to %s: %s", oldFullPath.c_str(), newFullPath.c_str(),
            errorText(errno).c_str());
        return false;
    }
    return true;
}

bool FileUtils::renameFile(const std::string& dirPath, const std::string& oldName,
                           const std::string& newName) const {
    std::string dir = withTrailingSlash(dirPath);
    return renameFile(dir + oldName, dir + newName);
}

}  // namespace engine
