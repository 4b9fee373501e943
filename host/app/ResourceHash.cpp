#include "host/app/ResourceHash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/Paths.h"
#include "updater/Md5.h"

namespace host {
namespace {

void toForwardSlashes(std::string& text) { std::replace(text.begin(), text.end(), '\\', '/'); }

bool isBelow(const std::string& resolved, const std::string& resolvedRoot) {
    const std::string prefix = resolvedRoot == "/" ? resolvedRoot : resolvedRoot + "/";
    return resolved.size() > prefix.size() && resolved.compare(0, prefix.size(), prefix) == 0;
}

// The whole content of a regular file of 1 to kResourceHashLimit bytes; false
// otherwise. The descriptor is checked, not the name, so a swap between the checks
// and the read changes nothing.
bool readBoundedRegularFile(const std::string& path, std::vector<unsigned char>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
              static_cast<unsigned long long>(st.st_size) <= kResourceHashLimit;
    if (ok) {
        // One byte more than the size found: a file that grew since reads too long.
        out.resize(static_cast<size_t>(st.st_size) + 1);
        size_t got = 0;
        while (got < out.size()) {
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            got += static_cast<size_t>(n);
        }
        ok = ok && got == static_cast<size_t>(st.st_size);
        out.resize(ok ? got : 0);
    }
    ::close(fd);
    return ok;
}

}  // namespace

std::string resourceFileMd5(std::string path, std::string root) {
    toForwardSlashes(path);
    toForwardSlashes(root);
    if (root.empty() || path.find('\0') != std::string::npos || path.find("/../") != std::string::npos ||
        path.compare(0, root.size(), root) != 0) {
        return {};
    }
    const std::string resolvedRoot = platform::realPath(root);
    const std::string resolved = platform::realPath(path);
    if (resolvedRoot.empty() || resolved.empty() || !isBelow(resolved, resolvedRoot)) return {};
    std::vector<unsigned char> bytes;
    if (!readBoundedRegularFile(resolved, bytes)) return {};
    return updater::md5Hex(bytes.data(), bytes.size(), false);
}

}  // namespace host
