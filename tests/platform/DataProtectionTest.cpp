#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/DataProtection.h"
#include "support/TestSupport.h"

using namespace platform;
using testsupport::EnvOverride;
using testsupport::TempDir;

namespace {

const std::string kEntropy = "RODI.ZOZ.login.v1";
const std::string kDescription = "VEXO login";

// A private user data home for each test.
class DataProtectionTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string home = dir.path() + "/data";
    EnvOverride xdg{"XDG_DATA_HOME", home};
    std::string keyPath = home + "/VEXO/dp.key";

    static mode_t modeOf(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }
    std::string protect(const std::string& plain) {
        std::string blob;
        EXPECT_TRUE(protectData(plain, kEntropy, kDescription, blob));
        return blob;
    }
};

TEST_F(DataProtectionTest, RoundTripAndBlobLayout) {
    EXPECT_EQ(dataProtectionKeyPath(), keyPath);
    for (const std::string plain : {std::string(), std::string("method=google\n"), std::string("a\0b", 3),
                                    std::string(5000, 'x')}) {
        const std::string blob = protect(plain);
        ASSERT_EQ(blob.size(), 1 + 12 + plain.size() + 16);
        EXPECT_EQ(blob[0], '\x01') << "format byte";
        if (plain.size() > 8) EXPECT_EQ(blob.find(plain), std::string::npos) << "text is not stored in clear";
        std::string back = "stale";
        ASSERT_TRUE(unprotectData(blob, kEntropy, kDescription, back));
        EXPECT_EQ(back, plain);
    }
    // A fresh nonce each time: the same text never gives the same blob.
    const std::string a = protect("same"), b = protect("same");
    EXPECT_NE(a.substr(1, 12), b.substr(1, 12));
    EXPECT_NE(a, b);
}

TEST_F(DataProtectionTest, FirstProtectionMakesAPrivateKeyThatIsNeverReplaced) {
    std::string plain;
    EXPECT_FALSE(unprotectData(std::string(40, '\x01'), kEntropy, kDescription, plain));
    EXPECT_FALSE(std::filesystem::exists(home)) << "unprotection never makes a key";

    const std::string blob = protect("secret");
    EXPECT_EQ(modeOf(home), 0700u);
    EXPECT_EQ(modeOf(home + "/VEXO"), 0700u);
    EXPECT_EQ(modeOf(keyPath), 0600u);
    const std::string key = testsupport::readFile(keyPath);
    EXPECT_EQ(key.size(), 32u);

    protect("again");
    EXPECT_EQ(testsupport::readFile(keyPath), key);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home + "/VEXO"))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"dp.key"}) << "no temporary left beside the key";

    // An existing folder keeps its own mode.
    TempDir other;
    ASSERT_EQ(chmod(other.path().c_str(), 0755), 0);
    EnvOverride otherHome("XDG_DATA_HOME", other.path());
    protect("x");
    EXPECT_EQ(modeOf(other.path()), 0755u);
    EXPECT_EQ(modeOf(other.path() + "/VEXO"), 0700u);
}

TEST_F(DataProtectionTest, UnusableKeyOrHomeFailsProtection) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"short key file", [&] { dir.write("data/VEXO/dp.key", std::string(31, 'k')); }},
        {"long key file", [&] { dir.write("data/VEXO/dp.key", std::string(33, 'k')); }},
        {"empty key file", [&] { dir.write("data/VEXO/dp.key", ""); }},
        {"key path is a folder", [&] { std::filesystem::create_directories(keyPath); }},
        {"key path is a link", [&] {
             dir.write("elsewhere.key", std::string(32, 'k'));
             std::filesystem::create_directories(home + "/VEXO");
             std::filesystem::create_symlink(dir.file("elsewhere.key"), keyPath);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(home);
        c.arrange();
        std::string blob = "old";
        EXPECT_FALSE(protectData("x", kEntropy, kDescription, blob));
        EXPECT_TRUE(blob.empty());
    }

    std::filesystem::remove_all(home);
    EnvOverride noXdg("XDG_DATA_HOME", "relative/data");
    EnvOverride noHome("HOME", std::nullopt);
    EXPECT_EQ(dataProtectionKeyPath(), "");
    std::string blob;
    EXPECT_FALSE(protectData("x", kEntropy, kDescription, blob));
}

TEST_F(DataProtectionTest, AnyChangeOrOtherKeyFailsTheTag) {
    const std::string blob = protect("method=telegram\ntg_rt=abc\n");
    auto flipped = [&](size_t at) {
        std::string b = blob;
        b[at] = static_cast<char>(b[at] ^ 0x20);
        return b;
    };
    struct Case {
        const char* name;
        std::string blob, entropy, description;
    };
    const Case cases[] = {
        {"format byte", flipped(0), kEntropy, kDescription},
        {"nonce", flipped(5), kEntropy, kDescription},
        {"cipher text", flipped(14), kEntropy, kDescription},
        {"tag", flipped(blob.size() - 1), kEntropy, kDescription},
        {"truncated", blob.substr(0, blob.size() - 1), kEntropy, kDescription},
        {"shorter than a tag", blob.substr(0, 28), kEntropy, kDescription},
        {"empty", "", kEntropy, kDescription},
        {"other entropy", blob, "RODI.ZOZ.login.v2", kDescription},
        {"other description", blob, kEntropy, "VEXO logon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string plain = "stale";
        EXPECT_FALSE(unprotectData(c.blob, c.entropy, c.description, plain));
        EXPECT_TRUE(plain.empty());
    }

    // Another user's (or machine's) key.
    dir.write("data/VEXO/dp.key", std::string(32, 'o'));
    std::string plain;
    EXPECT_FALSE(unprotectData(blob, kEntropy, kDescription, plain));
}

TEST_F(DataProtectionTest, RacingProcessesShareOneKey) {
    constexpr int kWriters = 6;
    std::vector<pid_t> children;
    for (int i = 0; i < kWriters; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string blob;
            const bool ok = protectData("writer " + std::to_string(i), kEntropy, kDescription, blob);
            dir.write("blob" + std::to_string(i), blob);
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < kWriters; ++i) {
        std::string plain;
        EXPECT_TRUE(unprotectData(testsupport::readFile(dir.file("blob" + std::to_string(i))), kEntropy,
                                  kDescription, plain));
        EXPECT_EQ(plain, "writer " + std::to_string(i));
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(home + "/VEXO")) ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
