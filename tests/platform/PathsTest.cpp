#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/Paths.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {

TEST(PathsTest, ExecutablePathNamesThisTestProgram) {
    std::string path = executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    char resolved[PATH_MAX];
    ASSERT_NE(realpath("/proc/self/exe", resolved), nullptr);
    EXPECT_EQ(path, resolved);
    EXPECT_EQ(executableDir() + "/" + path.substr(path.rfind('/') + 1), path);
    EXPECT_NE(executableDir().back(), '/');
}

std::string realPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

TEST(PathsTest, CurrentDirectoryFollowsSetCurrentDirectory) {
    const std::string original = currentDirectory();
    ASSERT_FALSE(original.empty());
    {
        testsupport::TempDir dir;
        ASSERT_TRUE(setCurrentDirectory(dir.path()));
        EXPECT_EQ(currentDirectory(), realPath(dir.path()));
        EXPECT_FALSE(setCurrentDirectory(dir.path() + "/missing"));
        EXPECT_FALSE(setCurrentDirectory(""));
        EXPECT_EQ(currentDirectory(), realPath(dir.path())) << "a failed change keeps the folder";
        ASSERT_TRUE(setCurrentDirectory(original));
    }
    EXPECT_EQ(currentDirectory(), original);
}

TEST(PathsTest, UserDataHome) {
    using Opt = std::optional<std::string>;
    struct Case {
        Opt xdg, home;
        std::string expected;
    };
    const Case cases[] = {
        {"/data/xdg", "/home/u", "/data/xdg"},
        {"/data/xdg/", "/home/u", "/data/xdg"},
        {"", "/home/u", "/home/u/.local/share"},
        {"relative/xdg", "/home/u", "/home/u/.local/share"},
        {std::nullopt, "/home/u/", "/home/u/.local/share"},
        {std::nullopt, "/", "/.local/share"},
        {std::nullopt, "", ""},
        {std::nullopt, "relative", ""},
        {std::nullopt, std::nullopt, ""},
        {"/only/xdg", std::nullopt, "/only/xdg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("XDG_DATA_HOME=" + c.xdg.value_or("<unset>") + " HOME=" + c.home.value_or("<unset>"));
        testsupport::EnvOverride xdg("XDG_DATA_HOME", c.xdg);
        testsupport::EnvOverride home("HOME", c.home);
        EXPECT_EQ(userDataHome(), c.expected);
    }
}

}  // namespace
