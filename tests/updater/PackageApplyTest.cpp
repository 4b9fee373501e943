#include "updater/PackageApply.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace updater;
using testsupport::readFile;

namespace {

// A child installs package 102 over a cache of serial 101 and is killed at the k-th
// step, for every k until an install runs through. After the next start's recovery
// the files on disk are all of one serial, the one recorded, and the zip is gone
// exactly when its serial is recorded.
TEST(PackageApply, KilledAtAnyStepLeavesTheFilesOfTheRecordedSerial) {
    testsupport::TempDir dir;
    const ApplyPaths paths = ApplyPaths::under(dir.file("auc/"));
    int kills = 0;
    for (int k = 1; k < 50; ++k) {
        SCOPED_TRACE(k);
        fs::remove_all(dir.file("auc"));
        dir.write("auc/Resources/LocalResSignSn", "abc 101");
        dir.write("auc/Resources/BaseIncomplete", "1");
        for (const char* name : {"a.lua", "sub/b.lua", "kept.lua"}) dir.write(std::string("auc/Resources/") + name, "101");
        dir.write("auc/Downloads/p102.zip", "zip");

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int steps = 0;
            setApplyStepHook([&](const std::string&) {
                if (++steps == k) ::raise(SIGKILL);
            });
            if (!prepareStaging(paths)) ::_exit(2);
            for (const char* name : {"a.lua", "sub/b.lua", "sub/c/new.lua"}) dir.write(std::string("auc/.staging/") + name, "102");
            ::_exit(applyStagedPackage(paths, {"abc", 102, "p102.zip"}) == 0 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << status;

        recoverPackageApply(paths);
        const std::string serial = readFile(paths.resourcesDir + "LocalResSignSn");
        ASSERT_TRUE(serial == "abc 101" || serial == "abc 102") << serial;
        const bool installed = serial == "abc 102";
        const std::string expected = installed ? "102" : "101";
        EXPECT_EQ(readFile(paths.resourcesDir + "a.lua"), expected);
        EXPECT_EQ(readFile(paths.resourcesDir + "sub/b.lua"), expected);
        EXPECT_EQ(fs::exists(paths.resourcesDir + "sub/c/new.lua"), installed);
        EXPECT_EQ(readFile(paths.resourcesDir + "kept.lua"), "101");
        EXPECT_EQ(fs::exists(paths.resourcesDir + "BaseIncomplete"), !installed);
        EXPECT_EQ(fs::exists(paths.downloadsDir + "p102.zip"), !installed);
        EXPECT_FALSE(fs::exists(paths.stagingDir));
        EXPECT_FALSE(fs::exists(paths.recordFile));
        if (!killed) break;
        ++kills;
    }
    // The record, three moves, the serial, the zip and the clean-up.
    EXPECT_EQ(kills, 7);
}

// Whatever stands in the way of a staged file or folder is replaced, never followed.
TEST(PackageApply, ReplacesFilesFoldersAndLinksInTheWay) {
    testsupport::TempDir dir;
    const ApplyPaths paths = ApplyPaths::under(dir.file("auc/"));
    const std::string outside = dir.write("outside/x.lua", "outside");
    dir.write("auc/Resources/dir/x.lua", "old");         // a folder where a file goes
    dir.write("auc/Resources/file", "old");              // a file where a folder goes
    fs::create_directory_symlink(dir.file("outside"), dir.file("auc/Resources/link"));
    ASSERT_TRUE(prepareStaging(paths));
    dir.write("auc/.staging/dir", "new");
    dir.write("auc/.staging/file/y.lua", "new");
    dir.write("auc/.staging/link/x.lua", "new");
    ASSERT_EQ(applyStagedPackage(paths, {"abc", 0, "p.zip"}), 0);
    EXPECT_EQ(readFile(paths.resourcesDir + "dir"), "new");
    EXPECT_EQ(readFile(paths.resourcesDir + "file/y.lua"), "new");
    EXPECT_FALSE(fs::is_symlink(paths.resourcesDir + "link"));
    EXPECT_EQ(readFile(paths.resourcesDir + "link/x.lua"), "new");
    EXPECT_EQ(readFile(outside), "outside");
    EXPECT_FALSE(fs::exists(paths.resourcesDir + "LocalResSignSn"));   // sn 0 writes none
}

}  // namespace
