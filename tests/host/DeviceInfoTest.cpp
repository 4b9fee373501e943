#include "host/config/DeviceInfo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

using host::DeviceInfo;

TEST(DeviceInfoTest, LanguageFromTheLocaleVariables) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "vi_VN.UTF-8", "vi-VN"},
        {nullptr, nullptr, "de_DE@euro", "de-DE"},
        {nullptr, nullptr, "fr", "fr"},
        {nullptr, nullptr, "es_419.UTF-8", "es-419"},
        {nullptr, nullptr, "EN_us", "en-US"},
        {nullptr, nullptr, "fil_PH", "fil-PH"},
        {"ja_JP.UTF-8", "ko_KR", "vi_VN", "ja-JP"},
        {"", "ko_KR.UTF-8", "vi_VN", "ko-KR"},
        {nullptr, nullptr, nullptr, "en"},
        {nullptr, nullptr, "C", "en"},
        {nullptr, nullptr, "C.UTF-8", "en"},
        {nullptr, nullptr, "POSIX", "en"},
        {nullptr, nullptr, "x", "en"},
        {nullptr, nullptr, "vi_", "en"},
        {nullptr, nullptr, "vi_VNM", "en"},
        {nullptr, nullptr, "v1_VN", "en"},
        {nullptr, nullptr, "_VN", "en"},
    };
    auto set = [](const char* name, const char* value) {
        if (value) setenv(name, value, 1); else unsetenv(name);
    };
    for (const Case& c : cases) {
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_EQ(DeviceInfo::languageFromEnvironment(), c.expected) << (c.lang ? c.lang : "(unset)");
    }
}

// A fake /sys/class/net.
struct Interface {
    const char* name;
    int ifindex;
    const char* type;
    const char* address;
    bool device;
    bool wireless;
};

std::string makeNetRoot(const testsupport::TempDir& dir, const std::vector<Interface>& interfaces) {
    for (const Interface& i : interfaces) {
        const std::string base = std::string("net/") + i.name + "/";
        dir.write(base + "ifindex", std::to_string(i.ifindex) + "\n");
        dir.write(base + "type", std::string(i.type) + "\n");
        dir.write(base + "address", std::string(i.address) + "\n");
        if (i.device) dir.write(base + "device/uevent", "");
        if (i.wireless) dir.write(base + "wireless/.keep", "");
    }
    ::mkdir(dir.file("net").c_str(), 0755);
    return dir.file("net");
}

TEST(DeviceInfoTest, UserIdentifierFromTheFirstWiredEthernetAdapter) {
    const Interface lo{"lo", 1, "772", "00:00:00:00:00:00", false, false};
    const Interface wifi{"wlp2s0", 2, "1", "a0:b1:c2:d3:e4:f5", true, true};
    const Interface eth3{"enp3s0", 3, "1", "00:1a:2b:3c:4d:5e", true, false};
    const Interface eth9{"eno1", 9, "1", "66:77:88:99:aa:bb", true, false};
    const Interface bridge{"br0", 4, "1", "02:42:ac:11:00:01", false, false};
    const Interface odd{"ib0", 5, "1", "80:00:02:08:fe:80:00:00:00:00", true, false};
    struct Case {
        const char* what;
        std::vector<Interface> interfaces;
        const char* expected;
    };
    const Case cases[] = {
        {"wireless only", {lo, wifi}, "guid-fixed-1234567890"},
        {"two Ethernet: lowest ifindex", {eth9, lo, eth3, wifi}, "00-1A-2B-3C-4D-5E"},
        {"virtual only", {lo, bridge}, "guid-fixed-1234567890"},
        {"address not 6 bytes", {odd, eth9}, "66-77-88-99-AA-BB"},
        {"none", {}, "guid-fixed-1234567890"},
    };
    for (const Case& c : cases) {
        testsupport::TempDir dir;
        EXPECT_EQ(DeviceInfo::userGuidFromNetworkRoot(makeNetRoot(dir, c.interfaces)), c.expected) << c.what;
    }
    EXPECT_EQ(DeviceInfo::userGuidFromNetworkRoot("/nonexistent/net"), "guid-fixed-1234567890");
}

TEST(DeviceInfoTest, SingletonReadsOnceAndKeepsItsValues) {
    setenv("LC_ALL", "vi_VN.UTF-8", 1);
    DeviceInfo* info = DeviceInfo::getInstance();
    const std::string guid = info->getUserGUID();
    EXPECT_EQ(info->getLanguage(), "vi-VN");
    EXPECT_FALSE(guid.empty());
    setenv("LC_ALL", "de_DE", 1);
    EXPECT_EQ(DeviceInfo::getInstance(), info);
    EXPECT_EQ(info->getLanguage(), "vi-VN");
    EXPECT_EQ(info->getUserGUID(), guid);
}

}  // namespace
