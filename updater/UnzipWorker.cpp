#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "updater/DebugLine.h"
#include "updater/PackageApply.h"
#include "updater/ResUpdaterThreads.h"
#include "updater/ZipExtract.h"

namespace updater {

void unzipThread(std::shared_ptr<ResUpdaterState> state) {
    ResUpdaterState& s = *state;
    for (;;) {
        int k = 0;
        ResPackage pkg;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            const int n = static_cast<int>(s.packages.size());
            s.wake.wait(lock, [&] {
                return s.stop || s.unzippedCount >= n || s.states[s.unzippedCount] == kPackageDownloaded;
            });
            if (s.stop || s.unzippedCount >= n) return;
            k = s.unzippedCount;
            pkg = s.packages[k];
            s.entryDone = 0;
            s.entryTotal = 0;
        }

        const std::string zipPath = s.downloadsDir + pkg.file;
        const ApplyPaths paths = s.applyPaths();
        debugLine("unzip '%s' (luong rieng)", pkg.file.c_str());
        if (!prepareStaging(paths)) {
            const int err = errno;
            debugLine("can not create directory %s", paths.stagingDir.c_str());
            s.reportError(isDiskSpaceError(err) ? 0 : 3, isDiskSpaceError(err) ? kDiskFull : pkg.file);
            return;
        }

        UnzipHooks hooks;
        hooks.stopRequested = [&s] {
            std::lock_guard<std::mutex> lock(s.mutex);
            return s.stop;
        };
        hooks.entryProgress = [&s](int64_t done, int64_t total) {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.entryDone = static_cast<int>(std::min<int64_t>(done, INT_MAX));
            s.entryTotal = static_cast<int>(std::min<int64_t>(total, INT_MAX));
        };
        hooks.progressTick = [&s] { s.requestProgress(); };

        int diskError = 0;
        if (!unzipPackage(zipPath, paths.stagingDir, hooks, &diskError)) {
            discardStaging(paths);
            bool stopped = false;
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                stopped = s.stop;
            }
            if (stopped) {
                debugLine("unzip '%s' bi huy giua chung", pkg.file.c_str());
                return;
            }
            debugLine("unzip err: '%s'", pkg.file.c_str());
            if (isDiskSpaceError(diskError)) {
                // The package itself is sound: it stays for the run after space is freed.
                s.reportError(0, kDiskFull);
            } else {
                ::unlink(zipPath.c_str());
                s.reportError(3, pkg.file);
            }
            return;
        }

        std::string sign;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            sign = s.packagedSign;
        }
        if (const int failed = applyStagedPackage(paths, {sign, pkg.sn, pkg.file})) {
            debugLine("install '%s' failed: %s", pkg.file.c_str(), std::strerror(failed));
            s.reportError(isDiskSpaceError(failed) ? 0 : 3, isDiskSpaceError(failed) ? kDiskFull : pkg.file);
            return;
        }
        if (pkg.sn > 0) {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.localSn = pkg.sn;
        }
        bool last = false;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.unzippedBytes += pkg.size;
            s.states[k] = kPackageUnzipped;
            s.unzippedCount = k + 1;
            s.entryDone = 0;
            s.entryTotal = 0;
            if (s.unzippedCount >= static_cast<int>(s.packages.size()) && !s.finished) {
                s.finished = true;
                last = true;
            }
        }
        s.requestProgress();
        if (last) {
            debugLine("update to sn %d", pkg.sn);
            s.post([](ResUpdaterState& st) {
                st.endRun([](ResUpdaterDelegate& delegate) { delegate.onSuccess(); });
            });
            return;
        }
    }
}

}  // namespace updater
