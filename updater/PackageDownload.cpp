#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/network/CurlSetup.h"
#include "engine/network/HttpClient.h"
#include "updater/DebugLine.h"
#include "updater/Md5.h"
#include "updater/PatchRoute.h"
#include "updater/ResUpdaterThreads.h"

namespace updater {
namespace {

constexpr long kLowSpeedLimit = 1024;   // bytes per second ...
constexpr long kLowSpeedTime = 20;      // ... for this many seconds aborts a transfer
constexpr size_t kFileBuffer = 256 * 1024;

// Size of a file; 0 when it does not exist.
int64_t fileSize(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return 0;
    return static_cast<int64_t>(st.st_size);
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool stopRequested(ResUpdaterState& state) {
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.stop;
}

// A package file is verified when its MD5 matches the list's (either case) and,
// for a fresh download, its length is the listed size.
bool digestMatches(const std::string& path, const std::string& md5) {
    const std::string digest = md5HexFile(path, true);
    return !digest.empty() && md5Equal(digest, md5);
}

struct Transfer {
    ResUpdaterState* state;
    int index;
    std::FILE* file;
    int64_t room;           // bytes the package still lacks
    bool overlong = false;  // the body went past the listed size
    int writeError = 0;     // errno of a failed write to the file
};

// A body longer than the listed size is cut there and fails the transfer.
size_t writeToFile(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (static_cast<uint64_t>(n) > static_cast<uint64_t>(std::max<int64_t>(transfer->room, 0))) {
        transfer->overlong = true;
        return 0;
    }
    errno = 0;
    const size_t written = std::fwrite(data, 1, n, transfer->file);
    if (written != n) transfer->writeError = errno ? errno : EIO;
    transfer->room -= static_cast<int64_t>(written);
    return written;
}

// Bytes of this transfer so far; a non-zero answer (the run stopped) aborts it.
int onTransferProgress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    ResUpdaterState& s = *transfer->state;
    bool stop = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.doneBytes[transfer->index] = s.resumeBase[transfer->index] + static_cast<int64_t>(dlnow);
        stop = s.stop;
    }
    s.requestProgress();
    return stop ? 1 : 0;
}

struct CurlCloser {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

}  // namespace

void downloadWorker(std::shared_ptr<ResUpdaterState> state) {
    ResUpdaterState& s = *state;
    for (;;) {
        int i = 0;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            if (s.stop || s.nextDownload >= static_cast<int>(s.packages.size())) break;
            i = s.nextDownload++;
            s.states[i] = kPackageDownloading;
        }
        if (!downloadPackage(s, i)) break;   // the package stays "downloading"
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.states[i] = kPackageDownloaded;
        }
        s.wake.notify_all();
        s.requestProgress();
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    --s.activeWorkers;
}

bool downloadPackage(ResUpdaterState& s, int i) {
    ResPackage pkg;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        pkg = s.packages[i];
    }
    const std::string url = s.baseUrl + pkg.file;
    const std::string path = s.downloadsDir + pkg.file;
    const std::string temp = path + ".temp";

    // A verified file left by an earlier run is used as it is, whatever its length.
    if (fileExists(path)) {
        if (fileSize(path) > 0 && digestMatches(path, pkg.md5)) {
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                s.doneBytes[i] = pkg.size;
            }
            debugLine("reuse '%s' (md5 ok, khoi tai lai)", pkg.file.c_str());
            return true;
        }
        ::unlink(path.c_str());
    }

    const std::vector<std::string> candidates = patchRouteCandidates(url);
    const std::string caBundle = engine::network::caBundlePath();
    int lastCode = 0;
    long lastStatus = 0;
    for (const std::string& candidate : candidates) {
        // A candidate gets a second attempt, from scratch, only after a resumed
        // attempt failed its checks or its range.
        for (int tries = 0; tries < 2;) {
            if (stopRequested(s)) return false;

            int64_t existing = fileSize(temp);
            if (existing >= pkg.size) {
                ::unlink(temp.c_str());
                existing = 0;
            }
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                s.resumeBase[i] = existing;
                s.doneBytes[i] = existing;
            }

            std::FILE* file = std::fopen(temp.c_str(), existing > 0 ? "abe" : "wbe");
            if (!file) {
                s.reportError(0, "");
                return false;
            }
            std::setvbuf(file, nullptr, _IOFBF, kFileBuffer);
            std::unique_ptr<CURL, CurlCloser> curl(curl_easy_init());
            if (!curl) {
                std::fclose(file);
                s.reportError(1, "curl init");
                return false;
            }

            Transfer transfer{&s, i, file, pkg.size - existing};
            CURL* c = curl.get();
            curl_easy_setopt(c, CURLOPT_URL, candidate.c_str());
            engine::network::applySocketRule(c);
            if (!caBundle.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, caBundle.c_str());
            curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeToFile);
            curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
            // A stated length beyond the whole package is refused before any byte.
            curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(pkg.size));
            curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onTransferProgress);
            curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
            curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
            curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(s.connectTimeoutSec));
            curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedLimit);
            curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kLowSpeedTime);
            curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
            curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 256L * 1024);
            if (existing > 0) curl_easy_setopt(c, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(existing));

            const CURLcode rc = curl_easy_perform(c);
            long status = 0;
            curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
            errno = 0;
            const bool written = std::fclose(file) == 0;
            if (!written && transfer.writeError == 0) transfer.writeError = errno ? errno : EIO;
            curl.reset();
            lastCode = static_cast<int>(rc);
            lastStatus = status;

            if (transfer.writeError != 0) {
                // The local disk failed, not the host: no other host can help. The
                // partial file goes, since its tail may be missing.
                ::unlink(temp.c_str());
                const bool full = isDiskSpaceError(transfer.writeError);
                debugLine("write '%s' failed: %s", temp.c_str(), std::strerror(transfer.writeError));
                s.reportError(0, full ? kDiskFull : "write failed");
                return false;
            }

            if (rc == CURLE_ABORTED_BY_CALLBACK) {
                // The run stopped. Bytes already here are kept for the next run to
                // resume; an attempt that got none leaves no empty ".temp" behind.
                if (fileSize(temp) == 0) ::unlink(temp.c_str());
                return false;
            }

            bool retrySameHost = false;
            if (transfer.overlong || rc == CURLE_FILESIZE_EXCEEDED) {
                // More bytes than listed: the package is corrupt.
                ::unlink(temp.c_str());
                debugLine("PATCH_ROUTE size/hash mismatch %s", candidate.c_str());
                retrySameHost = true;
            } else if (rc == CURLE_OK && (status == 200 || status == 206)) {
                if (written && fileSize(temp) == pkg.size && digestMatches(temp, pkg.md5)) {
                    if (std::rename(temp.c_str(), path.c_str()) != 0) {
                        s.reportError(0, "");
                        return false;
                    }
                    const int host = patchHostIndex(candidate);
                    if (host >= 0) patchRoutePreferred().exchange(host);
                    debugLine("PATCH_ROUTE verified %s", candidate.c_str());
                    return true;
                }
                ::unlink(temp.c_str());
                debugLine("PATCH_ROUTE size/hash mismatch %s", candidate.c_str());
                retrySameHost = true;
            } else {
                debugLine("PATCH_ROUTE failed EC:%d RC:%ld %s", static_cast<int>(rc), status,
                             candidate.c_str());
                if (rc == CURLE_RANGE_ERROR || status == 416) {
                    ::unlink(temp.c_str());
                    retrySameHost = true;
                } else if (status != 200 && status != 206) {
                    ::unlink(temp.c_str());
                }
                // A transfer that broke after a 200 or 206 keeps its ".temp": the
                // next attempt resumes it.
            }
            if (!retrySameHost || existing == 0) break;
            ++tries;
        }
    }

    char detail[96];
    std::snprintf(detail, sizeof detail, "patch domains failed: %d,%ld", lastCode, lastStatus);
    s.reportError(1, detail);
    return false;
}

}  // namespace updater
