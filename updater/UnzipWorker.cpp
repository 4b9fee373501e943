#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "updater/DebugLine.h"
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
        std::error_code ignored;
        std::filesystem::create_directories(s.resourcesDir, ignored);
        debugLine("unzip '%s' (luong rieng)", pkg.file.c_str());

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

        if (!unzipPackage(zipPath, s.resourcesDir, hooks)) {
            bool stopped = false;
            {
                std::lock_guard<std::mutex> lock(s.mutex);
                stopped = s.stop;
            }
            if (stopped) {
                debugLine("unzip '%s' bi huy giua chung", pkg.file.c_str());
                return;
            }
            ::unlink(zipPath.c_str());
            debugLine("unzip err: '%s'", pkg.file.c_str());
            s.reportError(3, pkg.file);
            return;
        }

        ::unlink(zipPath.c_str());
        s.recordUnzippedSerial(pkg.sn);
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
